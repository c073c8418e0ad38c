#include <gtest/gtest.h>

#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryLocale.h"

namespace velmora::platform {
namespace {

TEST(MemoryEnvironment, ExpandSizingProtocol) {
  MemoryEnvironment env;
  env.SetVariable(u"A", u"xyz");
  char16_t small[4] = {u'-', u'-', u'-', u'-'};
  EXPECT_EQ(env.ExpandStrings(u"%a%!", nullptr, 0), 5u);
  EXPECT_EQ(env.ExpandStrings(u"%a%!", small, 4), 5u);
  EXPECT_EQ(small[0], u'-');  // too small: nothing stored
  char16_t fits[5];
  EXPECT_EQ(env.ExpandStrings(u"%a%!", fits, 5), 5u);
  EXPECT_EQ(Text(fits), u"xyz!");
  // An undefined reference is kept whole; the scan goes on after it.
  EXPECT_EQ(env.Expand(u"%B%A%a%"), u"%B%Axyz");
  EXPECT_EQ(env.Expand(u"%%a%"), u"%%a%");
}

TEST(MemoryEnvironment, TempPathSizingProtocol) {
  MemoryEnvironment env;
  char16_t buffer[9];
  EXPECT_EQ(env.TempPath(0, nullptr), 9u);  // "C:\Temp\" and the NUL
  EXPECT_EQ(env.TempPath(8, buffer), 9u);   // too small
  EXPECT_EQ(env.TempPath(9, buffer), 8u);   // stored, NUL not counted
  EXPECT_EQ(Text(buffer), u"C:\\Temp\\");
}

TEST(MemoryLocale, AnsiIsWindows1252BothWays) {
  MemoryLocale locale;
  EXPECT_EQ(locale.AnsiToText("\x80 \xE4\x9F\x81"), u"\u20AC \u00E4\u0178\u0081");
  EXPECT_EQ(locale.TextToAnsi(u"\u20AC \u00E4\u0178\u0081"), "\x80 \xE4\x9F\x81");
  EXPECT_EQ(locale.TextToAnsi(u"\u0416\U0001F600x"), "??x");  // unmappable, pair counts once
}

TEST(MemoryLocale, EqualIgnoreCaseFoldsBeyondAscii) {
  MemoryLocale locale;
  EXPECT_TRUE(locale.EqualIgnoreCase(u"ANCESTOR", u"ancestor"));
  EXPECT_TRUE(locale.EqualIgnoreCase(u"\u00C4rger \u0152", u"\u00E4RGER \u0153"));
  EXPECT_TRUE(locale.EqualIgnoreCase(u"\u0416\u03A3", u"\u0436\u03C3"));
  EXPECT_FALSE(locale.EqualIgnoreCase(u"ancestor", u"ancestors"));
}

TEST(MemoryLocale, ClockCarriesAcrossDaysMonthsAndYears) {
  MemoryLocale locale;
  locale.SetNow({2024, 2, 28, 23, 59, 59, 500});
  locale.Advance(500 + 24 * 3600 * 1000);  // leap day, then into March
  LocalTime t = locale.Now();
  EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond}),
            (std::vector<int>{2024, 3, 1, 0, 0, 0, 0}));
  locale.SetNow({2019, 12, 31, 23, 0, 0, 0});
  locale.Advance(3600 * 1000);
  EXPECT_EQ(locale.Now().year, 2020);
  EXPECT_EQ(locale.Now().day, 1);
}

TEST(MemoryLocale, SystemErrorTextsEndLikeFormatMessage) {
  MemoryLocale locale;
  EXPECT_EQ(locale.SystemErrorText(2), u"The system cannot find the file specified.\r\n");
  EXPECT_EQ(locale.SystemErrorText(5), u"Access is denied.\r\n");
  EXPECT_EQ(locale.SystemErrorText(99999), u"Unknown error 99999.\r\n");
}

}  // namespace
}  // namespace velmora::platform
