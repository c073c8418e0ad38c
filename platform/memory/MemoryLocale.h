// An in-memory locale: Windows-1252 as the ANSI code page, case-insensitive comparison by
// simple case folding, settable separators, clock and short date pattern, and the system's
// texts for the common error codes.
#pragma once

#include <cstdint>

#include "platform/Locale.h"

namespace velmora::platform {

class MemoryLocale : public ILocale {
 public:
  // Separators "." and ",", short date pattern dd.MM.yy, clock at 2025-01-15 10:00:00.000.
  MemoryLocale();

  // ILocale
  Text AnsiToText(const std::string& bytes) override;
  std::string TextToAnsi(const Text& text) override;
  bool EqualIgnoreCase(const Text& a, const Text& b) override;
  NumberSeparators Separators() override { return separators_; }
  LocalTime Now() override { return now_; }
  Text ShortDatePattern() override { return shortDatePattern_; }
  // Like FormatMessageW, the text ends with CR LF.
  Text SystemErrorText(uint32_t code) override;

  // Setup.
  void SetSeparators(NumberSeparators separators) { separators_ = separators; }
  void SetShortDatePattern(const Text& pattern) { shortDatePattern_ = pattern; }
  void SetNow(const LocalTime& now) { now_ = now; }
  // Moves the clock forward, carrying into seconds, minutes, hours, days, months and years.
  void Advance(int64_t milliseconds);

 private:
  NumberSeparators separators_;
  Text shortDatePattern_;
  LocalTime now_;
};

}  // namespace velmora::platform
