#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/MemoryPlatform.h"
#include "request/FileInfoBuilder.h"
#include "support/Errors.h"

namespace velmora {
namespace {

const Text kPvcsFile = u"C:\\Temp\\pvc4711.tmp";

class FileInfoBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mem.files.AddDirectory(u"C:\\Temp");  // the temporary directory by default
    mem.environment.SetVariable(u"APPDATA", u"C:\\Users\\u\\AppData\\Roaming");
  }
  TFileInfo Build(const Text& path, const Text& title, bool isBC3 = false) {
    return BuildFileInfo(mem.platform, isBC3, path, title);
  }
  platform::MemoryPlatform mem;
};

TEST_F(FileInfoBuilderTest, UnrecognisedTitleLeavesThePvcsFileReadOnly) {
  mem.files.AddFile(kPvcsFile);
  for (const Text& title : {Text(), Text(u"File 1: Makefile")}) {
    TFileInfo info = Build(kPvcsFile, title);
    EXPECT_EQ(info.FileFromPVCS, kPvcsFile);
    EXPECT_EQ(info.CaptionForBC, title);
    EXPECT_EQ(info.Version, u"");
    EXPECT_EQ(info.FileForBC, kPvcsFile);
    EXPECT_TRUE(info.ReadOnly);
    EXPECT_FALSE(info.UseHelper);
  }
  EXPECT_EQ(mem.files.Files(), std::vector<Text>{kPvcsFile});
}

TEST_F(FileInfoBuilderTest, WorkingFileFoundThroughTheTitle) {
  mem.files.AddFile(u"C:\\work\\main.c", "mine");
  mem.files.SetCurrentDir(u"C:\\work");
  const Text pvcs = u"C:\\p\\x.tmp";
  struct Row {
    Text title, fileFromPvcs, caption, version;
    bool readOnly;
  } rows[] = {
      {u"C:\\work\\main.c", u"C:\\work\\main.c", u"main.c", u" (workfile)", false},
      {u"C:\\work\\main.c - Ancestor", u"C:\\work\\main.c", u"main.c", u" (workfile)", false},
      {u"C:\\work\\main.c;1.4 - Derivative", u"C:\\work\\main.c", u"main.c", u" (workfile)", false},
      {u"main.c", pvcs, u"main.c", u"", true},  // relative: not taken as the working file
  };
  for (const auto& r : rows) {
    mem.files.AddFile(pvcs);
    mem.files.Delete(u"C:\\p\\x.c");
    TFileInfo info = Build(pvcs, r.title);
    EXPECT_EQ(info.FileFromPVCS, r.fileFromPvcs) << ToUtf8(r.title);
    EXPECT_EQ(info.CaptionForBC, r.caption) << ToUtf8(r.title);
    EXPECT_EQ(info.Version, r.version) << ToUtf8(r.title);
    EXPECT_EQ(info.ReadOnly, r.readOnly) << ToUtf8(r.title);
    EXPECT_EQ(info.FileForBC, r.readOnly ? u"C:\\p\\x.c" : u"C:\\work\\main.c") << ToUtf8(r.title);
  }
  EXPECT_EQ(mem.files.ContentString(u"C:\\work\\main.c"), "mine");
}

