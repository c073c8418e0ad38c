#include <gtest/gtest.h>

#include "platform/memory/MemoryLocale.h"
#include "support/DateSettings.h"

namespace velmora {
namespace {

class AdjustDateFormatTest : public ::testing::Test {
 protected:
  void TearDown() override { ProcessDateSettings() = DateSettings{}; }
  platform::MemoryLocale locale;
};

TEST_F(AdjustDateFormatTest, WidensTheFirstTwoLetterYearInItsOwnCase) {
  struct Row {
    Text pattern, expected;
  } rows[] = {
      {u"dd.MM.yy", u"dd.MM.yyyy"},   {u"M/d/yy", u"M/d/yyyy"},     {u"d/M/yy", u"d/M/yyyy"},
      {u"dd.MM.yyyy", u"dd.MM.yyyy"}, {u"YY-MM-dd", u"YYYY-MM-dd"}, {u"yY/MM", u"yYyY/MM"},
      {u"dd.MM", u"dd.MM"},           {u"yy yy", u"yyyy yy"},       {u"", u""},
  };
  for (const auto& r : rows) {
    locale.SetShortDatePattern(r.pattern);
    LoadDateSettings(locale);
    AdjustDateFormat(locale);
    EXPECT_EQ(ProcessDateSettings().ShortDateFormat, r.expected) << ToUtf8(r.pattern);
  }
}

TEST_F(AdjustDateFormatTest, WindowNarrowsOnlyBefore2020) {
  struct Row {
    int year;
    uint16_t window;
  } rows[] = {{2019, 20}, {2020, 50}, {2026, 50}};
  for (const auto& r : rows) {
    locale.SetNow({r.year, 12, 31, 23, 59, 59, 999});
    LoadDateSettings(locale);
    AdjustDateFormat(locale);
    EXPECT_EQ(ProcessDateSettings().TwoDigitYearCenturyWindow, r.window) << r.year;
  }
}

TEST(TwoDigitYearWindow, CenturyFollowsTheWindow) {
  struct Row {
    int twoDigit, currentYear;
    uint16_t window;
    int expected;
  } rows[] = {
      {0, 2015, 20, 2000}, {94, 2015, 20, 2094}, {95, 2015, 20, 1995}, {99, 2015, 20, 1999},
      {0, 2025, 50, 2000}, {74, 2025, 50, 2074}, {75, 2025, 50, 1975}, {99, 2025, 50, 1999},
      {5, 2025, 0, 2005},  {99, 2025, 0, 2099},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ExpandTwoDigitYear(r.twoDigit, r.currentYear, r.window), r.expected)
        << r.twoDigit << " in " << r.currentYear << " with " << r.window;
}

}  // namespace
}  // namespace velmora
