#include <gtest/gtest.h>

#include "support/Errors.h"
#include "support/Format.h"
#include "support/Text.h"

namespace velmora {
namespace {

TEST(PathRules, NameDirectoryAndExtension) {
  struct Row {
    Text path, name, dir, ext;
  } rows[] = {
      {u"C:\\Temp\\pvc4711.tmp", u"pvc4711.tmp", u"C:\\Temp\\", u".tmp"},
      {u"C:pvc.c", u"pvc.c", u"C:", u".c"},
      {u"C:\\dir.d\\Makefile", u"Makefile", u"C:\\dir.d\\", u""},
      {u"name", u"name", u"", u""},
      {u"a.b.c", u"a.b.c", u"", u".c"},
      {u"", u"", u"", u""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(FileNameOf(r.path), r.name) << ToUtf8(r.path);
    EXPECT_EQ(DirectoryOf(r.path), r.dir) << ToUtf8(r.path);
    EXPECT_EQ(ExtensionOf(r.path), r.ext) << ToUtf8(r.path);
  }
  EXPECT_EQ(ChangeExtension(u"C:\\Temp\\pvc4711.tmp", u".c"), u"C:\\Temp\\pvc4711.c");
  EXPECT_EQ(ChangeExtension(u"C:\\Temp\\pvc4711.tmp", u""), u"C:\\Temp\\pvc4711");
  EXPECT_EQ(ChangeExtension(u"C:\\a.d\\pvc", u".c"), u"C:\\a.d\\pvc.c");
}

TEST(AsciiFolding, OnlyLettersAToZFold) {
  EXPECT_TRUE(EqualsIgnoreAsciiCase(u"bcomp.EXE", u"BComp.exe"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase(u"\u00e4", u"\u00c4"));
  EXPECT_EQ(UpperAscii(u"c:\\t\u00e4mp"), u"C:\\T\u00e4MP");
}

TEST(Format, FillsPlaceholdersInOrder) {
  EXPECT_EQ(Format(u"Failed to get data for '%s'", {Text(u"UseBC2")}),
            u"Failed to get data for 'UseBC2'");
  EXPECT_EQ(Format(u"%s (%d)%s", {Text(u"C:\\Temp\\pvc4711"), int64_t{2}, Text(u".c")}),
            u"C:\\Temp\\pvc4711 (2).c");
  EXPECT_EQ(Format(u"100%% %s", {}), u"100% %s");
}

TEST(SystemErrorMessage, TrimsSystemTextAndHandlesCodeZero) {
  EXPECT_EQ(SystemErrorMessage(2, u"The system cannot find the file specified. \r\n"),
            u"System Error.  Code: 2.\r\nThe system cannot find the file specified");
  EXPECT_EQ(SystemErrorMessage(0, u"anything"), u"A call to an OS function failed");
}

TEST(Utf8, RoundTripsSurrogatePairs) {
  Text text = u"a\u00e9\u20ac\U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

}  // namespace
}  // namespace velmora
