// The user's locale through the Win32 API: ANSI code page, comparison, separators, clock,
// short date pattern and system error texts.
#pragma once

#include "platform/Locale.h"

namespace velmora::platform {

class Win32Locale : public ILocale {
 public:
  Text AnsiToText(const std::string& bytes) override;
  std::string TextToAnsi(const Text& text) override;
  bool EqualIgnoreCase(const Text& a, const Text& b) override;
  NumberSeparators Separators() override;
  LocalTime Now() override;
  Text ShortDatePattern() override;
  // Empty when the system has no text for the code.
  Text SystemErrorText(uint32_t code) override;
};

}  // namespace velmora::platform
