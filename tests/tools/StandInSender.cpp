// A stand-in comparison program that, like a program starting a DDE conversation through the
// shell, broadcasts a message with SendMessage to every top-level window while its caller
// waits for it: once before it is ready for input and once after. SendMessage returns only
// when every window has answered, so a caller that does not answer while it waits hangs here.
// Records its command line like the other stand-ins, and in "<program>.sent" one line per
// broadcast that came back. Between the two it creates the files named, one Windows path a line
// in UTF-8, in "<program>.take" (if there is one), as another program may while the comparison
// runs.
#include <windows.h>

#include "StandInRecord.h"

namespace {

std::wstring BesideProgram(const wchar_t* suffix) {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  return std::wstring(module) + suffix;
}

std::wstring SentRecordPath() {
  return BesideProgram(L".sent");
}

void TakeNames() {
  std::string list = ToolReadFile(BesideProgram(L".take").c_str());
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find('\n', start);
    if (end == std::string::npos) end = list.size();
    std::string line = list.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) ToolWriteFile(ToolWide(line).c_str(), "taken during the comparison");
    start = end + 1;
  }
}

void Broadcast(UINT message, const char* when, std::string& record) {
  SendMessageW(HWND_BROADCAST, message, 0, 0);
  record += std::string(when) + ": answered\n";
  ToolWriteFile(SentRecordPath().c_str(), record);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  StandInWriteRecord();
  std::string record;
  ToolWriteFile(SentRecordPath().c_str(), record);
  UINT message = RegisterWindowMessageW(L"VelmoraStandInBroadcast");
  Broadcast(message, "before ready", record);

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"VelmoraStandInSender";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Stand-in sender", WS_OVERLAPPEDWINDOW, 0, 0,
                                200, 100, nullptr, nullptr, instance, nullptr);
  // Ready for input once the loop below waits; the caller then waits for the end.
  SetTimer(window, 1, StandInLifetimeMs(300), nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) break;
    DispatchMessageW(&msg);
  }
  TakeNames();
  Broadcast(message, "while running", record);
  DestroyWindow(window);
  return 7;
}
