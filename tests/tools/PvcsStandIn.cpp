// Starts a program the way PVCS does: one exact command line, read as UTF-8 from a file, given
// to CreateProcessW. Waits for it (with a time limit) and writes its exit code, or "timeout",
// or "start failed <code>", to the result file. The program starts in the given folder, or in
// this one's current folder.
//   PvcsStandIn.exe <command-line file> <result file> <time limit in ms> [folder]
#include <windows.h>

#include <string>
#include <vector>

#include "ToolSupport.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  std::wstring text = ToolWide(ToolReadFile(argv[1]));
  std::vector<wchar_t> commandLine(text.begin(), text.end());
  commandLine.push_back(L'\0');

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  const wchar_t* folder = argc > 4 ? argv[4] : nullptr;
  // On a loaded machine Wine now and then fails a start with ERROR_INTERNAL_ERROR before the
  // program runs at all; that start is tried again. Every other refusal is the answer.
  BOOL started = FALSE;
  DWORD error = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) Sleep(500);
    started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder, &startup, &info);
    error = started ? 0 : GetLastError();
    if (error != ERROR_INTERNAL_ERROR) break;
  }
  if (!started) {
    ToolWriteFile(argv[2], "start failed " + std::to_string(error));
    return 1;
  }
  DWORD limit = static_cast<DWORD>(_wtoi(argv[3]));
  if (WaitForSingleObject(info.hProcess, limit) != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 99);
    ToolWriteFile(argv[2], "timeout");
  } else {
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    ToolWriteFile(argv[2], std::to_string(code));
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return 0;
}
