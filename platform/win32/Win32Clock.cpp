#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace velmora::platform {

void Win32Clock::Sleep(uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

}  // namespace velmora::platform
