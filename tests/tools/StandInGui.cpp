// A stand-in child program with a message loop: records its command line, becomes idle, and
// ends after a short while (VELMORA_STANDIN_MS, default 300) with exit code 7 (which its caller
// must ignore), or with the number in the file named like its program file with ".exitcode"
// appended.
#include <windows.h>

#include <string>

#include "StandInRecord.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  StandInWriteRecord();
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"VelmoraStandIn";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                100, nullptr, nullptr, instance, nullptr);
  SetTimer(window, 1, StandInLifetimeMs(300), nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) break;
    DispatchMessageW(&msg);
  }
  DestroyWindow(window);
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::string exitCode = ToolReadFile((std::wstring(module) + L".exitcode").c_str());
  return exitCode.empty() ? 7 : static_cast<int>(std::stoul(exitCode));
}
