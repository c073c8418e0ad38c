#include "launch/ElapsedTime.h"

namespace velmora {
namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t Milliseconds(const platform::LocalTime& t) {
  int64_t days = DaysFromCivil(t.year, t.month, t.day);
  return days * 86'400'000 + t.hour * int64_t{3'600'000} + t.minute * int64_t{60'000} +
         t.second * int64_t{1'000} + t.millisecond;
}

}  // namespace

int64_t ElapsedMilliseconds(const platform::LocalTime& start, const platform::LocalTime& end) {
  int64_t difference = Milliseconds(end) - Milliseconds(start);
  return difference < 0 ? -difference : difference;
}

Text FormatSeconds(int64_t milliseconds, platform::NumberSeparators separators) {
  // Whole milliseconds are exactly three decimals of a second: no rounding is needed.
  bool negative = milliseconds < 0;
  uint64_t ms = negative ? 0 - static_cast<uint64_t>(milliseconds) : milliseconds;
  Text digits = ToDecimal(static_cast<int64_t>(ms / 1000));
  Text grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    bool groupStart = i > 0 && (digits.size() - i) % 3 == 0;
    if (groupStart && separators.thousands != 0) grouped += separators.thousands;
    grouped += digits[i];
  }
  Text fraction = ToDecimal(static_cast<int64_t>(ms % 1000));
  fraction.insert(0, 3 - fraction.size(), u'0');
  return (negative ? u"-" : u"") + grouped + separators.decimal + fraction;
}

Text ElapsedSeconds(const platform::LocalTime& start, const platform::LocalTime& end,
                    platform::NumberSeparators separators) {
  return FormatSeconds(ElapsedMilliseconds(start, end), separators);
}

}  // namespace velmora
