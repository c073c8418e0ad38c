#include "app/win32/helper/ModulePath.h"

#include <windows.h>

namespace velmora::helper {

std::wstring ModulePath() {
  // Paths may be longer than MAX_PATH: grow the buffer until the whole path fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD stored = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (stored == 0) return {};
    if (stored < buffer.size()) return buffer.substr(0, stored);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace velmora::helper
