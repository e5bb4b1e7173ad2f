// The real environment on Windows. The module's paths are UTF-8; every call that takes a
// path goes through the wide-character API with the path converted to UTF-16, so accented
// directories work whatever the system's code page.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <thread>

#include "base/env.h"
#include "base/temporary_name.h"
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

// A handle that names an ordinary file on a disk: not a device, a pipe, a directory or a
// link (reparse point) itself.
bool isRegularFile(HANDLE file) {
  if (::GetFileType(file) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return false;
  return (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

// Reads an open file that must be a regular one of at most `maxBytes`; "" on success,
// else what went wrong.
std::string readRegularFile(HANDLE file, const std::string& path, std::size_t maxBytes,
                            std::string& data) {
  if (!isRegularFile(file)) return "cannot read '" + path + "': not a regular file";
  const auto tooBig = [&](std::uint64_t size) {
    return "cannot read '" + path + "': " + std::to_string(size) + " bytes, more than the " +
           std::to_string(maxBytes) + " bytes such a file may have";
  };
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) {
    return "cannot read '" + path + "': " + systemMessage(::GetLastError());
  }
  if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    return tooBig(static_cast<std::uint64_t>(size.QuadPart));
  }
  data.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      return "cannot read '" + path + "': " + systemMessage(::GetLastError());
    }
    if (got == 0) return "";
    // The file may grow while it is read: the limit holds for what is read too.
    if (got > maxBytes - data.size()) return tooBig(data.size() + got);
    data.append(buffer, got);
  }
}


// A new temporary file beside `path`, opened for writing; INVALID_HANDLE_VALUE with the
// error in GetLastError().
HANDLE createTemporary(const std::string& path, std::string& temporary) {
  const std::string prefix =
      temporaryPrefix(path) + std::to_string(::GetCurrentProcessId()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = prefix + randomSuffix();
    const HANDLE file = ::CreateFileW(widen(temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  ::SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

// Whether a process of that id is certainly gone (not merely out of our reach).
bool processEnded(DWORD pid) {
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return ::GetLastError() == ERROR_INVALID_PARAMETER;
  const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  ::CloseHandle(process);
  return ended;
}

// A save cut short by a crash leaves its temporary file behind; left alone, they would
// pile up. Only files of processes that no longer run are removed: a live writer's file
// is its own business. A link is removed as a link, never followed.
void removeAbandonedTemporaries(const std::string& path) {
  const std::filesystem::path target = pathFromUtf8(path);
  const std::string prefix = utf8FromPath(target.filename()) + ".tmp-";
  std::error_code ec;
  const std::filesystem::path parent =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(L".");
  for (auto it = std::filesystem::directory_iterator(parent, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const auto owner =
        static_cast<DWORD>(ownerOfTemporary(utf8FromPath(it->path().filename()), prefix));
    if (owner == 0 || owner == ::GetCurrentProcessId() || !processEnded(owner)) continue;
    std::error_code typeError;
    const auto type = it->symlink_status(typeError).type();
    if (typeError) continue;
    using std::filesystem::file_type;
    if (type == file_type::regular || type == file_type::symlink) {
      ::DeleteFileW(it->path().c_str());
    }
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

  bool readFile(const std::string& path, std::string& contents, std::string* error,
                std::size_t maxBytes) override {
    const HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD code = ::GetLastError();
      // Windows refuses a directory as "access denied": it is told as any other non-file.
      if (directoryExists(path)) {
        return fail(error, "cannot read '" + path + "': not a regular file");
      }
      return failSystem(error, "cannot open", path, code);
    }
    std::string data;
    const std::string failure = readRegularFile(file, path, maxBytes, data);
    ::CloseHandle(file);
    if (!failure.empty()) return fail(error, failure);
    contents = std::move(data);
    return true;
  }

  bool appendToFile(const std::string& path, const std::string& data,
                    std::string* error) override {
    // Append-only access: every write lands at the end, whoever else writes the file. A
    // link planted under the name is opened as itself, never followed, and refused.
    const HANDLE file = ::CreateFileW(widen(path).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr);
    if (file == INVALID_HANDLE_VALUE) return failSystem(error, "cannot open", path);
    std::string failure;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!isRegularFile(file)) {
      failure = "cannot write '" + path + "': not a regular file";
    } else if (!::GetFileInformationByHandle(file, &info) || info.nNumberOfLinks > 1) {
      // A hard link planted under the name is a file elsewhere under a second name.
      failure = "cannot write '" + path + "': the file has more than one link";
    } else if (!writeAll(file, data)) {
      failure = "cannot write '" + path + "': " + systemMessage(::GetLastError());
    }
    ::CloseHandle(file);
    if (!failure.empty()) return fail(error, failure);
    return true;
  }

  bool replaceFile(const std::string& path, const std::string& data,
                   std::string* error) override {
    removeAbandonedTemporaries(path);
    std::string temporary;
    const HANDLE file = createTemporary(path, temporary);
    if (file == INVALID_HANDLE_VALUE) return failSystem(error, "cannot create", temporary);
    const std::wstring wideTemporary = widen(temporary);
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
