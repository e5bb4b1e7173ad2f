// The printer's own files on Windows: the host directory's rules, so that nothing planted
// in the printer's directory redirects, hangs or floods it. Paths go through the
// wide-character API, so accented directories work whatever the system's code page.
#include <windows.h>

#include "base/utf8_path.h"
#include "core/printer_files.h"
#include "core/system_message_win32.h"

namespace ecfsim::platform {
namespace {

std::string refused(const std::filesystem::path& path, const std::string& why) {
  return "arquivo recusado: " + ecf::utf8FromPath(path) + ": " + why;
}

// What keeps an open handle from being the printer's own file: "" when nothing does. A
// link (reparse point) is opened as itself, so it shows here.
std::string unfit(HANDLE file, bool writing) {
  if (::GetFileType(file) != FILE_TYPE_DISK) return "não é um arquivo comum";
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return systemMessage(::GetLastError());
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return "é um link";
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return "não é um arquivo comum";
  if (writing && info.nNumberOfLinks > 1) return "o arquivo tem mais de um nome (link)";
  return "";
}

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

bool AppendHandle::open(const std::filesystem::path& path, std::string& error) {
  close();
  const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA | GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = refused(path, systemMessage(::GetLastError()));
    return false;
  }
  const std::string why = unfit(file, true);
  if (!why.empty()) {
    ::CloseHandle(file);
    error = refused(path, why);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  path_ = path;
  return true;
}

bool AppendHandle::write(const std::string& data, std::string& error) {
  LARGE_INTEGER end{};
  if (!::SetFilePointerEx(handleOf(handle_), LARGE_INTEGER{}, &end, FILE_END)) {
    error = "falha ao gravar " + ecf::utf8FromPath(path_) + ": " + systemMessage(::GetLastError());
    return false;
  }
  std::size_t done = 0;
  while (done < data.size()) {
    const std::size_t left = data.size() - done;
    const DWORD piece = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!::WriteFile(handleOf(handle_), data.data() + done, piece, &written, nullptr) ||
        written == 0) {
      error = "falha ao gravar " + ecf::utf8FromPath(path_) + ": " +
              systemMessage(::GetLastError());
      return false;
    }
    done += written;
  }
  return true;
}

bool AppendHandle::truncate(std::int64_t size, std::string& error) {
  LARGE_INTEGER at{};
  at.QuadPart = size;
  if (::SetFilePointerEx(handleOf(handle_), at, nullptr, FILE_BEGIN) &&
      ::SetEndOfFile(handleOf(handle_))) {
    return true;
  }
  error = "falha ao cortar " + ecf::utf8FromPath(path_) + ": " + systemMessage(::GetLastError());
  return false;
}

std::int64_t AppendHandle::size() const {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(handleOf(handle_), &size)) return 0;
  return size.QuadPart;
}

void AppendHandle::close() {
  if (handle_ == -1) return;
  ::CloseHandle(handleOf(handle_));
  handle_ = -1;
}

bool readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& data,
                     std::string& error) {
  data.clear();
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
    std::error_code ec;
    error = refused(path, std::filesystem::is_directory(path, ec) ? "não é um arquivo comum"
                                                                 : systemMessage(code));
    return false;
  }
  std::string failure = unfit(file, false);
  LARGE_INTEGER size{};
  if (failure.empty() && !::GetFileSizeEx(file, &size)) failure = systemMessage(::GetLastError());
  if (failure.empty() && static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    failure = std::to_string(size.QuadPart) + " bytes, mais que os " + std::to_string(maxBytes) +
              " que esse arquivo pode ter";
  }
  char buffer[64 * 1024];
  while (failure.empty()) {
    DWORD got = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      failure = systemMessage(::GetLastError());
      break;
    }
    if (got == 0) break;
    if (got > maxBytes - data.size()) {
      failure = "mais de " + std::to_string(maxBytes) + " bytes";
      break;
    }
    data.append(buffer, got);
  }
  ::CloseHandle(file);
  if (failure.empty()) return true;
  data.clear();
  error = refused(path, failure);
  return false;
}

}  // namespace ecfsim::platform
