// Conversions between the core's text and the Win32 API's wide strings.
#pragma once

#include <string>

#include "support/Text.h"

namespace velmora::platform {

// On Windows wchar_t is a UTF-16 code unit.
inline std::wstring Wide(const Text& text) {
  return std::wstring(text.begin(), text.end());
}
inline Text FromWide(const wchar_t* text, size_t length) {
  return Text(text, text + length);
}
inline Text FromWide(const std::wstring& text) {
  return Text(text.begin(), text.end());
}

}  // namespace velmora::platform
