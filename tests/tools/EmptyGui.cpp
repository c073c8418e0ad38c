// An empty GUI program: the cost of starting any Windows program with a user interface, the
// yardstick for Velmora's own start-up. Like every such program it loads the window manager's
// library (user32) and has a message queue, but it does nothing with them.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  return 0;
}
