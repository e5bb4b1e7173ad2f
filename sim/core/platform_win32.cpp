#include <windows.h>

#include "base/temporary_name.h"
#include "base/utf8_path.h"
#include "core/platform.h"
#include "core/system_message_win32.h"

namespace ecfsim::platform {
namespace {

std::string shown(const std::filesystem::path& path) { return ecf::utf8FromPath(path); }

bool writeAll(HANDLE file, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const std::size_t left = data.size() - done;
    const DWORD piece = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!::WriteFile(file, data.data() + done, piece, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// A reader of the state file (an editor, a scanner) may hold it open for a moment: the
// move is retried for about a second before the save fails.
bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to, DWORD& code) {
  for (int attempt = 0;; ++attempt) {
    if (::MoveFileExW(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    code = ::GetLastError();
    const bool busy = code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION;
    if (!busy || attempt == 20) return false;
    ::Sleep(50);
  }
}

// A new temporary file beside `target`, opened for writing; INVALID_HANDLE_VALUE with the
// error in GetLastError().
HANDLE createTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  const std::string prefix = ecf::temporaryPrefix(shown(target)) +
                             std::to_string(::GetCurrentProcessId()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = ecf::pathFromUtf8(prefix + ecf::randomSuffix());
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  ::SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

const bool kDeviceNamesReserved = true;

std::optional<std::filesystem::path> environmentPath(const char* name) {
  const std::wstring wideName(name, name + std::char_traits<char>::length(name));
  const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size <= 1) return std::nullopt;  // unset, or set to nothing
  std::wstring value(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  value.resize(length);
  return std::filesystem::path(value);
}

std::optional<std::filesystem::path> defaultStateRoot() {
  // Beside the host's data: an "ecfsim" folder in the host program's directory.
  std::wstring program(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (length == 0) return std::nullopt;
    if (length < program.size()) {
      program.resize(length);
      break;
    }
    program.resize(program.size() * 2);
  }
  return std::filesystem::path(program).parent_path() / "ecfsim";
}

bool FileLock::acquire(const std::filesystem::path& path, std::string& error) {
  release();
  heldElsewhere_ = false;
  // A link planted under the name is opened as itself and refused, as is a device.
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "arquivo recusado: " + shown(path) + ": " + systemMessage(::GetLastError());
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    ::CloseHandle(file);
    error = "arquivo recusado: " + shown(path) + ": não é um arquivo comum";
    return false;
  }
  OVERLAPPED start{};
  if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
    ::CloseHandle(file);
    heldElsewhere_ = true;
    error = "impressora em uso por outro processo";
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

void FileLock::release() {
  if (handle_ == -1) return;
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  OVERLAPPED start{};
  ::UnlockFileEx(file, 0, 1, 0, &start);
  ::CloseHandle(file);
  handle_ = -1;
}

bool replaceFile(const std::filesystem::path& target, const std::string& data, bool durable,
                 std::string& error) {
  std::filesystem::path temporary;
  const HANDLE file = createTemporary(target, temporary);
  if (file == INVALID_HANDLE_VALUE) {
    error = "não foi possível criar " + shown(temporary) + ": " + systemMessage(::GetLastError());
    return false;
  }
  const bool written = writeAll(file, data) && (!durable || ::FlushFileBuffers(file));
  const DWORD writeCode = ::GetLastError();
  const bool closed = ::CloseHandle(file);
  if (!written || !closed) {
    const std::string reason = systemMessage(written ? ::GetLastError() : writeCode);
    ::DeleteFileW(temporary.c_str());
    error = "falha ao gravar " + shown(temporary) + ": " + reason;
    return false;
  }
  DWORD code = 0;
  if (!moveOver(temporary, target, code)) {
    ::DeleteFileW(temporary.c_str());
    error = "falha ao substituir " + shown(target) + ": " + systemMessage(code);
    return false;
  }
  return true;
}

std::tm localTime(std::time_t when) {
  std::tm local{};
  ::localtime_s(&local, &when);
  return local;
}

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
  return text.empty() ? "erro " + std::to_string(code) : ecf::utf8FromPath(text);
}

}  // namespace ecfsim::platform
