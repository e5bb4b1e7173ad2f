// The world outside the module: clock, host directory, files, libraries, pauses.
// Nothing in the module reads the clock or touches the file system except through it.
#pragma once

#include <cstddef>
#include <string>

#include "ecf/datetime.h"

namespace ecf {

class Env {
 public:
  static constexpr std::size_t kDefaultReadLimit = 64 * 1024 * 1024;

  virtual ~Env() = default;

  virtual DateTime now() = 0;
  // The host directory (debug log, grand-total file), ending with the path separator.
  virtual std::string hostDirectory() = 0;

  // Something other than a directory is under the name (a file, a device, a link to one).
  virtual bool fileExists(const std::string& path) = 0;
  virtual bool directoryExists(const std::string& path) = 0;
  // Each returns false and fills `error` (when given) on failure.
  //
  // Files in the host directory are untrusted. Reading takes only a regular file (through
  // a link is fine) of at most `maxBytes`: a device or a huge file is refused, never read.
  virtual bool readFile(const std::string& path, std::string& contents, std::string* error,
                        std::size_t maxBytes = kDefaultReadLimit) = 0;
  // Appends to a regular file, creating it; never through a link, and never to a file
  // that has a second name (a hard link).
  virtual bool appendToFile(const std::string& path, const std::string& data,
                            std::string* error) = 0;
  // Writes a temporary file beside `path`, flushes it and renames it over `path`, so a
  // crash leaves either the old or the new file, never a mix. The temporary file gets a
  // new name of its own ("<path>.tmp-<process id>-<random>", created exclusively, never
  // through a link); temporary files of `path` left by a process that died are removed.
  virtual bool replaceFile(const std::string& path, const std::string& data,
                           std::string* error) = 0;
  virtual bool createDirectory(const std::string& path, std::string* error) = 0;

  // A library handle, or nullptr with `error` filled.
  virtual void* loadLibrary(const std::string& name, std::string* error) = 0;
  virtual void* findSymbol(void* library, const std::string& name) = 0;

  // A short pause between printer steps (count in tenths of a second).
  virtual void delay(int count) = 0;
  // Lets the host's user interface process its pending messages.
  virtual void processMessages() = 0;
};

// The real environment of this process. The host directory defaults to the directory of
// the running executable.
Env& realEnv();

char pathSeparator();
// `directory` followed by the separator when it lacks one; an empty directory stays empty.
std::string withTrailingSeparator(std::string directory);
std::string executableDirectory();
// The directory of the binary (program or shared library) that holds this code, with
// its separator; "" when it cannot be told.
std::string codeDirectory();

}  // namespace ecf
