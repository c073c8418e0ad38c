#include <gtest/gtest.h>

#include "launch/CommandLine.h"

namespace velmora {
namespace {

TFileInfo Side(Text file, Text caption, Text version, bool readOnly) {
  TFileInfo info;
  info.FileFromPVCS = file;
  info.FileForBC = file;
  info.CaptionForBC = caption;
  info.Version = version;
  info.ReadOnly = readOnly;
  return info;
}

const Text kProgram = u"C:\\Program Files\\Beyond Compare 3\\BComp.exe";
const Text kHead =
    u"\"C:\\Program Files\\Beyond Compare 3\\BComp.exe\" \"C:\\Temp\\pvc1.c\" \"C:\\Work\\main.c\"";

TEST(CommandLine, FillsTheTemplateAndTrimsBothEnds) {
  struct Row {
    const char* name;
    bool leftReadOnly, rightReadOnly;
    Text bcArgs;
    Text tail;  // everything after the program and both files
  } rows[] = {
      {"no switches, no arguments: ends with the title's quote", false, false, u"",
       u" /title1=\"main.c Rev 1.4\" /title2=\"main.c (workfile)\""},
      {"right read-only only: two blanks before /rro", false, true, u"",
       u" /title1=\"main.c Rev 1.4\" /title2=\"main.c (workfile)\"  /rro"},
      {"left read-only only: trailing blanks trimmed", true, false, u"",
       u" /title1=\"main.c Rev 1.4\" /title2=\"main.c (workfile)\" /lro"},
      {"both switches before the arguments", true, true, u"/fv=\"Text Compare\"",
       u" /title1=\"main.c Rev 1.4\" /title2=\"main.c (workfile)\" /lro /rro /fv=\"Text Compare\""},
      {"arguments without switches keep both inner blanks", false, false, u"/solo",
       u" /title1=\"main.c Rev 1.4\" /title2=\"main.c (workfile)\"   /solo"},
      {"blanks and tabs around the arguments go", false, false, u"/solo \t ",
       u" /title1=\"main.c Rev 1.4\" /title2=\"main.c (workfile)\"   /solo"},
  };
  for (const auto& r : rows) {
    TFileInfo left = Side(u"C:\\Temp\\pvc1.c", u"main.c", u" Rev 1.4", r.leftReadOnly);
    TFileInfo right = Side(u"C:\\Work\\main.c", u"main.c", u" (workfile)", r.rightReadOnly);
    EXPECT_EQ(BuildCommandLine(kProgram, left, right, r.bcArgs), kHead + r.tail) << r.name;
  }
}

TEST(CommandLine, AQuoteInATitleCannotEndItEarly) {
  // A label is free text other users set; "...\" /fv=\"x" would otherwise add a switch.
  TFileInfo left = Side(u"C:\\Temp\\pvc1.c", u"main.c", u" Label \"x\" /fv=\"evil", true);
  TFileInfo right = Side(u"C:\\Work\\main.c", u"ma\"in.c", u" (workfile)", false);
  EXPECT_EQ(BuildCommandLine(kProgram, left, right, u"/x=\"y\""),
            kHead +
                u" /title1=\"main.c Label 'x' /fv='evil\" /title2=\"ma'in.c (workfile)\" /lro "
                u" /x=\"y\"");
}

TEST(CommandLine, AQuoteInAFilePathCannotAddSwitches) {
  // An entry such as "<temp>\pvc2.tmp"" /lro /x=""y","" gives a path with quotes and no title,
  // so the path itself reaches the command line.
  TFileInfo left = Side(u"C:\\Temp\\pvc2.tmp\" /lro /x=\"y", u"", u"", true);
  TFileInfo right = Side(u"C:\\Work\\main.c", u"main.c", u" (workfile)", false);
  EXPECT_EQ(BuildCommandLine(kProgram, left, right, u""),
            u"\"C:\\Program Files\\Beyond Compare 3\\BComp.exe\" \"C:\\Temp\\pvc2.tmp' /lro "
            u"/x='y\" \"C:\\Work\\main.c\" /title1=\"\" /title2=\"main.c (workfile)\" /lro");
  EXPECT_EQ(left.FileForBC, u"C:\\Temp\\pvc2.tmp\" /lro /x=\"y") << "the side keeps its name";
}

TEST(CommandLine, ReadOnlySwitches) {
  EXPECT_EQ(LeftReadOnlySwitch(Side(u"a", u"", u"", true)), u"/lro");
  EXPECT_EQ(LeftReadOnlySwitch(Side(u"a", u"", u"", false)), u"");
  EXPECT_EQ(RightReadOnlySwitch(Side(u"a", u"", u"", true)), u"/rro");
  EXPECT_EQ(RightReadOnlySwitch(Side(u"a", u"", u"", false)), u"");
}

}  // namespace
}  // namespace velmora
