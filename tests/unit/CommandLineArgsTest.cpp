#include <gtest/gtest.h>

#include <vector>

#include "support/ApplicationTitle.h"
#include "app/CommandLineArgs.h"
#include "support/Errors.h"

namespace velmora {
namespace {

const Text kModule = u"C:\\PVCS\\Velmora.exe";

struct SplitCase {
  const char16_t* commandLine;
  std::vector<Text> arguments;  // arguments 1 … count
};

void PrintTo(const SplitCase& c, std::ostream* out) {
  for (char ch : ToUtf8(c.commandLine)) {
    if (static_cast<unsigned char>(ch) < 32) {
      *out << "\\x" << std::hex << int(ch) << std::dec;
    } else {
      *out << ch;
    }
  }
}

class ArgumentRules : public testing::TestWithParam<SplitCase> {};

TEST_P(ArgumentRules, SplitsAsPVCSExpects) {
  const SplitCase& c = GetParam();
  CommandLineArgs args(c.commandLine, kModule);
  ASSERT_EQ(args.Count(), static_cast<int>(c.arguments.size())) << ToUtf8(c.commandLine);
  for (size_t i = 0; i < c.arguments.size(); ++i) {
    EXPECT_EQ(args.Argument(static_cast<int>(i + 1)), c.arguments[i]) << ToUtf8(c.commandLine);
  }
  EXPECT_EQ(args.Argument(0), kModule);
  EXPECT_EQ(args.Argument(static_cast<int>(c.arguments.size()) + 1), u"");
  EXPECT_EQ(args.Last(), c.arguments.empty() ? kModule : c.arguments.back());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArgumentRules,
    testing::Values(SplitCase{u"Velmora.exe", {}},
                    SplitCase{u"\"C:\\Program Files\\PVCS\\Velmora.exe\"", {}},
                    SplitCase{u"Velmora.exe   \t ", {}},
                    SplitCase{u"Velmora.exe C:\\Temp\\pvc1.tmp", {u"C:\\Temp\\pvc1.tmp"}},
                    // Separators are every character from 1 to 32, in runs.
                    SplitCase{u"Velmora.exe\t-a \x01\x1f  b\r\nc", {u"-a", u"b", u"c"}},
                    // Quoted stretches keep blanks; the quote characters are dropped.
                    SplitCase{u"V \"C:\\My Files\\p.tmp\"", {u"C:\\My Files\\p.tmp"}},
                    SplitCase{u"V a\"b c\"d", {u"ab cd"}},
                    // Two adjacent quotes inside an argument contribute nothing.
                    SplitCase{u"V ab\"\"cd", {u"abcd"}}, SplitCase{u"V \"a\"\"b\"", {u"ab"}},
                    // An empty quoted pair standing alone between arguments is no argument.
                    SplitCase{u"V a \"\" b", {u"a", u"b"}}, SplitCase{u"V \"\" \"\"  a", {u"a"}},
                    SplitCase{u"V a \"\"", {u"a"}}, SplitCase{u"V \"\"\"\"b", {u"b"}},
                    // A quote that is never closed runs to the end of the line.
                    SplitCase{u"V \"C:\\a b", {u"C:\\a b"}}, SplitCase{u"V a \"", {u"a"}},
                    // There is no escape character.
                    SplitCase{u"V a\\\"b c\\\" d", {u"a\\b c\\", u"d"}},
                    // A NUL ends the command line.
                    SplitCase{u"V a\0b c", {u"a"}},
                    // The first token may be quoted with blanks and is never counted.
                    SplitCase{u"\"C:\\P F\\V.exe\" x y", {u"x", u"y"}},
                    SplitCase{u"  V.exe  -x  \"p q\" ", {u"-x", u"p q"}}));

TEST(ApplicationTitle, NameCutAtFirstPeriodWithLowerCaseTail) {
  EXPECT_EQ(ApplicationTitle(u"C:\\PVCS\\Velmora.exe"), u"Velmora");
  EXPECT_EQ(ApplicationTitle(u"C:\\PVCS\\VELMORA.EXE"), u"Velmora");
  // The first letter keeps its case.
  EXPECT_EQ(ApplicationTitle(u"C:\\x.y\\pvcsMERGE.v2.exe"), u"pvcsmerge");
  EXPECT_EQ(ApplicationTitle(u"C:\\Tools\\\u00c4RGER.exe"), u"\u00c4rger");
  EXPECT_EQ(ApplicationTitle(u"C:\\Tools\\NoExt"), u"Noext");
}

TEST(ErrorDisplayText, AppendsPeriodOnlyAfterCharactersAboveThePeriod) {
  // The apostrophe (39) ends a registry message, so it gets no period.
  EXPECT_EQ(ErrorDisplayText(u"Invalid data type for 'UseBC2'"), u"Invalid data type for 'UseBC2'");
  EXPECT_EQ(ErrorDisplayText(u"Cannot open file"), u"Cannot open file.");
  EXPECT_EQ(ErrorDisplayText(u"Done."), u"Done.");
  EXPECT_EQ(ErrorDisplayText(u"Done!"), u"Done!");            // '!' is 33
  EXPECT_EQ(ErrorDisplayText(u"file \"x\""), u"file \"x\"");  // '"' is 34
  EXPECT_EQ(ErrorDisplayText(u"a-"), u"a-");                  // '-' is 45
  EXPECT_EQ(ErrorDisplayText(u"a/"), u"a/.");                 // '/' is 47
  EXPECT_EQ(ErrorDisplayText(u""), u"");
}

}  // namespace
}  // namespace velmora
