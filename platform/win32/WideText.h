// Text is UTF-16 and so is wchar_t on Windows: the two are passed to the API as they are.
#pragma once

#include "support/Text.h"

namespace velmora::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16");

inline const wchar_t* Wide(const Text& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline wchar_t* Wide(char16_t* buffer) {
  return reinterpret_cast<wchar_t*>(buffer);
}
inline Text FromWide(const wchar_t* text) {
  return Text(reinterpret_cast<const char16_t*>(text));
}
inline Text FromWide(const wchar_t* text, size_t length) {
  return Text(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace velmora::platform
