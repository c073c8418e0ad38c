#include <gtest/gtest.h>

#include "platform/memory/MemoryPlatform.h"
#include "request/SideAssignment.h"
#include "settings/Settings.h"
#include "support/Errors.h"

namespace velmora {
namespace {

using platform::Hive;

const Text kParams = u"C:\\p\\params.txt";

class SideAssignmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mem.files.AddDirectory(u"C:\\Temp");
    mem.files.AddFile(u"C:\\Temp\\anc.tmp", "a");
    mem.files.AddFile(u"C:\\Temp\\der.tmp", "d");
  }
  void Params(std::string_view content) { mem.files.AddFile(kParams, content); }
  Text Error() {
    try {
      AssignSides(mem.platform, kParams, false);
    } catch (const EVelmora& e) {
      return e.Message();
    }
    return u"no error";
  }
  platform::MemoryPlatform mem;
};

const char kTwoEntries[] =
    "[Compare]\r\n"
    "ANCESTOR=\"C:\\Temp\\anc.tmp\",\"File 1: main.c 1.3\"\r\n"
    "DERIVATIVES=\"C:\\Temp\\der.tmp\",\"File 2: main.c 1.4\"\r\n";

TEST_F(SideAssignmentTest, OrientationPicksTheLeftEntry) {
  struct Row {
    const char* what;
    void (*setup)(platform::MemoryRegistry&);
    bool ancestorLeft;
  } rows[] = {
      {"no settings key", [](platform::MemoryRegistry&) {}, false},
      {"key without the value",
       [](platform::MemoryRegistry& r) { r.AddKey(Hive::CurrentUser, kSettingsKey); }, false},
      {"value false",
       [](platform::MemoryRegistry& r) {
         r.SetDword(Hive::CurrentUser, kSettingsKey, kValueAncestorLeft, 0);
       },
       false},
      {"value true",
       [](platform::MemoryRegistry& r) {
         r.SetDword(Hive::CurrentUser, kSettingsKey, kValueAncestorLeft, 1);
       },
       true},
      {"key cannot be opened",
       [](platform::MemoryRegistry& r) {
         r.SetDword(Hive::CurrentUser, kSettingsKey, kValueAncestorLeft, 1);
         r.DenyOpen(Hive::CurrentUser, kSettingsKey);
       },
       false},
  };
  for (const auto& r : rows) {
    platform::MemoryPlatform fresh;
    fresh.files.AddFile(kParams, kTwoEntries);
    fresh.files.AddFile(u"C:\\Temp\\anc.tmp");
    fresh.files.AddFile(u"C:\\Temp\\der.tmp");
    r.setup(fresh.registry);
    ComparisonSides sides = AssignSides(fresh.platform, kParams, false);
    EXPECT_EQ(sides.LeftInfo.Version, r.ancestorLeft ? u" (Rev. 1.3)" : u" (Rev. 1.4)") << r.what;
    EXPECT_EQ(sides.RightInfo.Version, r.ancestorLeft ? u" (Rev. 1.4)" : u" (Rev. 1.3)") << r.what;
    EXPECT_EQ(sides.LeftInfo.FileForBC, r.ancestorLeft ? u"C:\\Temp\\anc.c" : u"C:\\Temp\\der.c")
        << r.what;
    EXPECT_EQ(fresh.registry.OpenKeyCount(), 0) << r.what;
  }
}

// A run starts only with a choice in force; the user's own leaves the machine-wide key unread.
TEST_F(SideAssignmentTest, BcArgsReadWithTheSameAccess) {
  Params(kTwoEntries);
  mem.registry.SetDword(Hive::CurrentUser, kSettingsKey, kValueUseBC2, 1);
  mem.registry.SetString(Hive::CurrentUser, kSettingsKey, kValueBCArgs, u"/fv");
  EXPECT_EQ(AssignSides(mem.platform, kParams, false).BC_Args, u"/fv");
  EXPECT_EQ(mem.registry.Accesses().size(), 1u);
}

TEST_F(SideAssignmentTest, AncestorLeftOfTheWrongTypeEndsTheRun) {
  Params(kTwoEntries);
  mem.registry.SetString(Hive::CurrentUser, kSettingsKey, kValueAncestorLeft, u"1");
  EXPECT_EQ(Error(), u"Invalid data type for 'AncestorLeft'");
  EXPECT_EQ(mem.registry.OpenKeyCount(), 0);
}

TEST_F(SideAssignmentTest, ShortEntriesStopTheRunAtIndexOne) {
  const char* files[] = {
      "",                                   // empty file
      "\xFF\xFE",                           // only a mark
      "DERIVATIVES=\"C:\\Temp\\der.tmp\"",  // one item
      "ANCESTOR=\"C:\\Temp\\anc.tmp\",\"t\"\nDERIVATIVES=\"C:\\Temp\\der.tmp\", ",
      "\x01\x02\xFF\x80garbage=\x81\x8D\x8F",
  };
  for (const char* content : files) {
    Params(content);
    EXPECT_EQ(Error(), u"List index out of bounds (1)") << content;
  }
}

