// The user's locale: ANSI code page, case-insensitive comparison, number separators, the
// local clock, the short date pattern and the system's texts for error codes.
#pragma once

#include <cstdint>
#include <string>

#include "support/Text.h"

namespace velmora::platform {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

struct NumberSeparators {
  char16_t decimal = u'.';
  char16_t thousands = u',';
};

class ILocale {
 public:
  virtual ~ILocale() = default;
  // MultiByteToWideChar with CP_ACP.
  virtual Text AnsiToText(const std::string& bytes) = 0;
  // WideCharToMultiByte with CP_ACP; characters the code page lacks become its default one.
  virtual std::string TextToAnsi(const Text& text) = 0;
  // CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE): true when equal.
  virtual bool EqualIgnoreCase(const Text& a, const Text& b) = 0;
  virtual NumberSeparators Separators() = 0;
  virtual LocalTime Now() = 0;
  // The user's short date pattern, such as dd.MM.yy.
  virtual Text ShortDatePattern() = 0;
  // FormatMessageW's text for a system error code.
  virtual Text SystemErrorText(uint32_t code) = 0;
};

}  // namespace velmora::platform
