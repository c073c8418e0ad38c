#include <gtest/gtest.h>

#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryFileSystem.h"

namespace velmora::platform {
namespace {

class MemoryFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFile(u"C:\\Work\\Main.c", "main");
    files.AddDirectory(u"C:\\Work\\Long Folder Name");
    files.SetAlternateName(u"C:\\Work\\Long Folder Name", u"LONG~ZAT");
    files.AddFile(u"C:\\Work\\Long Folder Name\\Report.txt", "report");
    files.AddFile(u"\\\\server\\share\\remote.txt", "remote");
  }
  MemoryFileSystem files;
};

TEST_F(MemoryFileSystemTest, AttributesResolveCaseInsensitivelyAndByAlternateName) {
  struct Row {
    Text path;
    uint32_t attributes, error;
  } rows[] = {
      {u"c:\\work\\MAIN.C", kAttrArchive, 0},
      {u"C:/Work/Main.c", kAttrArchive, 0},
      {u"C:\\Work\\LONG~ZAT\\report.txt", kAttrArchive, 0},
      {u"C:\\Work\\.\\x\\..\\Main.c", kAttrArchive, 0},
      {u"C:\\Work\\Main.c.", kAttrArchive, 0},
      {u"C:\\Work\\", kAttrDirectory, 0},
      {u"C:\\", kAttrDirectory, 0},
      {u"\\\\SERVER\\Share\\remote.txt", kAttrArchive, 0},
      {u"C:\\Work\\Other.c", kInvalidFileAttributes, kErrorFileNotFound},
      {u"C:\\Missing\\Main.c", kInvalidFileAttributes, kErrorPathNotFound},
      {u"D:\\Main.c", kInvalidFileAttributes, kErrorPathNotFound},
      {u"\u00C3:\\Main.c", kInvalidFileAttributes, kErrorPathNotFound},
      {u"C:\\Work\\Main.c\\", kInvalidFileAttributes, kErrorInvalidName},
      {u"C:\\Work\\Ma*n.c", kInvalidFileAttributes, kErrorInvalidName},
      {u"C:\\Work\\Main.c\\x", kInvalidFileAttributes, kErrorPathNotFound},
  };
  for (const auto& r : rows) {
    uint32_t error = 99;
    EXPECT_EQ(files.Attributes(r.path, &error), r.attributes) << ToUtf8(r.path);
    EXPECT_EQ(error, r.error) << ToUtf8(r.path);
  }
}

TEST_F(MemoryFileSystemTest, RelativePathsFollowTheCurrentDirectory) {
  ASSERT_TRUE(files.SetCurrentDir(u"c:\\work"));
  EXPECT_EQ(files.CurrentDir(), u"C:\\Work");
  EXPECT_EQ(files.Attributes(u"Main.c"), kAttrArchive);
  EXPECT_EQ(files.Attributes(u"C:Main.c"), kAttrArchive);
  EXPECT_EQ(files.Attributes(u"\\Work\\Main.c"), kAttrArchive);
  EXPECT_EQ(files.Attributes(u"..\\Work\\LONG~ZAT"), kAttrDirectory);
  EXPECT_FALSE(files.SetCurrentDir(u"C:\\Work\\Main.c"));
}

TEST_F(MemoryFileSystemTest, FindFirstReportsStoredNameAndAlternate) {
  auto folder = files.FindFirst(u"c:\\work\\long~zat");
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->fileName, u"Long Folder Name");
  EXPECT_EQ(folder->alternateName, u"LONG~ZAT");
  EXPECT_EQ(folder->attributes, kAttrDirectory);

  auto wildcard = files.FindFirst(u"C:\\Work\\*.C");
  ASSERT_TRUE(wildcard);
  EXPECT_EQ(wildcard->fileName, u"Main.c");
  EXPECT_EQ(wildcard->alternateName, u"");

  for (Text path : {u"C:\\Work\\", u"C:\\", u"C:", u"\\\\server\\share", u"\\\\server",
                    u"C:\\Work\\None.c", u"C:\\Work\\*.h", u""})
    EXPECT_FALSE(files.FindFirst(path)) << ToUtf8(path);
}

