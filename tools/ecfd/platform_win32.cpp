#include <windows.h>

#include "base/utf8_path.h"
#include "platform.h"

namespace ecfd::platform {
namespace {

std::wstring widen(const std::string& text) { return ecf::pathFromUtf8(text).wstring(); }

}  // namespace

const char* const kModuleFileName = "ecfmodule.dll";

void setEnvironment(const std::string& name, const std::string& value) {
  ::SetEnvironmentVariableW(widen(name).c_str(), widen(value).c_str());
  // The C runtime's copy too: the libraries read it with getenv.
  ::_wputenv_s(widen(name).c_str(), widen(value).c_str());
}

bool createPrivateFile(const std::string& path, const std::string& contents, std::string& error) {
  // CREATE_NEW never opens an existing file or link; the file inherits the directory's
  // access list (the service account's own directory).
  HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "cannot create the file (error " + std::to_string(::GetLastError()) + ")";
    return false;
  }
  DWORD written = 0;
  const bool ok = ::WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written,
                              nullptr) != 0 &&
                  written == contents.size() && ::FlushFileBuffers(file) != 0;
  ::CloseHandle(file);
  if (!ok) {
    error = "cannot write the file";
    ::DeleteFileW(widen(path).c_str());
  }
  return ok;
}

bool isPrivateFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

void prepareConsole() {
  ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace ecfd::platform