TEST_F(SideAssignmentTest, RightSideFailureLeavesTheLeftSideMoved) {
  Params("DERIVATIVES=\"C:\\Temp\\der.tmp\",\"File 2: main.c 1.4\"\r\n");
  EXPECT_EQ(Error(), u"List index out of bounds (1)");
  EXPECT_TRUE(mem.files.Exists(u"C:\\Temp\\der.c"));
  EXPECT_FALSE(mem.files.Exists(u"C:\\Temp\\der.tmp"));
}

// A copy never takes the other side's PVCS name, nor a reserved one such as the run log's, even
// while that name is free; every move is recorded.
TEST_F(SideAssignmentTest, CopiesKeepOffReservedAndCrossingNames) {
  struct Row {
    const char* what;
    const char* parameters;
    std::vector<Text> present;
    Text leftForBC, rightForBC;
  } rows[] = {
      {"sides that would trade names",
       "ANCESTOR=\"C:\\Temp\\s.tmp\",\"File 1: s.c 1.4\"\r\n"
       "DERIVATIVES=\"C:\\Temp\\s.c\",\"File 2: s.h 1.5\"\r\n",
       {u"C:\\Temp\\s.tmp", u"C:\\Temp\\s.c"},
       u"C:\\Temp\\s.h",
       u"C:\\Temp\\s (1).c"},
      {"the same, written in other letter case and with a slash",
       "ANCESTOR=\"C:\\Temp\\s.tmp\",\"File 1: S.C 1.4\"\r\n"
       "DERIVATIVES=\"c:/temp/s.c\",\"File 2: s.h 1.5\"\r\n",
       {u"C:\\Temp\\s.tmp", u"C:\\Temp\\s.c"},
       u"c:/temp/s.h",
       u"C:\\Temp\\s (1).C"},
      {"a caption naming the run log",
       "ANCESTOR=\"C:\\Temp\\anc.tmp\",\"File 1: main.c 1.3\"\r\n"
       "DERIVATIVES=\"C:\\Temp\\Velmora.tmp\",\"File 2: Velmora.log 1.4\"\r\n",
       {u"C:\\Temp\\Velmora.tmp", u"C:\\Temp\\anc.tmp"},
       u"C:\\Temp\\Velmora (1).log",
       u"C:\\Temp\\anc.c"},
  };
  for (const auto& r : rows) {
    platform::MemoryPlatform fresh;
    fresh.files.AddFile(kParams, r.parameters);
    for (const Text& file : r.present) fresh.files.AddFile(file, ToUtf8(file));
    MoveJournal moves;
    ComparisonSides sides =
        AssignSides(fresh.platform, kParams, false, {u"C:\\Temp\\Velmora.log"}, &moves);
    EXPECT_EQ(sides.LeftInfo.FileForBC, r.leftForBC) << r.what;
    EXPECT_EQ(sides.RightInfo.FileForBC, r.rightForBC) << r.what;
    EXPECT_TRUE(sides.LeftInfo.Moved && sides.RightInfo.Moved) << r.what;
    ASSERT_EQ(moves.Moves().size(), 2u) << r.what;
    EXPECT_EQ(moves.Moves()[0].to, r.leftForBC) << r.what;
    EXPECT_EQ(moves.Moves()[1].to, r.rightForBC) << r.what;
    EXPECT_FALSE(fresh.files.Exists(sides.LeftInfo.FileFromPVCS)) << r.what;
    EXPECT_FALSE(fresh.files.Exists(sides.RightInfo.FileFromPVCS)) << r.what;
  }
}

TEST_F(SideAssignmentTest, UnreadableParameterFileTouchesNothing) {
  Params(kTwoEntries);
  mem.files.LockForWriting(kParams);
  EXPECT_EQ(Error(),
            u"Cannot open file \"C:\\p\\params.txt\". The process cannot access the file because "
            u"it is being used by another process");
  EXPECT_TRUE(mem.registry.Accesses().empty());
}

TEST_F(SideAssignmentTest, EmptyTitleGivesAReadOnlySideWithoutCopy) {
  Params("ANCESTOR=\"C:\\Temp\\anc.tmp\",\"t\"\r\nDERIVATIVES=\"C:\\Temp\\der.tmp\",\r\n");
  ComparisonSides sides = AssignSides(mem.platform, kParams, false);
  EXPECT_EQ(sides.LeftInfo.FileForBC, u"C:\\Temp\\der.tmp");
  EXPECT_EQ(sides.LeftInfo.CaptionForBC, u"");
  EXPECT_TRUE(sides.LeftInfo.ReadOnly);
}

}  // namespace
}  // namespace velmora
