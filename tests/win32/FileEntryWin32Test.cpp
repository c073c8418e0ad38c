// Opening entries by handle, final paths and whole-file replacement on the real Win32 file
// system: run on Windows or under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/ErrorCodes.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "support/SystemUtils.h"

namespace velmora {
namespace {

using platform::EntryAccess;
using platform::Wide;

class FileEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    Text temp = GetTempDir(env);
    ASSERT_FALSE(temp.empty());
    folder = temp + u"VelmoraEntries" + ToDecimal(GetCurrentProcessId());
    ASSERT_EQ(files.CreateFolder(folder), 0u);
    file = folder + u"\\pvc1.zip";
    ASSERT_EQ(files.WriteWhole(file, {'P', 'K'}), 0u);
  }
  void TearDown() override {
    DeleteFileW(Wide(file));
    DeleteFileW(Wide(folder + u"\\list.pending"));
    RemoveDirectoryW(Wide(folder));
  }
  platform::Win32FileSystem files;
  platform::Win32Environment env;
  Text folder, file;
};

TEST_F(FileEntries, FinalPathIsThePlainFullPathAndFoldersAreSeen) {
  uint32_t error = 1;
  auto entry = files.OpenEntry(file, EntryAccess::Inspect, &error);
  ASSERT_TRUE(entry);
  EXPECT_EQ(error, 0u);
  // The temporary directory may itself be reached through a link: compare final paths.
  auto dir = files.OpenEntry(folder, EntryAccess::Resolve, nullptr);
  ASSERT_TRUE(dir);
  EXPECT_TRUE(dir->Attributes() & platform::kAttrDirectory);
  EXPECT_EQ(entry->FinalPath(), dir->FinalPath() + u"\\pvc1.zip");
  EXPECT_FALSE(entry->Attributes() & platform::kAttrDirectory);
  EXPECT_NE(entry->FinalPath().substr(0, 4), u"\\\\?\\");
  EXPECT_FALSE(files.OpenEntry(folder + u"\\none.zip", EntryAccess::Inspect, &error));
  EXPECT_EQ(error, platform::kErrorFileNotFound);
  EXPECT_EQ(files.CreateFolder(folder), platform::kErrorAlreadyExists);
}

TEST_F(FileEntries, DeletionByHandleWaitsForNoOneAndClearsReadOnly) {
  // Held open without sharing deletion: opening for deletion is refused.
  HANDLE holder = CreateFileW(Wide(file), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  uint32_t error = 0;
  EXPECT_FALSE(files.OpenEntry(file, EntryAccess::Delete, &error));
  EXPECT_EQ(error, platform::kErrorSharingViolation);
  // Inspection is still possible while it is held.
  EXPECT_TRUE(files.OpenEntry(file, EntryAccess::Inspect, nullptr));
  CloseHandle(holder);

  ASSERT_EQ(files.SetAttributes(file, platform::kAttrReadOnly), 0u);
  {
    auto entry = files.OpenEntry(file, EntryAccess::Delete, &error);
    ASSERT_TRUE(entry) << error;
    EXPECT_EQ(entry->Delete(), 0u);
  }
  EXPECT_EQ(files.Attributes(file), platform::kInvalidFileAttributes);
}

TEST_F(FileEntries, ReplaceWholeSwapsTheContentAndLeavesNoTemporaryFile) {
  const Text list = folder + u"\\list.pending";
  ASSERT_EQ(files.ReplaceWhole(list, {'a'}), 0u);
  ASSERT_EQ(files.ReplaceWhole(list, {'b', 'c'}), 0u);
  auto read = files.ReadWhole(list, platform::Sharing::ReadOnly);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.bytes, (std::vector<uint8_t>{'b', 'c'}));
  EXPECT_EQ(files.Attributes(list + u".new"), platform::kInvalidFileAttributes);
}

}  // namespace
}  // namespace velmora
