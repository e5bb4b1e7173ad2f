// What every platform's environment shares.
#include "base/env.h"

namespace ecf {

std::string withTrailingSeparator(std::string directory) {
  // An empty directory stays empty (the working directory), never the root. "/" ends a
  // directory on every platform, Windows included.
  const bool ended = !directory.empty() &&
                     (directory.back() == pathSeparator() || directory.back() == '/');
  if (!directory.empty() && !ended) directory += pathSeparator();
  return directory;
}

}  // namespace ecf
