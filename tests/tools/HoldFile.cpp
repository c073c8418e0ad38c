// Holds a file open the way Beyond Compare 3 keeps an archive open: reading, without sharing
// deletion. Waits up to <wait ms> for the file to appear, opens it, writes "<marker>.held",
// keeps it open for <hold ms>, closes it and writes "<marker>.released".
// Usage: HoldFile.exe <file> <hold ms> <marker> [wait ms]
#include <windows.h>

#include <string>

#include "ToolSupport.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const wchar_t* path = argv[1];
  DWORD holdMs = static_cast<DWORD>(_wtoi(argv[2]));
  std::wstring marker = argv[3];
  DWORD waitMs = argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 0;
  ULONGLONG deadline = GetTickCount64() + waitMs;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (;;) {
    file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetTickCount64() >= deadline) break;
    Sleep(10);
  }
  if (file == INVALID_HANDLE_VALUE) {
    ToolWriteFile((marker + L".failed").c_str(), std::to_string(GetLastError()));
    return 1;
  }
  ToolWriteFile((marker + L".held").c_str(), "held");
  Sleep(holdMs);
  CloseHandle(file);
  ToolWriteFile((marker + L".released").c_str(), "released");
  return 0;
}
