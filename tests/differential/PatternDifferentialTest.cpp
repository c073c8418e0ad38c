// Checks TPatternMatcher against PCRE2's 16-bit engine on many generated subjects. Each of
// our patterns is paired with a PCRE2 pattern that spells out our dialect's differences:
// ASCII-only classes, no vertical tab in \s, \Z as \z, our line-separator set for "." with S
// off, and non-greedy quantifiers written out where G is off. With that, every disagreement
// is a fault.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "support/PatternMatcher.h"

namespace velmora {
namespace {

struct Pcre {
  explicit Pcre(TextView pattern) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), 0, &error,
                         &offset, nullptr);
    if (code) data = pcre2_match_data_create_from_pattern(code, nullptr);
  }
  ~Pcre() {
    pcre2_match_data_free(data);
    pcre2_code_free(code);
  }
  Pcre(const Pcre&) = delete;
  Pcre& operator=(const Pcre&) = delete;

  // Start and end of each group, -1 when it took no part; empty when nothing matched.
  std::vector<int32_t> Match(TextView subject, int groups) {
    int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0, 0,
                         data, nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) return {};
    EXPECT_GT(rc, 0) << "PCRE2 error " << rc;
    std::vector<int32_t> spans(2 * (groups + 1), -1);
    PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
    for (int g = 0; g < rc && g <= groups; ++g) {
      if (ov[2 * g] == PCRE2_UNSET) continue;
      spans[2 * g] = static_cast<int32_t>(ov[2 * g]);
      spans[2 * g + 1] = static_cast<int32_t>(ov[2 * g + 1]);
    }
    return spans;
  }

  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
};

// Deterministic on every platform, unlike the standard distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint32_t Below(uint32_t n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(state_ >> 33) % n;
  }

 private:
  uint64_t state_;
};

#define SEPS u"\\r\\n\\x{0b}\\x{0c}\\x{85}\\x{2028}\\x{2029}"
#define SPACE u"[ \\t\\n\\r\\f]"

struct Pairing {
  Text ours, modifiers, pcre;
  int groups;
  std::vector<Text> pieces;  // subjects are runs of these
};

const std::vector<Text> kBreaks = {u"\r\n",   u"\n",     u"\r", u"\v", u"\f",         u"\u0085",
                                   u"\u2028", u"\u2029", u"\t", u" ",  Text(1, u'\0')};

std::vector<Text> With(std::vector<Text> pieces) {
  pieces.insert(pieces.end(), kBreaks.begin(), kBreaks.end());
  return pieces;
}

const Pairing kPairings[] = {
    {u"File \\d:\\s+(.+)", u"", u"(?s)File [0-9]:" SPACE u"+(.+)", 1,
     With({u"File ", u"file ", u"File 1:", u"1", u"\u0662", u":", u"a", u"F"})},
    {u"(.+)( - Derivative| - Ancestor)", u"", u"(?s)(.+)( - Derivative| - Ancestor)", 2,
     With({u" - Derivative", u" - Ancestor", u" - ", u"Derivative", u"x", u"-", u"1.2"})},
    {u"(.+);(.+)", u"", u"(?s)(.+);(.+)", 2, With({u";", u"a", u"bc", u";;"})},
    {u"(\\.\\w+)(\\s+|\\Z)", u"", u"(\\.[A-Za-z0-9_]+)(" SPACE u"+|\\z)", 2,
     With({u".", u"c", u"old", u"_", u"9", u"\u00fc", u"\u0416", u".."})},
    {u"\\A(\\d+)(\\.(\\d+))+\\Z", u"", u"\\A([0-9]+)(\\.([0-9]+))+\\z", 3,
     With({u"1", u"23", u".", u".4", u"\u0662", u"a"})},
    {u"\\A(\\d+)(\\.(\\d+))*\\Z", u"", u"\\A([0-9]+)(\\.([0-9]+))*\\z", 3,
     With({u"1", u"23", u".", u".4", u"\u0662", u"a"})},
    {u"<Zip Value=\"(.*)\"/>", u"-SIRGMX", u"<Zip Value=\"([^" SEPS u"]*?)\"/>", 1,
     With({u"<Zip Value=\"", u"\"/>", u"\"", u"/>", u"*.zip;", u"<zip value=\"", u"x"})},
    // Further shapes the engine must order the same way: alternation, laziness, counts.
    {u"a|ab|(b)(c)?", u"", u"a|ab|(b)(c)?", 2, {u"a", u"b", u"c", u"x"}},
    {u"(a|b)*?(b+)(c{1,2})", u"", u"(?s)(a|b)*?(b+)(c{1,2})", 3, {u"a", u"b", u"c", u"bb"}},
    {u"(a+)+b", u"", u"(a+)+b", 1, {u"a", u"aa", u"b", u"c"}},
    {u"x(.+)(y*)", u"-G", u"(?s)x(.+?)(y*?)", 2, With({u"x", u"y", u"yy"})},
    {u"^(b+)$", u"M", u"(?m)^(b+)$", 1, {u"b", u"a", u"\n", u"bb"}},
};

TEST(PatternDifferential, AgreesWithPcre2) {
  Random random(20240611);
  for (const Pairing& p : kPairings) {
    Pcre reference(p.pcre);
    ASSERT_NE(reference.code, nullptr) << ToUtf8(p.pcre);
    TPatternMatcher ours;
    if (!p.modifiers.empty()) ours.ModifierString(p.modifiers);
    ours.Pattern(p.ours);
    int disagreements = 0;
    for (int k = 0; k < 6000 && disagreements < 5; ++k) {
      Text subject;
      for (uint32_t n = random.Below(14); n > 0; --n) {
        subject += p.pieces[random.Below(static_cast<uint32_t>(p.pieces.size()))];
      }
      // A NUL ends our subject; PCRE2 gets the part before it.
      TextView cut = TextView(subject).substr(0, subject.find(u'\0'));
      std::vector<int32_t> expected = reference.Match(cut, p.groups);
      bool found = ours.Search(subject);
      std::vector<int32_t> actual;
      int highest = 0;
      if (found) {
        for (int g = 0; g <= p.groups; ++g) {
          int32_t pos = ours.GroupPos(g);
          actual.push_back(pos < 0 ? -1 : pos - 1);
          actual.push_back(pos < 0 ? -1 : pos - 1 + ours.GroupLen(g));
          if (g > 0 && pos >= 0) highest = g;
        }
        EXPECT_EQ(ours.GroupsTakingPart(), highest);
      }
      if (actual != expected) {
        ++disagreements;
        ADD_FAILURE() << ToUtf8(p.ours) << " on \"" << ToUtf8(subject) << "\"";
      }
    }
  }
}

}  // namespace
}  // namespace velmora
