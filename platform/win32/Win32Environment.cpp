#include "platform/win32/Win32Environment.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace velmora::platform {

uint32_t Win32Environment::ExpandStrings(const Text& source, char16_t* buffer, uint32_t size) {
  return ExpandEnvironmentStringsW(Wide(source), Wide(buffer), size);
}

uint32_t Win32Environment::TempPath(uint32_t size, char16_t* buffer) {
  return GetTempPathW(size, Wide(buffer));
}

}  // namespace velmora::platform
