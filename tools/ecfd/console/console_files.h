// The operator's console as files built into ecfd: the page, its style sheets and its
// script, looked up by the path a browser asks for.
#pragma once

#include <string_view>

namespace ecfd {

struct ConsoleFile {
  std::string_view path;         // "/console/index.html"
  std::string_view contentType;  // "text/html; charset=utf-8"
  std::string_view body;
};

// The file served at urlPath ("/" is the page itself; a query is ignored), or nullptr.
// Never touches the file system: the files live in the program.
const ConsoleFile* findConsoleFile(std::string_view urlPath);

// The Content-Security-Policy the console is served with: its own files only, no inline
// script or style, no frames, connections back to ecfd alone.
inline constexpr std::string_view kConsoleSecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

}  // namespace ecfd
