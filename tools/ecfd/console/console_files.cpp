#include "console_files.h"

#include <span>
#include <string>

#include "paper_tape.h"

namespace ecfd {
namespace detail {
std::span<const ConsoleFile> embeddedConsoleFiles();  // console_embedded.cpp, generated
}

namespace {

// The slips' style sheet is the tape renderer's own, so slips look the same here as on
// the host tool's tape page.
const ConsoleFile& slipStyleFile() {
  static const std::string& style = ecftape::slipStyle();
  static const ConsoleFile file{"/console/slip.css", "text/css; charset=utf-8", style};
  return file;
}

}  // namespace

const ConsoleFile* findConsoleFile(std::string_view urlPath) {
  urlPath = urlPath.substr(0, urlPath.find('?'));
  if (urlPath == "/" || urlPath == "/console" || urlPath == "/console/") {
    urlPath = "/console/index.html";
  }
  if (urlPath == slipStyleFile().path) return &slipStyleFile();
  for (const ConsoleFile& file : detail::embeddedConsoleFiles()) {
    if (file.path == urlPath) return &file;
  }
  return nullptr;
}

}  // namespace ecfd
