// The Windows program's entry and composition root: the real platform services handed to the
// core's program entry.
#include <windows.h>

#include "app/ProgramEntry.h"
#include "launch/BeyondCompareRun.h"
#include "platform/win32/Win32Platform.h"
#include "settings/SetupForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  velmora::platform::Win32Platform services;
  velmora::SetupDialog setup(services.platform);
  velmora::BeyondCompareRun comparison(services.platform);
  return velmora::ProgramMain(services.platform, setup, comparison);
}