TEST_F(MemoryFileSystemTest, MoveRules) {
  files.AddFile(u"C:\\Work\\Other.c");
  files.AddFile(u"C:\\Work\\ReadOnly.c", "ro", kAttrReadOnly);
  struct Row {
    Text from, to;
    uint32_t result;
  } rows[] = {
      {u"C:\\Work\\Main.c", u"C:\\Work\\Main.c", 0},
      {u"C:\\Work\\Main.c", u"C:\\Work\\MAIN.C", 0},
      {u"C:\\Work\\MAIN.C", u"C:\\Work\\Other.c", kErrorAlreadyExists},
      {u"C:\\Work\\Missing.c", u"C:\\Work\\New.c", kErrorFileNotFound},
      {u"C:\\Work\\Other.c", u"C:\\Missing\\New.c", kErrorPathNotFound},
      {u"C:\\Work\\Other.c", u"C:\\Work\\Bad|Name.c", kErrorInvalidName},
      {u"C:\\Work\\ReadOnly.c", u"C:\\Work\\LONG~ZAT\\Moved.c", 0},
  };
  for (const auto& r : rows)
    EXPECT_EQ(files.Move(r.from, r.to), r.result) << ToUtf8(r.from) << " -> " << ToUtf8(r.to);
  EXPECT_EQ(files.FindFirst(u"C:\\Work\\main.c")->fileName, u"MAIN.C");
  EXPECT_EQ(files.ContentString(u"C:\\Work\\Long Folder Name\\Moved.c"), "ro");
  EXPECT_EQ(files.AttributesOf(u"C:\\Work\\Long Folder Name\\Moved.c"), kAttrReadOnly);
  EXPECT_FALSE(files.Exists(u"C:\\Work\\ReadOnly.c"));
}

TEST_F(MemoryFileSystemTest, DeleteRules) {
  files.AddFile(u"C:\\Work\\ReadOnly.c", "", kAttrReadOnly);
  EXPECT_EQ(files.Delete(u"C:\\Work\\ReadOnly.c"), kErrorAccessDenied);
  EXPECT_EQ(files.Delete(u"C:\\Work\\Long Folder Name"), kErrorAccessDenied);
  EXPECT_EQ(files.Delete(u"C:\\Work\\Missing.c"), kErrorFileNotFound);
  EXPECT_EQ(files.Delete(u"C:\\Work\\LONG~ZAT\\REPORT.TXT"), 0u);
  EXPECT_FALSE(files.Exists(u"C:\\Work\\Long Folder Name\\Report.txt"));
}

TEST_F(MemoryFileSystemTest, LockedFilesRefuseOpenMoveAndDeleteButShowAttributes) {
  files.Lock(u"C:\\Work\\Main.c");
  EXPECT_EQ(files.Attributes(u"C:\\Work\\Main.c"), kAttrArchive);
  EXPECT_TRUE(files.FindFirst(u"C:\\Work\\Main.c"));
  EXPECT_EQ(files.ReadWhole(u"C:\\Work\\Main.c", Sharing::ReadWrite).error, kErrorSharingViolation);
  EXPECT_EQ(files.WriteWhole(u"C:\\Work\\Main.c", {}), kErrorSharingViolation);
  EXPECT_EQ(files.Move(u"C:\\Work\\Main.c", u"C:\\Work\\New.c"), kErrorSharingViolation);
  EXPECT_EQ(files.Delete(u"C:\\Work\\Main.c"), kErrorSharingViolation);
  files.Unlock(u"C:\\Work\\Main.c");
  EXPECT_TRUE(files.ReadWhole(u"C:\\Work\\Main.c", Sharing::Exclusive).ok);
}

TEST_F(MemoryFileSystemTest, WriterElsewhereBlocksReadsThatDenyWriteSharing) {
  files.LockForWriting(u"C:\\Work\\Main.c");
  struct Row {
    Sharing sharing;
    bool ok;
  } rows[] = {{Sharing::ReadOnly, false}, {Sharing::Exclusive, false}, {Sharing::ReadWrite, true}};
  for (const auto& r : rows) {
    ReadResult read = files.ReadWhole(u"C:\\Work\\Main.c", r.sharing);
    EXPECT_EQ(read.ok, r.ok) << static_cast<int>(r.sharing);
    EXPECT_EQ(read.error, r.ok ? 0u : kErrorSharingViolation);
  }
}

