// Starts a program through the shell, as the setup dialog starts VelmoraHelper.exe, waits for
// it and ends with its exit code (or 1000 + the error when the shell cannot start it).
// Usage: ShellRun.exe <operation> <program> <parameters>
#include <windows.h>

#include <shellapi.h>

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = argv[1];
  info.lpFile = argv[2];
  info.lpParameters = argv[3];
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info) || info.hProcess == nullptr)
    return 1000 + static_cast<int>(GetLastError());
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
}
