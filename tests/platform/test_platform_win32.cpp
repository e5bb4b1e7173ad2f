#include <windows.h>

#include <cstdlib>
#include <stdexcept>

#include "base/utf8_path.h"
#include "platform/test_platform.h"

namespace testplatform {
namespace {

std::wstring widen(const std::string& text) { return ecf::pathFromUtf8(text).wstring(); }
std::string narrow(const std::wstring& text) { return ecf::utf8FromPath(text); }

// One argument as the C runtime of the child splits it again: quoted, with the
// backslashes before a quote doubled.
std::wstring quoted(const std::wstring& argument) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

// This process's environment with `variables` set over it, as CreateProcessW takes it.
std::wstring environmentBlock(const Variables& variables) {
  std::wstring block;
  wchar_t* current = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = current; entry && *entry; entry += wcslen(entry) + 1) {
    const std::wstring assignment = entry;
    bool replaced = false;
    for (const auto& variable : variables) {
      const std::wstring prefix = widen(variable.first) + L"=";
      replaced = replaced || _wcsnicmp(assignment.c_str(), prefix.c_str(), prefix.size()) == 0;
    }
    if (!replaced) block += assignment + L'\0';
  }
  if (current) ::FreeEnvironmentStringsW(current);
  for (const auto& [name, value] : variables) block += widen(name + "=" + value) + L'\0';
  return block + L'\0';
}

}  // namespace

const char* const kDriverFileName = "DLLG2.dll";
const char* const kModuleFileName = "ecfmodule.dll";
const char* const kDeviceFile = "NUL";
const char* const kSystemLibrary = "kernel32.dll";
const char* const kSystemFunction = "GetTickCount";

std::filesystem::path makeScratchDirectory(const std::string& prefix) {
  const std::filesystem::path temporary = std::filesystem::temp_directory_path();
  for (unsigned attempt = 0;; ++attempt) {
    const std::string name = prefix + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(::GetTickCount()) + "-" + std::to_string(attempt);
    if (::CreateDirectoryW((temporary / name).c_str(), nullptr)) return temporary / name;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + name);
  }
}

unsigned long long fileIdentity(const std::filesystem::path& path) {
  const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const HANDLE file = ::CreateFileW(path.c_str(), 0, sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION information{};
  const bool known = ::GetFileInformationByHandle(file, &information);
  ::CloseHandle(file);
  if (!known) return 0;
  return (static_cast<unsigned long long>(information.nFileIndexHigh) << 32) |
         information.nFileIndexLow;
}

// Windows has no memory file system of its own.
std::filesystem::path makeMemoryScratchDirectory(const std::string& prefix) {
  return makeScratchDirectory(prefix);
}

void setEnvironment(const std::string& name, const std::string& value) {
  // Both the system's copy (children, the libraries' GetEnvironmentVariableW) and the C
  // runtime's (getenv).
  ::SetEnvironmentVariableW(widen(name).c_str(), widen(value).c_str());
  ::_wputenv_s(widen(name).c_str(), widen(value).c_str());
}

void unsetEnvironment(const std::string& name) {
  ::SetEnvironmentVariableW(widen(name).c_str(), nullptr);
  ::_wputenv_s(widen(name).c_str(), L"");
}

std::optional<std::string> environment(const std::string& name) {
  const std::wstring wideName = widen(name);
  const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
  value.resize(length);
  return narrow(value);
}

int processId() { return static_cast<int>(::GetCurrentProcessId()); }

std::string programFileName(const std::string& stem) { return stem + ".exe"; }

std::filesystem::path binDirectory() {
  if (const auto bin = environment("ECF_TEST_BIN")) return ecf::pathFromUtf8(*bin);
  return currentProgram().parent_path();
}

ProcessRun runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& directory, const Variables& variables) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) throw std::runtime_error("no pipe");
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  const HANDLE nothing = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &inheritable, OPEN_EXISTING, 0, nullptr);

  std::wstring commandLine = quoted(program.wstring());
  for (const std::string& arg : args) commandLine += L" " + quoted(widen(arg));
  std::wstring block = environmentBlock(variables);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nothing;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION child{};
  const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW,
                                        block.data(), directory.c_str(), &startup, &child);
  // The child holds its own copies; the output ends when the child's copies close.
  ::CloseHandle(writeEnd);
  if (nothing != INVALID_HANDLE_VALUE) ::CloseHandle(nothing);
  ProcessRun run;
  if (!started) {
    ::CloseHandle(readEnd);
    run.output = "cannot start " + narrow(program.wstring());
    return run;
  }
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    run.output.append(buffer, got);
  }
  ::CloseHandle(readEnd);
  ::WaitForSingleObject(child.hProcess, INFINITE);
  DWORD status = 1;
  ::GetExitCodeProcess(child.hProcess, &status);
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);
  run.status = static_cast<int>(status);
  return run;
}

std::filesystem::path currentProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void endAbruptly(int status) {
  ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(status));
  std::abort();  // not reached
}

}  // namespace testplatform
