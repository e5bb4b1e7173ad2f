#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "base/utf8_path.h"
#include "platform.h"

namespace ecfhost::platform {
namespace {

std::wstring widen(const std::string& text) { return ecf::pathFromUtf8(text).wstring(); }

bool isConsole(DWORD handle) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(handle), &mode) != 0;
}

}  // namespace

const char* const kModuleFileName = "ecfmodule.dll";

std::vector<std::string> arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> result;
  for (int i = 0; i < count; ++i) result.push_back(ecf::utf8FromPath(wide[i]));
  ::LocalFree(wide);
  return result;
}

void prepareConsole() {
  ::SetConsoleOutputCP(CP_UTF8);
  ::SetConsoleCP(CP_UTF8);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

bool onTerminal() { return isConsole(STD_INPUT_HANDLE) && isConsole(STD_OUTPUT_HANDLE); }

void setEnvironment(const std::string& name, const std::string& value) {
  ::SetEnvironmentVariableW(widen(name).c_str(), widen(value).c_str());
}

std::tm localTime(std::time_t when) {
  std::tm local{};
  ::localtime_s(&local, &when);
  return local;
}

}  // namespace ecfhost::platform
