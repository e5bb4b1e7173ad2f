// The service's calls into the operating system. One implementation per platform
// (platform_posix.cpp, platform_win32.cpp), chosen by the build.
#pragma once

#include <string>

namespace ecfd::platform {

// The module's file name: what ships beside the program.
extern const char* const kModuleFileName;

// Sets a variable of this process's environment, seen by the libraries it loads.
void setEnvironment(const std::string& name, const std::string& value);

// Creates `path` exclusively (never through a link, never over an existing file), readable
// and writable by its owner only, holding `contents`. False with `error` on failure.
bool createPrivateFile(const std::string& path, const std::string& contents, std::string& error);

// Whether `path` is a regular file that only its owner can read (always true where the
// file system keeps no such modes).
bool isPrivateFile(const std::string& path);

// Standard output and error take UTF-8 as it is; each line reaches them at once.
void prepareConsole();

}  // namespace ecfd::platform