TEST_F(MemoryFileSystemTest, WriteWholeNeedsFolderAndWriteAccess) {
  files.AddFile(u"C:\\Work\\ReadOnly.log", "old", kAttrReadOnly);
  struct Row {
    Text path;
    uint32_t result;
  } rows[] = {
      {u"C:\\Work\\New.log", 0},
      {u"C:\\Work\\main.c", 0},
      {u"C:\\Missing\\New.log", kErrorPathNotFound},
      {u"C:\\Work\\ReadOnly.log", kErrorAccessDenied},
      {u"C:\\Work\\Long Folder Name", kErrorAccessDenied},
  };
  for (const auto& r : rows)
    EXPECT_EQ(files.WriteWhole(r.path, {'o', 'k'}), r.result) << ToUtf8(r.path);
  EXPECT_EQ(files.ContentString(u"C:\\Work\\New.log"), "ok");
  EXPECT_EQ(files.ContentString(u"C:\\Work\\Main.c"), "ok");
  EXPECT_EQ(files.ContentString(u"C:\\Work\\ReadOnly.log"), "old");
}

TEST_F(MemoryFileSystemTest, DeniedAccessStillFoundBySearch) {
  files.DenyAccess(u"C:\\Work\\Main.c");
  uint32_t error = 0;
  EXPECT_EQ(files.Attributes(u"C:\\Work\\Main.c", &error), kInvalidFileAttributes);
  EXPECT_EQ(error, kErrorAccessDenied);
  EXPECT_FALSE(files.ReadWhole(u"C:\\Work\\Main.c", Sharing::ReadWrite).ok);
  EXPECT_TRUE(files.FindFirst(u"C:\\Work\\Main.c"));
}

TEST_F(MemoryFileSystemTest, InjectedFailures) {
  files.FailMoveOf(u"C:\\Work\\Main.c", kErrorSharingViolation);
  files.FailDeleteOf(u"C:\\Work\\Main.c");
  EXPECT_EQ(files.Move(u"C:\\Work\\Main.c", u"C:\\Work\\X.c"), kErrorSharingViolation);
  EXPECT_EQ(files.Delete(u"C:\\Work\\Main.c"), kErrorAccessDenied);
  files.FailMoveOf(u"C:\\Work\\Main.c", 0);
  files.FailMoves();
  EXPECT_EQ(files.Move(u"C:\\Work\\Main.c", u"C:\\Work\\X.c"), kErrorAccessDenied);
  files.FailMoves(0);
  EXPECT_EQ(files.Move(u"C:\\Work\\Main.c", u"C:\\Work\\X.c"), 0u);
  files.FailDeletes(kErrorSharingViolation);
  EXPECT_EQ(files.Delete(u"C:\\Work\\X.c"), kErrorSharingViolation);
}

TEST_F(MemoryFileSystemTest, SetAttributesKeepsFolderBitAndReportsNormalForNone) {
  EXPECT_EQ(files.SetAttributes(u"C:\\Work\\Main.c", 0), 0u);
  EXPECT_EQ(files.Attributes(u"C:\\Work\\Main.c"), kAttrNormal);
  EXPECT_EQ(files.SetAttributes(u"C:\\Work\\LONG~ZAT", kAttrHidden), 0u);
  EXPECT_EQ(files.Attributes(u"C:\\Work\\Long Folder Name"), kAttrHidden | kAttrDirectory);
  EXPECT_EQ(files.SetAttributes(u"C:\\Work\\Missing.c", 0), kErrorFileNotFound);
}

TEST_F(MemoryFileSystemTest, FilesListsStoredPathsWithUpperCaseDrives) {
  files.AddFile(u"d:\\elsewhere.txt");
  EXPECT_EQ(files.Files(),
            (std::vector<Text>{u"C:\\Work\\Long Folder Name\\Report.txt", u"C:\\Work\\Main.c",
                               u"D:\\elsewhere.txt", u"\\\\server\\share\\remote.txt"}));
}

}  // namespace
}  // namespace velmora::platform
