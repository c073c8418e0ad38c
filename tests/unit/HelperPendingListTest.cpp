#include <gtest/gtest.h>

#include "helper/PendingList.h"
#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryFileSystem.h"

namespace velmora {
namespace {

const Text kList = u"C:\\Users\\Ann\\AppData\\Local\\Velmora\\VelmoraHelper.pending";

TEST(PendingListFormat, OnePathPerLineAfterTheHeaderInUtf8) {
  std::vector<Text> paths{u"C:\\Temp\\a.zip", u"C:\\Temp\\Gr\u00f6\u00dfe \u65e5.zip"};
  std::string bytes = FormatPendingList(paths);
  EXPECT_EQ(bytes,
            "VelmoraHelper pending deletions 1\r\nC:\\Temp\\a.zip\r\n"
            "C:\\Temp\\Gr\xC3\xB6\xC3\x9F"
            "e \xE6\x97\xA5.zip\r\n");
  EXPECT_EQ(ParsePendingList(bytes), paths);
  EXPECT_EQ(FormatPendingList({}), "VelmoraHelper pending deletions 1\r\n");
}

TEST(PendingListFormat, ReadsCompleteLinesOnly) {
  struct Row {
    const char* name;
    std::string bytes;
    std::vector<Text> paths;
  } rows[] = {
      {"empty file", "", {}},
      {"header only", "VelmoraHelper pending deletions 1\r\n", {}},
      {"torn last line",
       "VelmoraHelper pending deletions 1\r\nC:\\T\\a.zip\r\nC:\\T\\b.z",
       {u"C:\\T\\a.zip"}},
      {"torn header", "VelmoraHelper pend", {}},
      {"line feeds and blank lines",
       "VelmoraHelper pending deletions 1\n\nC:\\T\\a.zip\n\r\n",
       {u"C:\\T\\a.zip"}},
      {"no header", "C:\\T\\a.zip\r\n", {u"C:\\T\\a.zip"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ParsePendingList(row.bytes), row.paths);
  }
}

TEST(PendingListFormat, MergeKeepsTheFirstListsOrderAndDropsRepeats) {
  EXPECT_EQ(MergePaths({u"C:\\T\\b.zip", u"C:\\T\\a.zip", u"c:\\t\\B.ZIP"},
                       {u"C:\\T\\A.zip", u"C:\\T\\c.zip"}),
            (std::vector<Text>{u"C:\\T\\b.zip", u"C:\\T\\a.zip", u"C:\\T\\c.zip"}));
}

class PendingListOnDisk : public testing::Test {
 protected:
  PendingListOnDisk() {
    environment.SetVariable(u"LOCALAPPDATA", u"C:\\Users\\Ann\\AppData\\Local");
    environment.SetTempPath(u"C:\\Users\\Ann\\AppData\\Local\\Temp\\");
    files.AddDirectory(u"C:\\Users\\Ann\\AppData\\Local\\Temp");
  }
  platform::MemoryFileSystem files;
  platform::MemoryEnvironment environment;
};

TEST_F(PendingListOnDisk, LivesUnderLocalAppDataAndMakesItsFolder) {
  PendingListFile list(files, environment);
  EXPECT_EQ(list.Path(), kList);
  EXPECT_TRUE(list.Read().empty());
  ASSERT_EQ(list.Write({u"C:\\T\\a.zip"}), 0u);
  EXPECT_EQ(files.ContentString(kList), "VelmoraHelper pending deletions 1\r\nC:\\T\\a.zip\r\n");
  EXPECT_EQ(list.Read(), std::vector<Text>{u"C:\\T\\a.zip"});
  EXPECT_FALSE(files.Exists(kList + u".new"));
}

TEST_F(PendingListOnDisk, WithoutLocalAppDataLivesInTheTemporaryDirectory) {
  environment.RemoveVariable(u"LOCALAPPDATA");
  PendingListFile list(files, environment);
  EXPECT_EQ(list.Path(), u"C:\\Users\\Ann\\AppData\\Local\\Temp\\VelmoraHelper.pending");
}

TEST_F(PendingListOnDisk, TornReplacementKeepsThePreviousList) {
  PendingListFile list(files, environment);
  ASSERT_EQ(list.Write({u"C:\\T\\a.zip", u"C:\\T\\b.zip"}), 0u);
  files.TearNextReplace();
  EXPECT_NE(list.Write({u"C:\\T\\a.zip", u"C:\\T\\b.zip", u"C:\\T\\c.zip"}), 0u);
  EXPECT_EQ(files.ContentString(kList),
            "VelmoraHelper pending deletions 1\r\nC:\\T\\a.zip\r\nC:\\T\\b.zip\r\n");
  // What the torn ".new" holds in complete lines is read as well; then it can go.
  EXPECT_EQ(list.Read(), (std::vector<Text>{u"C:\\T\\a.zip", u"C:\\T\\b.zip"}));
  list.DropLeftover();
  EXPECT_FALSE(files.Exists(kList + u".new"));
}

TEST_F(PendingListOnDisk, CompleteLeftoverOfAnInterruptedReplacementIsMerged) {
  PendingListFile list(files, environment);
  ASSERT_EQ(list.Write({u"C:\\T\\a.zip"}), 0u);
  files.AddFile(kList + u".new", FormatPendingList({u"C:\\T\\a.zip", u"C:\\T\\b.zip"}));
  EXPECT_EQ(list.Read(), (std::vector<Text>{u"C:\\T\\a.zip", u"C:\\T\\b.zip"}));
}

TEST_F(PendingListOnDisk, ListThatCannotBeReplacedStaysAsItWas) {
  PendingListFile list(files, environment);
  ASSERT_EQ(list.Write({u"C:\\T\\a.zip"}), 0u);
  files.Lock(kList);
  EXPECT_NE(list.Write({}), 0u);
  files.Unlock(kList);
  EXPECT_EQ(list.Read(), std::vector<Text>{u"C:\\T\\a.zip"});
}

}  // namespace
}  // namespace velmora
