// The process-wide date settings that date conversions use by default, and the start-up step
// that widens them to four-digit years.
#pragma once

#include <cstdint>

#include "platform/Locale.h"
#include "support/Text.h"

namespace velmora {

struct DateSettings {
  Text ShortDateFormat;  // y or Y: two letters for a two-digit year, four for four
  uint16_t TwoDigitYearCenturyWindow = 50;  // decides the century of years read with two digits
};

// The process-wide settings; one thread uses them, so they are not locked.
DateSettings& ProcessDateSettings();

// Takes the short date pattern from the user's locale and sets the window to 50.
void LoadDateSettings(platform::ILocale& locale);

// The pattern with its first two-letter year doubled in place (dd.MM.yy becomes dd.MM.yyyy),
// unchanged when it already has a four-letter year or no year.
Text WidenYear(const Text& pattern);

// The start-up step: widens ShortDateFormat and, before the year 2020, narrows the window to 20.
void AdjustDateFormat(platform::ILocale& locale);

// The year a date text with a year of at most two digits means, under `window`.
int ExpandTwoDigitYear(int twoDigitYear, int currentYear, uint16_t window);

}  // namespace velmora
