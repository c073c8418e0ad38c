// Starts a program the way PVCS does: one exact command line, read as UTF-8 from a file, given
// to CreateProcessW. Waits for it (with a time limit) and writes its exit code, or "timeout",
// or "start failed <code>", to the result file.
//   PvcsStandIn.exe <command-line file> <result file> <time limit in ms>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string ReadAll(const wchar_t* path) {
  HANDLE file =
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

void WriteAll(const wchar_t* path, const std::string& text) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  std::string utf8 = ReadAll(argv[1]);
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::vector<wchar_t> commandLine(static_cast<size_t>(n) + 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), commandLine.data(),
                      n);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    WriteAll(argv[2], "start failed " + std::to_string(GetLastError()));
    return 1;
  }
  DWORD limit = static_cast<DWORD>(_wtoi(argv[3]));
  if (WaitForSingleObject(info.hProcess, limit) != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 99);
    WriteAll(argv[2], "timeout");
  } else {
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    WriteAll(argv[2], std::to_string(code));
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return 0;
}
