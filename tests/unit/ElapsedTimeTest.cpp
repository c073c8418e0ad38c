#include <gtest/gtest.h>

#include "launch/ElapsedTime.h"

namespace velmora {
namespace {

using platform::LocalTime;
using platform::NumberSeparators;

constexpr NumberSeparators kEnglish{u'.', u','};
constexpr NumberSeparators kGerman{u',', u'.'};
constexpr NumberSeparators kSwiss{u'.', u'\u2019'};

TEST(ElapsedTime, SecondsBetweenTwoLocalTimes) {
  struct Row {
    const char* name;
    LocalTime start, end;
    NumberSeparators separators;
    Text expected;
  } rows[] = {
      {"no time", {2025, 1, 15, 10, 0, 0, 0}, {2025, 1, 15, 10, 0, 0, 0}, kEnglish, u"0.000"},
      {"under a second",
       {2025, 1, 15, 10, 0, 0, 0},
       {2025, 1, 15, 10, 0, 0, 7},
       kEnglish,
       u"0.007"},
      {"83512 ms", {2025, 1, 15, 10, 0, 0, 0}, {2025, 1, 15, 10, 1, 23, 512}, kEnglish, u"83.512"},
      {"over 1000 s grouped",
       {2025, 1, 15, 10, 0, 0, 0},
       {2025, 1, 15, 10, 20, 34, 567},
       kEnglish,
       u"1,234.567"},
      {"another locale's separators",
       {2025, 1, 15, 10, 0, 0, 0},
       {2025, 1, 15, 10, 20, 34, 567},
       kGerman,
       u"1.234,567"},
      {"non-ASCII thousands separator",
       {2025, 1, 15, 10, 0, 0, 0},
       {2025, 1, 15, 10, 20, 34, 567},
       kSwiss,
       u"1\u2019234.567"},
      {"across midnight and a month end",
       {2025, 1, 31, 23, 59, 59, 900},
       {2025, 2, 1, 0, 0, 0, 100},
       kEnglish,
       u"0.200"},
      {"across a leap day",
       {2024, 2, 28, 12, 0, 0, 0},
       {2024, 3, 1, 12, 0, 0, 0},
       kEnglish,
       u"172,800.000"},
      {"across a year end",
       {2024, 12, 31, 23, 0, 0, 0},
       {2025, 1, 1, 1, 0, 0, 0},
       kEnglish,
       u"7,200.000"},
      {"two groups",
       {2025, 1, 1, 0, 0, 0, 0},
       {2025, 1, 12, 13, 46, 40, 1},
       kEnglish,
       u"1,000,000.001"},
      {"clock set back during the run",
       {2025, 1, 15, 10, 0, 0, 0},
       {2025, 1, 15, 9, 0, 0, 250},
       kEnglish,
       u"3,599.750"},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ElapsedSeconds(r.start, r.end, r.separators), r.expected) << r.name;
}

TEST(ElapsedTime, DifferenceIsAbsolute) {
  LocalTime a{2025, 3, 30, 1, 59, 0, 0};
  LocalTime b{2025, 3, 30, 3, 1, 0, 0};
  EXPECT_EQ(ElapsedMilliseconds(a, b), 3'720'000);
  EXPECT_EQ(ElapsedMilliseconds(b, a), 3'720'000);
}

}  // namespace
}  // namespace velmora
