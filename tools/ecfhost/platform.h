// The host tool's calls into the operating system. One implementation per platform
// (platform_posix.cpp, platform_win32.cpp), chosen by the build.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace ecfhost::platform {

// The module's file name: what a host ships beside its program.
extern const char* const kModuleFileName;

// The program's arguments in UTF-8 (on Windows read from the wide command line, whatever
// the system's code page).
std::vector<std::string> arguments(int argc, char** argv);

// Standard output and error take the tool's UTF-8 bytes as they are: on Windows the
// console shows UTF-8 and line ends are not rewritten.
void prepareConsole();

// Whether standard input and output are both a terminal (a person can answer).
bool onTerminal();

// Sets a variable of this process's environment, seen by the libraries it loads.
void setEnvironment(const std::string& name, const std::string& value);

// The computer's local civil time at `when`.
std::tm localTime(std::time_t when);

}  // namespace ecfhost::platform