TEST_F(FileInfoBuilderTest, ComparisonCopyNaming) {
  struct Row {
    const char* what;
    Text caption;
    Text pvcsFile;
    std::vector<Text> present;
    bool isBC3;
    bool failMove;
    Text fileForBC;
    bool moved, useHelper;
  } rows[] = {
      {"plain", u"main.c", kPvcsFile, {}, false, false, u"C:\\Temp\\pvc4711.c", true, false},
      {"taken once",
       u"main.c",
       kPvcsFile,
       {u"C:\\Temp\\pvc4711.c"},
       false,
       false,
       u"C:\\Temp\\pvc4711 (1).c",
       true,
       false},
      {"taken twice",
       u"main.c",
       kPvcsFile,
       {u"C:\\Temp\\pvc4711.c", u"C:\\Temp\\pvc4711 (1).c"},
       false,
       false,
       u"C:\\Temp\\pvc4711 (2).c",
       true,
       false},
      {"no extension", u"Makefile", kPvcsFile, {}, false, false, u"C:\\Temp\\pvc4711", true, false},
      {"already right",
       u"main.c",
       u"C:\\Temp\\pvc4711.c",
       {},
       false,
       false,
       u"C:\\Temp\\pvc4711.c",
       false,
       false},
      {"case differs",
       u"main.c",
       u"C:\\Temp\\pvc4711.C",
       {},
       false,
       false,
       u"C:\\Temp\\pvc4711 (1).c",
       true,
       false},
      {"archive, BC3",
       u"lib.zip",
       kPvcsFile,
       {},
       true,
       false,
       u"C:\\Temp\\pvc4711.zip",
       true,
       true},
      {"archive already named, BC3",
       u"lib.zip",
       u"C:\\Temp\\pvc4711.zip",
       {},
       true,
       false,
       u"C:\\Temp\\pvc4711 (1).zip",
       true,
       true},
      {"archive, BC2",
       u"lib.zip",
       kPvcsFile,
       {},
       false,
       false,
       u"C:\\Temp\\pvc4711.zip",
       true,
       false},
      {"move fails", u"main.c", kPvcsFile, {}, false, true, kPvcsFile, false, false},
      {"archive outside temp, BC3",
       u"lib.zip",
       u"C:\\p\\pvc4711.zip",
       {},
       true,
       false,
       u"C:\\p\\pvc4711.zip",
       false,
       false},
      {"archive, BC3, move fails", u"lib.zip", kPvcsFile, {}, true, true, kPvcsFile, false, true},
  };
  for (const auto& r : rows) {
    platform::MemoryPlatform fresh;
    fresh.files.AddDirectory(u"C:\\Temp");
    fresh.files.AddFile(r.pvcsFile, "pvcs");
    for (const Text& p : r.present) fresh.files.AddFile(p, "other");
    if (r.failMove) fresh.files.FailMoves();
    TFileInfo info = BuildFileInfo(fresh.platform, r.isBC3, r.pvcsFile, r.caption + u";1.4");
    EXPECT_EQ(info.FileFromPVCS, r.pvcsFile) << r.what;
    EXPECT_EQ(info.FileForBC, r.fileForBC) << r.what;
    EXPECT_EQ(info.UseHelper, r.useHelper) << r.what;
    EXPECT_EQ(fresh.files.ContentString(r.fileForBC), "pvcs") << r.what;
    EXPECT_EQ(!fresh.files.Exists(r.pvcsFile), r.moved) << r.what;
    EXPECT_EQ(fresh.files.Files().size(), r.present.size() + 1) << r.what;
  }
}

// The search for a free name ends after kFreeNameTries numbered names; when all are taken the
// side stays on the PVCS file, as after a failed move.
TEST_F(FileInfoBuilderTest, FreeNameSearchGivesUpAfterItsTries) {
  for (bool lastFree : {true, false}) {
    platform::MemoryPlatform fresh;
    fresh.files.AddFile(kPvcsFile, "pvcs");
    fresh.files.AddFile(u"C:\\Temp\\pvc4711.c");
    for (int64_t n = 1; n < kFreeNameTries + (lastFree ? 0 : 1); ++n)
      fresh.files.AddFile(u"C:\\Temp\\pvc4711 (" + FromUtf8(std::to_string(n)) + u").c");
    TFileInfo info = BuildFileInfo(fresh.platform, false, kPvcsFile, u"main.c;1.4");
    const Text last = u"C:\\Temp\\pvc4711 (" + FromUtf8(std::to_string(kFreeNameTries)) + u").c";
    EXPECT_EQ(info.FileForBC, lastFree ? last : kPvcsFile) << lastFree;
    EXPECT_EQ(info.Moved, lastFree) << lastFree;
    EXPECT_EQ(fresh.files.ContentString(info.FileForBC), "pvcs") << lastFree;
  }
}

// The user's own working file in the temporary directory, compared with Beyond Compare 3 and
// looking like an archive: it keeps its name and is not handed to the deletion server.
TEST_F(FileInfoBuilderTest, WorkingFileIsNeverMovedNorMarkedForDeletion) {
  const Text work = u"C:\\Temp\\project\\lib.zip";
  mem.files.AddFile(work, "mine");
  mem.files.AddFile(kPvcsFile, "pvcs");
  for (const Text& title : {work, work + u";1.4 - Derivative"}) {
    TFileInfo info = Build(kPvcsFile, title, /*isBC3=*/true);
    EXPECT_FALSE(info.ReadOnly);
    EXPECT_EQ(info.FileFromPVCS, work);
    EXPECT_EQ(info.FileForBC, work);
    EXPECT_FALSE(info.UseHelper);
    EXPECT_EQ(mem.files.ContentString(work), "mine");
  }
  EXPECT_EQ(mem.files.Files().size(), 2u);
}

TEST_F(FileInfoBuilderTest, InvalidArchiveMaskEndsTheBuild) {
  mem.files.AddFile(
      u"C:\\Users\\u\\AppData\\Roaming\\Scooter Software\\Beyond Compare 3\\"
      u"BCPreferences.xml",
      "<Zip Value=\"[\"/>");
  mem.files.AddFile(kPvcsFile);
  try {
    Build(kPvcsFile, u"File 1: lib.zip", /*isBC3=*/true);
    FAIL() << "no error";
  } catch (const EVelmora& e) {
    EXPECT_EQ(e.Message(), u"'[' is an invalid mask at (2)");
  }
  EXPECT_TRUE(mem.files.Exists(kPvcsFile));
}

}  // namespace
}  // namespace velmora
