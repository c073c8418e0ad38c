#include <gtest/gtest.h>

#include "support/Errors.h"
#include "support/PatternMatcher.h"

namespace velmora {
namespace {

struct Group {
  int n;
  Text text;  // expected text; pos -1 means the group took no part
  int32_t pos;
};

struct Case {
  Text pattern;
  Text modifiers;  // applied before the pattern when not empty
  Text subject;
  bool matches;
  std::vector<Group> groups;
};

void Check(const Case& c) {
  SCOPED_TRACE(ToUtf8(c.pattern) + " on \"" + ToUtf8(c.subject) + "\"");
  TPatternMatcher m;
  if (!c.modifiers.empty()) m.ModifierString(c.modifiers);
  m.Pattern(c.pattern);
  ASSERT_EQ(m.Search(c.subject), c.matches);
  for (const Group& g : c.groups) {
    EXPECT_EQ(m.GroupText(g.n), g.text) << "group " << g.n;
    EXPECT_EQ(m.GroupPos(g.n), g.pos) << "group " << g.n;
    EXPECT_EQ(m.GroupLen(g.n), g.pos < 0 ? -1 : static_cast<int32_t>(g.text.size()));
  }
}

// The patterns title parsing and the archive-mask reader run, with their documented cases.
TEST(PatternMatcher, SystemPatterns) {
  const Case cases[] = {
      {u"\\A(\\d+)(\\.(\\d+))+\\Z", u"", u"1.2", true, {{1, u"1", 1}, {3, u"2", 3}}},
      {u"\\A(\\d+)(\\.(\\d+))+\\Z", u"", u"1.2.3", true, {{2, u".3", 4}, {3, u"3", 5}}},
      {u"\\A(\\d+)(\\.(\\d+))+\\Z", u"", u"7", false, {}},
      {u"\\A(\\d+)(\\.(\\d+))+\\Z", u"", u"1.2\n", false, {}},
      {u"\\A(\\d+)(\\.(\\d+))+\\Z", u"", u" 1.2", false, {}},
      {u"\\A(\\d+)(\\.(\\d+))+\\Z", u"", u"1.\u0662", false, {}},  // Arabic-Indic two
      {u"\\A(\\d+)(\\.(\\d+))*\\Z", u"", u"7", true, {{1, u"7", 1}, {2, u"", -1}, {3, u"", -1}}},
      {u"\\A(\\d+)(\\.(\\d+))*\\Z", u"", u"1.2", true, {{1, u"1", 1}, {3, u"2", 3}}},
      {u"(\\.\\w+)(\\s+|\\Z)", u"", u"main.c 1.4", true, {{1, u".c", 5}, {2, u" ", 7}}},
      {u"(\\.\\w+)(\\s+|\\Z)", u"", u"my.old file.c", true, {{1, u".old", 3}}},
      {u"(\\.\\w+)(\\s+|\\Z)",
       u"",
       u"daten.\u00fcbersicht 1.2",
       true,
       {{1, u".2", 18}, {2, u"", 20}}},
      {u"(\\.\\w+)(\\s+|\\Z)", u"", u"main.c\v1.4", true, {{1, u".4", 9}}},
      {u"(.+);(.+)", u"", u"a;b;c", true, {{1, u"a;b", 1}, {2, u"c", 5}}},
      {u"(.+)( - Derivative| - Ancestor)",
       u"",
       u"x - Ancestor - Derivative",
       true,
       {{1, u"x - Ancestor", 1}, {2, u" - Derivative", 13}}},
      {u"(.+)( - Derivative| - Ancestor)", u"", u"x - Derivative!", true, {{1, u"x", 1}}},
      {u"(.+)( - Derivative| - Ancestor)", u"", u"main.c 1.4", false, {}},
      {u"File \\d:\\s+(.+)",
       u"",
       u"see File 1:  a\r\nb",
       true,
       {{0, u"File 1:  a\r\nb", 5}, {1, u"a\r\nb", 14}}},
      {u"File \\d:\\s+(.+)", u"", u"file 1: a", false, {}},
      {u"File \\d:\\s+(.+)", u"", u"File 1:\va", false, {}},
      {u"<Zip Value=\"(.*)\"/>",
       u"-SIRGMX",
       u"<Zip Value=\"*.7z\"/><Zip Value=\"*.rar\"/>",
       true,
       {{1, u"*.7z", 13}}},
      {u"<Zip Value=\"(.*)\"/>", u"-SIRGMX", u"<Zip Value=\"*.7z\r\n\"/>", false, {}},
      {u"<Zip Value=\"(.*)\"/>",
       u"-SIRGMX",
       u"<Zip Value=\"a\r\n<Zip Value=\"\"/>",
       true,
       {{1, u"", 28}}},
      {u"<Zip Value=\"(.*)\"/>", u"-SIRGMX", u"<zip value=\"a\"/>", false, {}},
      {u"<Zip Value=\"(.*)\"/>", u"-SIRGMX", u"<Zip Value=\"a\" />", false, {}},
  };
  for (const Case& c : cases) Check(c);
}

TEST(PatternMatcher, ElementsAndSeparators) {
  const Case cases[] = {
      // "." crosses every line separator with S on, none of them with S off.
      {u"a.b", u"", u"a\u2028b", true, {}},
      {u"a.b", u"-S", u"a\rb", false, {}},
      {u"a.b", u"-S", u"a\nb", false, {}},
      {u"a.b", u"-S", u"a\vb", false, {}},
      {u"a.b", u"-S", u"a\fb", false, {}},
      {u"a.b", u"-S", u"a\u0085b", false, {}},
      {u"a.b", u"-S", u"a\u2028b", false, {}},
      {u"a.b", u"-S", u"a\u2029b", false, {}},
      {u"a.b", u"-S", u"a\tb", true, {}},
      // ASCII-only classes; \s has no vertical tab.
      {u"\\w", u"", u"\u00e9", false, {}},
      {u"\\w+", u"", u"\u00e9_x9", true, {{0, u"_x9", 2}}},
      {u"\\s", u"", u"\v\u00a0\u2028", false, {}},
      {u"\\s+", u"", u"x \t\r\n\f", true, {{0, u" \t\r\n\f", 2}}},
      {u"\\d", u"", u"\uff11", false, {}},
      // \A and \Z anchor at the very ends only.
      {u"a\\Z", u"", u"a\n", false, {}},
      {u"\\Aa", u"", u"ba", false, {}},
      // A NUL ends the subject.
      {u"b", u"", Text(u"a\0b", 3), false, {}},
      {u"a\\Z", u"", Text(u"a\0b", 3), true, {}},
      // Case: sensitive by default, I folds.
      {u"abc", u"", u"ABC", false, {}},
      {u"abc", u"i", u"xABC", true, {{0, u"ABC", 2}}},
      {u"[a-c]+", u"I", u"CAB", true, {}},
      // ^ and $ at line separators only with M.
      {u"^b$", u"", u"a\nb\nc", false, {}},
      {u"^b$", u"M", u"a\nb\nc", true, {{0, u"b", 3}}},
      // X ignores blanks and comments.
      {u"a b # comment\n c", u"X", u"abc", true, {}},
      {u"a b", u"", u"abc", false, {}},
      // R widens Cyrillic ranges to the letters yo.
      {u"[\u0430-\u044f]", u"", u"\u0451", true, {}},
      {u"[\u0410-\u042f]", u"", u"\u0401", true, {}},
      {u"[\u0430-\u042f]+",
       u"",
       u"\u0401\u0451\u0416\u0436",
       true,
       {{0, u"\u0401\u0451\u0416\u0436", 1}}},
      {u"[\u0430-\u044f]", u"-R", u"\u0451", false, {}},
      // Alternatives left to right; leftmost start wins over length.
      {u"a|ab", u"", u"ab", true, {{0, u"a", 1}}},
      {u"b+|a", u"", u"abb", true, {{0, u"a", 1}}},
      {u"x*", u"", u"ab", true, {{0, u"", 1}}},
      {u"", u"", u"", true, {{0, u"", 1}}},
      // Groups outside the match, and groups that never were.
      {u"(a)|(b)", u"", u"b", true, {{1, u"", -1}, {2, u"b", 1}, {3, u"", -1}, {-1, u"", -1}}},
      {u"(?:a)(b)", u"", u"ab", true, {{1, u"b", 2}}},
  };
  for (const Case& c : cases) Check(c);
}

TEST(PatternMatcher, GreedinessFollowsG) {
  const Case cases[] = {
      {u"a(.*)b", u"", u"aXbYb", true, {{1, u"XbY", 2}}},
      {u"a(.*?)b", u"", u"aXbYb", true, {{1, u"X", 2}}},
      {u"a(.*)b", u"-G", u"aXbYb", true, {{1, u"X", 2}}},
      {u"a(.*?)b", u"-G", u"aXbYb", true, {{1, u"X", 2}}},  // not swapped back
      {u"(a+)", u"-G", u"aaa", true, {{1, u"a", 1}}},
      {u"(a{2,3})", u"", u"aaaa", true, {{1, u"aaa", 1}}},
      {u"(a{2,3})", u"-G", u"aaaa", true, {{1, u"aa", 1}}},
      {u"(a?)a", u"-G", u"aa", true, {{1, u"", 1}}},
  };
  for (const Case& c : cases) Check(c);
}

TEST(PatternMatcher, GroupsTakingPart) {
  struct Row {
    Text pattern, subject;
    int32_t expected;
  } rows[] = {
      {u"(.+);(.+)", u"a;b;c", 2},
      {u"\\A(\\d+)(\\.(\\d+))*\\Z", u"7", 1},
      {u"\\A(\\d+)(\\.(\\d+))*\\Z", u"7.1", 3},
      {u"(a)|(b)|(c)", u"b", 2},
      {u"x(a)?", u"x", 0},
  };
  for (const Row& r : rows) {
    TPatternMatcher m;
    m.Pattern(r.pattern);
    ASSERT_TRUE(m.Search(r.subject));
    EXPECT_EQ(m.GroupsTakingPart(), r.expected) << ToUtf8(r.pattern);
  }
  TPatternMatcher m;
  m.Pattern(u"(a)");
  EXPECT_FALSE(m.Search(u"b"));
  EXPECT_EQ(m.GroupsTakingPart(), 0);
  EXPECT_EQ(m.GroupPos(0), -1);
}

TEST(PatternMatcher, ModifierString) {
  TPatternMatcher m;
  EXPECT_EQ(m.ModifierString(), u"RSG-IMX");
  m.ModifierString(u"-SIRGMX");
  EXPECT_EQ(m.ModifierString(), u"-IRSGMX");
  m.ModifierString(u"ix-r");
  EXPECT_EQ(m.ModifierString(), u"IX-RSGM");
  m.ModifierString(u"");
  EXPECT_EQ(m.ModifierString(), u"IX-RSGM");
  for (Text bad : {u"a", u"S G", u"(?i)", u"I-\u0130"}) {
    try {
      m.ModifierString(bad);
      ADD_FAILURE() << ToUtf8(bad);
    } catch (const EVelmora& e) {
      EXPECT_EQ(e.Message(), u"'" + bad + u"' is an invalid modifier string");
    }
    EXPECT_EQ(m.ModifierString(), u"IX-RSGM");
  }
}

TEST(PatternMatcher, MalformedPatternRaisesAtSearch) {
  for (Text bad : {u"(a", u"a)", u"[a", u"*a", u"a**", u"\\", u"\\q", u"[z-a]", u"a{2,1}", u"(?=a)",
                   u"\\1", u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)"}) {
    TPatternMatcher m;
    m.Pattern(bad);  // setting it never raises
    EXPECT_THROW(m.Search(u"abc"), EVelmora) << ToUtf8(bad);
    EXPECT_THROW(m.Search(u"abc"), EVelmora) << ToUtf8(bad);
  }
  TPatternMatcher m;
  m.Pattern(u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)");
  ASSERT_TRUE(m.Search(u"abcdefghijklmn"));
  EXPECT_EQ(m.GroupText(14), u"n");
  EXPECT_EQ(m.GroupsTakingPart(), 14);
}

TEST(PatternMatcher, RepeatedSearchesReuseTheMatcher) {
  TPatternMatcher m;
  m.Pattern(u"(\\d+)");
  ASSERT_TRUE(m.Search(u"ab12"));
  EXPECT_EQ(m.GroupPos(1), 3);
  ASSERT_TRUE(m.Search(u"7"));
  EXPECT_EQ(m.GroupText(1), u"7");
  m.Pattern(u"(x)");
  EXPECT_FALSE(m.Search(u"7"));
  EXPECT_EQ(m.GroupText(1), u"");
}

// Adversarial subjects from the benchmarks, at a size that would never finish with plain
// backtracking; the engine must also stay off the call stack.
TEST(PatternMatcher, LongAdversarialSubjectsFinish) {
  Text longRun(200000, u'a');
  TPatternMatcher m;
  m.Pattern(u"File \\d:\\s+(.+)x");
  EXPECT_FALSE(m.Search(u"File 1: " + longRun));
  m.Pattern(u"(.+)( - Derivative| - Ancestor)");
  EXPECT_FALSE(m.Search(longRun));
  m.Pattern(u"(a*)*b");
  EXPECT_FALSE(m.Search(longRun));
  m.ModifierString(u"-SIRGMX");
  m.Pattern(u"<Zip Value=\"(.*)\"/>");
  Text open;
  for (int k = 0; k < 20000; ++k) open += u"<Zip Value=\"";
  EXPECT_FALSE(m.Search(open));
  EXPECT_TRUE(m.Search(open + u"\"/>"));
  EXPECT_EQ(m.GroupPos(1), 13);
}

}  // namespace
}  // namespace velmora
