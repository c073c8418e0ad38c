#include "support/DateSettings.h"

namespace velmora {

DateSettings& ProcessDateSettings() {
  static DateSettings settings;
  return settings;
}

void LoadDateSettings(platform::ILocale& locale) {
  ProcessDateSettings() = DateSettings{locale.ShortDatePattern(), 50};
}

Text WidenYear(const Text& pattern) {
  Text upper = UpperAscii(pattern);
  if (upper.find(u"YYYY") != Text::npos) return pattern;
  size_t at = upper.find(u"YY");
  if (at == Text::npos) return pattern;
  Text widened = pattern;
  widened.insert(at, pattern.substr(at, 2));  // the letters keep their own case
  return widened;
}

void AdjustDateFormat(platform::ILocale& locale) {
  DateSettings& settings = ProcessDateSettings();
  settings.ShortDateFormat = WidenYear(settings.ShortDateFormat);
  if (locale.Now().year < 2020) settings.TwoDigitYearCenturyWindow = 20;
}

int ExpandTwoDigitYear(int twoDigitYear, int currentYear, uint16_t window) {
  int base = currentYear - window;
  int year = twoDigitYear + (base / 100) * 100;
  if (window > 0 && year < base) year += 100;
  return year;
}

}  // namespace velmora
