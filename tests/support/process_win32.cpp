#include <windows.h>

#include <string>

#include "runtime/path_text.h"
#include "support/process.h"
#include "support/temp_files.h"

namespace vantrel::test {
namespace {

// Console programs end their lines with CRLF here; the tests compare lines.
std::string SlurpLines(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  std::string lines(bytes.begin(), bytes.end());
  for (std::size_t at = lines.find("\r\n"); at != std::string::npos; at = lines.find("\r\n", at)) {
    lines.erase(at, 1);
  }
  return lines;
}

// One argument quoted as CommandLineToArgvW reads it back: backslashes double
// only where they precede a quote.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

HANDLE Inheritable(const fs::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

// The read-only attribute binds for every user, so `unprivileged` changes
// nothing here.
ProgramResult RunProgram(const std::vector<std::string>& arguments, bool) {
  std::wstring command_line;
  for (const std::string& argument : arguments) {
    if (!command_line.empty()) command_line.push_back(L' ');
    command_line += Quoted(PathFromUtf8(argument).native());
  }

  // Output goes to files rather than pipes, so a chatty program cannot block.
  TempDir folder;
  const fs::path out_path = folder / "out";
  const fs::path err_path = folder / "err";
  HANDLE in = Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = Inheritable(out_path, GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = Inheritable(err_path, GENERIC_WRITE, CREATE_ALWAYS);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  ProgramResult result;
  // Under a busy Wine server a start can fail now and then; nothing has run
  // when it does, so trying again is safe.
  DWORD start_error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &process)) {
      start_error = ERROR_SUCCESS;
      break;
    }
    start_error = GetLastError();
    Sleep(200);
  }
  if (start_error == ERROR_SUCCESS) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exit_code = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE handle : {in, out, err}) CloseHandle(handle);
  result.out = SlurpLines(out_path);
  result.err = SlurpLines(err_path);
  // Says why in the failure the test reports, rather than an empty stream.
  if (start_error != ERROR_SUCCESS) {
    result.err += "test harness: CreateProcessW failed with error " + std::to_string(start_error);
  }
  return result;
}

}  // namespace vantrel::test
