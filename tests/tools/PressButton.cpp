// Presses a button of another process's dialog window (an installer's page), the way a user
// clicks it: waits until a visible dialog whose title starts with the given text has that button
// enabled, then clicks it.
//   PressButton.exe <title start> <button id> <time limit in ms>
// Exit code 0 when the button was pressed, 1 when it was not found in time.
#include <windows.h>

#include <string>

#include "MessageBoxReader.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const std::wstring title = argv[1];
  const int id = _wtoi(argv[2]);
  const DWORD limit = static_cast<DWORD>(_wtoi(argv[3]));
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < limit) {
    for (HWND dialog : OtherProcessWindows(L"#32770")) {
      HWND button = GetDlgItem(dialog, id);
      if (TextOf(dialog).rfind(title, 0) == 0 && button && IsWindowEnabled(button)) {
        SendMessageW(button, BM_CLICK, 0, 0);
        return 0;
      }
    }
    Sleep(100);
  }
  return 1;
}
