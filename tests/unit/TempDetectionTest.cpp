#include <gtest/gtest.h>

#include "disposal/TempDetection.h"
#include "platform/memory/MemoryPlatform.h"
#include "support/PathNormal.h"

namespace velmora {
namespace {

class IsInTempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mem.files.AddDirectory(u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\sub");
    mem.files.AddDirectory(u"C:\\Users\\Long Name\\AppData\\Local\\Temp2");
    mem.files.AddDirectory(u"C:\\Work");
    mem.files.SetAlternateName(u"C:\\Users\\Long Name", u"LONGNA~1");
  }
  void CheckTable() {
    struct Row {
      Text file;
      bool inTemp;
    } rows[] = {
        {u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\pvc1.c", true},
        {u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp\\sub\\pvc1.c", true},
        {u"c:\\users\\longna~1\\appdata\\local\\temp\\pvc1.c", true},
        {u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp2\\pvc1.c", false},
        {u"C:\\Work\\main.c", false},
        {u"pvc1.c", false},
    };
    for (const auto& r : rows)
      EXPECT_EQ(IsInTempDir(mem.platform, r.file), r.inTemp) << ToUtf8(r.file);
  }
  platform::MemoryPlatform mem;
};

TEST_F(IsInTempDirTest, TempDirReportedInShortForm) {
  mem.environment.SetTempPath(u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp\\");
  CheckTable();
}

TEST_F(IsInTempDirTest, TempDirReportedInLongForm) {
  mem.environment.SetTempPath(u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\");
  CheckTable();
}

// The test is made on the place a name leads to, not on its spelling.
TEST_F(IsInTempDirTest, JudgesTheNormalisedFullPath) {
  mem.environment.SetTempPath(u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp\\");
  mem.files.AddDirectory(u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\acc");
  struct Row {
    Text file;
    bool inTemp;
  } rows[] = {
      {u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\acc\\..\\..\\..\\..\\..\\Work\\data.tmp",
       false},
      {u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\acc\\..\\pvc1.c", true},
      {u"C:\\Work\\..\\Users\\LONGNA~1\\AppData\\Local\\Temp\\pvc1.c", true},
      {u"C:/Users/Long Name/AppData/Local/Temp/acc/pvc2.tmp", true},
      {u"C:/Users/Long Name/AppData/Local/Temp2/pvc2.tmp", false},
      {u"\\\\?\\C:\\Users\\Long Name\\AppData\\Local\\Temp\\pvc2.tmp", true},
      {u"\\\\?\\C:\\Work\\pvc2.tmp", false},
      {u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\.\\sub\\.\\pvc1.c", true},
  };
  for (const auto& r : rows)
    EXPECT_EQ(IsInTempDir(mem.platform, r.file), r.inTemp) << ToUtf8(r.file);

  // A relative name leads where the file operations take it: into the current folder.
  EXPECT_FALSE(IsInTempDir(mem.platform, u"pvc1.c"));
  ASSERT_TRUE(mem.files.SetCurrentDir(u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\acc"));
  EXPECT_TRUE(IsInTempDir(mem.platform, u"pvc1.c"));
  EXPECT_TRUE(IsInTempDir(mem.platform, u"..\\pvc1.c"));
  EXPECT_FALSE(IsInTempDir(mem.platform, u"..\\..\\pvc1.c"));
}

TEST(PathNormal, NormalisedFullPathAndSameFileName) {
  platform::MemoryPlatform mem;
  mem.files.AddDirectory(u"C:\\Work\\Long Folder");
  mem.files.SetAlternateName(u"C:\\Work\\Long Folder", u"LONGFO~1");
  ASSERT_TRUE(mem.files.SetCurrentDir(u"C:\\Work"));
  struct Row {
    Text given, full;
  } rows[] = {
      {u"C:\\Work\\a.c", u"C:\\Work\\a.c"},
      {u"C:/Work/x/../a.c", u"C:\\Work\\a.c"},
      {u"\\\\?\\C:\\Work\\a.c", u"C:\\Work\\a.c"},
      {u"\\\\?\\UNC\\server\\share\\a.c", u"\\\\server\\share\\a.c"},
      {u"a.c", u"C:\\Work\\a.c"},
      {u"..\\a.c", u"C:\\a.c"},
      {u"\u00C3:\\Temp\\x\\..\\a (1).c", u"\u00C3:\\Temp\\a (1).c"},  // no such drive
      {u"", u""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(NormalisedFullPath(mem.files, r.given), r.full) << ToUtf8(r.given);

  EXPECT_TRUE(SameFileName(mem.files, mem.locale, u"C:\\Work\\Long Folder\\Velmora.log",
                           u"c:/work/LONGFO~1/VELMORA.LOG"));
  EXPECT_TRUE(SameFileName(mem.files, mem.locale, u"Long Folder\\s.c",
                           u"\\\\?\\C:\\Work\\Long Folder\\S.C"));
  EXPECT_FALSE(SameFileName(mem.files, mem.locale, u"C:\\Work\\s.c", u"C:\\Work\\s.h"));
  EXPECT_FALSE(
      SameFileName(mem.files, mem.locale, u"C:\\Work\\s.c", u"C:\\Work\\Long Folder\\s.c"));
}

TEST_F(IsInTempDirTest, UnknownTempDirMakesEveryAnswerFalse) {
  mem.environment.FailTempPath();
  EXPECT_FALSE(IsInTempDir(mem.platform, u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\a.c"));
}

}  // namespace
}  // namespace velmora
