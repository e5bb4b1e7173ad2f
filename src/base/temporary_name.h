// Names of the temporary files a replacement is written to before it takes the file's
// place: "<path>.tmp-<process id>-<random>", the same on every platform.
#pragma once

#include <cstdint>
#include <string>

namespace ecf {

// "<path>.tmp-": every temporary file of `path` starts so.
std::string temporaryPrefix(const std::string& path);

// Random enough that nobody can plant a file under the next temporary name; the
// exclusive creation is what guarantees the name was free.
std::string randomSuffix();

// The process id in a temporary name "<prefix><pid>[-<random>]", or 0.
std::uint64_t ownerOfTemporary(const std::string& name, const std::string& prefix);

}  // namespace ecf
