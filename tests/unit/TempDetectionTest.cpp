#include <gtest/gtest.h>

#include "disposal/TempDetection.h"
#include "platform/memory/MemoryPlatform.h"

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

TEST_F(IsInTempDirTest, UnknownTempDirMakesEveryAnswerFalse) {
  mem.environment.FailTempPath();
  EXPECT_FALSE(IsInTempDir(mem.platform, u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\a.c"));
}

}  // namespace
}  // namespace velmora
