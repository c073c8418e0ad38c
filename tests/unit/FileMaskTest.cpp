#include <gtest/gtest.h>

#include "support/Errors.h"
#include "support/FileMask.h"

namespace velmora {
namespace {

struct Row {
  Text text, mask;
  bool matches;
};

TEST(MatchFileMask, Matches) {
  const Text path = u"C:\\Temp\\a.zip";
  const Row rows[] = {
      {path, u"*.zip", true},
      {path, u"*.ZIP", true},
      {path, u"a.zip", false},
      {path, u"C:\\Temp\\*.zip", true},
      {path, u"c:\\temp\\*.zip", true},
      {path, u"*.z?p", true},
      {path, u"*.[xz]ip", true},
      {path, u"*.[!z]ip", false},
      {path, u"*.[a-y]ip", false},
      {path, u"*.zi", false},
      {path, u"*zip*", true},
      {path, u"", false},
      {u"", u"", true},
      {u"", u"*", true},
      {u"a", u"a*?", true},  // "*?" acts as "*"
      {u"a", u"a*??", true},
      {u"a", u"a?*", false},
      {u"ab", u"a?*", true},
      {u"a", u"***a***", true},
      {u"C:\\x\\LIB.ZIP", u"*.zip", true},
      {u"C:\\x\\x.zip.bak", u"*.zip", false},
      {u"C:\\x\\x.jar", u" *.jar", false},
      {u"C:\\x\\x.jar", u"", false},
      {u"abcabd", u"*abd", true},
      {u"aXb", u"a*b*", true},
      // Only a to z fold, in literals and in sets.
      {u"\u00e4.zip", u"\u00c4.zip", false},
      {u"A", u"[a]", true},
      {u"a", u"[A]", true},
      {u"q", u"[A-Z]", true},
      {u"[", u"[A-z]", false},  // z folds to Z first
      {u"\u00e4", u"[\u00e4]", true},
      {u"\u00c4", u"[\u00e4]", false},
      // Ranges: the end may be "]"; a reversed range adds nothing; the end is no new start.
      {u"Q", u"[a-]]", true},
      {u"]", u"[a-]]", true},
      {u"z", u"[z-a]", true},
      {u"b", u"[z-a]", false},
      {u"b", u"[c-ab]", true},
      {u"a", u"[c-ab]", false},
      {u"d", u"[a-c-e]", true},
      {u"-", u"[a-c-e]", false},
      // Set members are characters up to U+00FF; a wider mask character keeps its low byte.
      {u"A", u"[\u0141]", true},
      {u"\u0141", u"[\u0141]", false},
      {u"\u0141", u"[!a]", true},
      {u"x", u"[\U0001F600x]", true},
      {u"\U0001F600", u"??", true},
      {u"\U0001F600", u"?", false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(MatchFileMask(r.text, r.mask), r.matches)
        << ToUtf8(r.mask) << " on " << ToUtf8(r.text);
  }
}

TEST(MatchFileMask, InvalidMasksReportThePosition) {
  struct Bad {
    Text mask;
    int position;
  } rows[] = {
      {u"[", 2},
      {u"*.[]", 4},
      {u"[!]", 3},
      {u"[-a]", 2},
      {u"[!-a]", 3},
      {u"[ab", 4},
      {u"[a-", 4},  // a range needs its end
      {u"[a-]", 5},
      {u"[\U0001F600]", 4},
      {u"[\U0001F600-a]", 4},
      {u"*a*b*c*d*e*f*g*h*i*j*k*l*m*n*o*p*q*r*s*t*u*v*w*x*y*z*A*B*C*D*", 62},
      {u"*a*b*c*d*e*f*g*h*i*j*k*l*m*n*o*p*q*r*s*t*u*v*w*x*y*z*A*B*C*D*E", 62},
      {u"*a*b*c*d*e*f*g*h*i*j*k*l*m*n*o*p*q*r*s*t*u*v*w*x*y*z*A*B*C*D*[E]", 64},
  };
  for (const Bad& r : rows) {
    try {
      MatchFileMask(u"anything", r.mask);
      ADD_FAILURE() << ToUtf8(r.mask);
    } catch (const EVelmora& e) {
      EXPECT_EQ(e.Message(),
                u"'" + r.mask + u"' is an invalid mask at (" + ToDecimal(r.position) + u")");
    }
  }
}

TEST(MatchFileMask, ThirtyStarredElementsAreAllowed) {
  const Text mask = u"*a*b*c*d*e*f*g*h*i*j*k*l*m*n*o*p*q*r*s*t*u*v*w*x*y*z*A*B*C*D";
  EXPECT_TRUE(MatchFileMask(u"abcdefghijklmnopqrstuvwxyzabcd", mask));
  EXPECT_FALSE(MatchFileMask(u"abcdefghijklmnopqrstuvwxyzabc", mask));
  Text stars(40, u'*');
  EXPECT_TRUE(MatchFileMask(Text(32768, u'x'), stars + u"x" + stars));
}

}  // namespace
}  // namespace velmora
