// The real environment on Windows. The module's paths are UTF-8; every call that takes a
// path goes through the wide-character API with the path converted to UTF-16, so accented
// directories work whatever the system's code page.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "base/env.h"
#include "base/utf8_path.h"

namespace ecf {
namespace {

std::wstring widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  // Malformed bytes become U+FFFD rather than failing the whole conversion.
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string narrow(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr,
                                           nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

// The system's text for an error code, in UTF-8, without the trailing line break.
std::string systemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  return text.empty() ? "error " + std::to_string(code) : narrow(text);
}

bool fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

bool failSystem(std::string* error, const std::string& action, const std::string& path,
                DWORD code = ::GetLastError()) {
  return fail(error, action + " '" + path + "': " + systemMessage(code));
}

// The full path of a loaded binary (nullptr: the program), or "" when it cannot be told.
std::wstring modulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: a long path
  }
}

std::string directoryOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (path.empty() || slash == std::wstring::npos) return "";
  return withTrailingSeparator(narrow(path.substr(0, slash)));
}

DWORD attributes(const std::string& path) { return ::GetFileAttributesW(widen(path).c_str()); }

// Writes all of `data`, in pieces a DWORD can count.
bool writeAll(HANDLE file, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1 << 30));
    DWORD written = 0;
    if (!::WriteFile(file, data.data() + done, piece, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// Another program (an indexer, a virus scanner, a reader of the file) may hold the old
// file open for a moment; the replacement is retried for about a second before it fails.
bool moveOver(const std::wstring& from, const std::wstring& to, DWORD& code) {
  for (int attempt = 0;; ++attempt) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    code = ::GetLastError();
    const bool busy = code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION;
    if (!busy || attempt == 20) return false;
    ::Sleep(50);
  }
}

class Win32Env final : public Env {
 public:
  DateTime now() override {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return DateTime::fromParts(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                               local.wSecond, local.wMilliseconds);
  }

  std::string hostDirectory() override { return executableDirectory(); }

  bool fileExists(const std::string& path) override {
    const DWORD found = attributes(path);
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  bool directoryExists(const std::string& path) override {
    const DWORD found = attributes(path);
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  bool readFile(const std::string& path, std::string& contents, std::string* error) override {
    const HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD code = ::GetLastError();
      // Windows refuses a directory as "access denied"; the operator is told what it is.
      if (directoryExists(path)) return fail(error, "cannot read '" + path + "': Is a directory");
      return failSystem(error, "cannot open", path, code);
    }
    std::string data;
    char buffer[64 * 1024];
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
        const DWORD code = ::GetLastError();
        ::CloseHandle(file);
        return failSystem(error, "cannot read", path, code);
      }
      if (got == 0) break;
      data.append(buffer, got);
    }
    ::CloseHandle(file);
    contents = std::move(data);
    return true;
  }

  bool appendToFile(const std::string& path, const std::string& data,
                    std::string* error) override {
    // Append-only access: every write lands at the end, whoever else writes the file.
    const HANDLE file = ::CreateFileW(widen(path).c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failSystem(error, "cannot open", path);
    const bool written = writeAll(file, data);
    const DWORD code = ::GetLastError();
    ::CloseHandle(file);
    if (!written) return failSystem(error, "cannot write", path, code);
    return true;
  }

  bool replaceFile(const std::string& path, const std::string& data,
                   std::string* error) override {
    const std::string temporary = path + ".tmp-" + std::to_string(::GetCurrentProcessId());
    const std::wstring wideTemporary = widen(temporary);
    const HANDLE file = ::CreateFileW(wideTemporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failSystem(error, "cannot create", temporary);
    // The old file is only touched by the move, after the new content is on disk.
    std::string failure;
    if (!writeAll(file, data)) {
      failure = "cannot write '" + temporary + "': " + systemMessage(::GetLastError());
    } else if (!::FlushFileBuffers(file)) {
      failure = "cannot flush '" + temporary + "': " + systemMessage(::GetLastError());
    }
    ::CloseHandle(file);
    if (!failure.empty()) {
      ::DeleteFileW(wideTemporary.c_str());
      return fail(error, failure);
    }
    DWORD code = 0;
    if (!moveOver(wideTemporary, widen(path), code)) {
      ::DeleteFileW(wideTemporary.c_str());
      return failSystem(error, "cannot replace", path, code);
    }
    return true;
  }

  bool createDirectory(const std::string& path, std::string* error) override {
    std::error_code ec;
    std::filesystem::create_directories(pathFromUtf8(path), ec);
    if (ec) return fail(error, "cannot create directory '" + path + "': " + ec.message());
    if (!directoryExists(path)) {
      return fail(error, "cannot create directory '" + path + "': a file has that name");
    }
    return true;
  }

  void* loadLibrary(const std::string& name, std::string* error) override {
    // No system dialog box about a missing library: the caller reports the failure.
    DWORD previousMode = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE library = nullptr;
    const bool bare = name.find_first_of("\\/") == std::string::npos;
    // A bare name is looked for beside the module first (the driver shipped with it), then
    // in the standard search order; a path loads that file, with its own directory
    // searched for what it needs.
    const std::string beside = codeDirectory() + name;
    if (bare && !codeDirectory().empty() && fileExists(beside)) {
      library = ::LoadLibraryExW(widen(beside).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (library == nullptr && bare) library = ::LoadLibraryExW(widen(name).c_str(), nullptr, 0);
    if (library == nullptr && !bare) {
      // The altered search order is defined for full paths only.
      std::error_code ec;
      const std::filesystem::path full = std::filesystem::absolute(pathFromUtf8(name), ec);
      library = ::LoadLibraryExW(ec ? widen(name).c_str() : full.c_str(), nullptr,
                                 LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    const DWORD code = ::GetLastError();
    ::SetThreadErrorMode(previousMode, nullptr);
    if (library == nullptr) failSystem(error, "cannot load library", name, code);
    return reinterpret_cast<void*>(library);
  }

  void* findSymbol(void* library, const std::string& name) override {
    if (library == nullptr) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
  }

  void delay(int count) override {
    if (count > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100LL * count));
  }

  void processMessages() override {}
};

}  // namespace

Env& realEnv() {
  static Win32Env env;
  return env;
}

char pathSeparator() { return '\\'; }

std::string executableDirectory() {
  const std::string directory = directoryOf(modulePath(nullptr));
  return directory.empty() ? withTrailingSeparator(".") : directory;
}

std::string codeDirectory() {
  // The binary that holds this very function: the module when the module calls it.
  HMODULE self = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&codeDirectory), &self)) {
    return "";
  }
  return directoryOf(modulePath(self));
}

}  // namespace ecf
