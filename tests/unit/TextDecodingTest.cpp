#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/MemoryLocale.h"
#include "request/TextDecoding.h"

namespace velmora {
namespace {

std::vector<uint8_t> Bytes(std::string_view s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

TEST(DecodeText, ByteOrderMarkPicksTheEncoding) {
  platform::MemoryLocale locale;
  using namespace std::string_literals;
  struct Row {
    const char* what;
    std::string bytes;
    Text text;
  } rows[] = {
      {"empty file", "", u""},
      {"ANSI (Windows-1252)", "A=\xE4\x80", u"A=\u00E4\u20AC"},
      {"UTF-8 without mark read as ANSI", "\xC3\xA4", u"\u00C3\u00A4"},
      {"UTF-16 LE",
       "\xFF\xFE"
       "A\0=\0\xE4\0"s,
       u"A=\u00E4"},
      {"UTF-16 BE",
       "\xFE\xFF"
       "\0A\0=\x20\xAC"s,
       u"A=\u20AC"},
      {"UTF-8",
       "\xEF\xBB\xBF"
       "A=\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80",
       u"A=\u00E4\u20AC\U0001F600"},
      {"only a UTF-16 mark", "\xFF\xFE", u""},
      {"only a UTF-8 mark", "\xEF\xBB\xBF", u""},
      {"UTF-16 with an odd last byte",
       "\xFF\xFE"
       "A\0B"s,
       u"A"},
      {"UTF-16 mark and one byte",
       "\xFF\xFE"
       "A",
       u""},
      {"lone surrogate kept in UTF-16", "\xFF\xFE\x00\xD8"s, u"\xD800"},
      {"UTF-8 stray continuation",
       "\xEF\xBB\xBF"
       "a\x80z",
       u"a\uFFFDz"},
      {"UTF-8 truncated sequence",
       "\xEF\xBB\xBF"
       "a\xE2\x82",
       u"a\uFFFD"},
      {"UTF-8 truncated before ASCII",
       "\xEF\xBB\xBF"
       "\xE2\x82z",
       u"\uFFFDz"},
      {"UTF-8 overlong",
       "\xEF\xBB\xBF"
       "\xC0\xAF",
       u"\uFFFD\uFFFD"},
      {"UTF-8 encoded surrogate",
       "\xEF\xBB\xBF"
       "\xED\xA0\x80",
       u"\uFFFD\uFFFD\uFFFD"},
      {"UTF-8 above U+10FFFF",
       "\xEF\xBB\xBF"
       "\xF4\x90\x80\x80",
       u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"UTF-8 invalid lead bytes",
       "\xEF\xBB\xBF"
       "\xFE\xFF",
       u"\uFFFD\uFFFD"},
  };
  for (const auto& r : rows) EXPECT_EQ(DecodeText(Bytes(r.bytes), locale), r.text) << r.what;
}

TEST(TextLines, CutAtCrLfAndCrLfUpToTheFirstNul) {
  struct Row {
    Text text;
    std::vector<Text> lines;
  } rows[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\nb\r\n", {u"a", u"b"}},
      {u"a\nb\n", {u"a", u"b"}},
      {u"a\rb\r", {u"a", u"b"}},
      {u"a\n\rb", {u"a", u"", u"b"}},  // LF CR is two breaks
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {u"\n", {u""}},
      {u"\n\n", {u"", u""}},
      {u"a\n\nb", {u"a", u"", u"b"}},
      {u" a = b \t", {u" a = b \t"}},  // nothing trimmed
      {Text(u"a\nb\0c\nd", 7), {u"a", u"b"}},
      {Text(u"\0a", 2), {}},
  };
  for (const auto& r : rows) EXPECT_EQ(TextLines(r.text).ToVector(), r.lines) << ToUtf8(r.text);
}

TEST(TextLines, JoinedEndsEveryLineWithTheSeparator) {
  EXPECT_EQ(TextLines(u"a\nb\rc").Joined(u"\r\n"), u"a\r\nb\r\nc\r\n");
  EXPECT_EQ(TextLines(u"").Joined(u"\r\n"), u"");
}

}  // namespace
}  // namespace velmora
