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
    DeleteFileW(Wide(folder + u"\\other.zip"));
    DeleteFileW(Wide(folder + u"\\list.pending"));
    DeleteFileW(Wide(folder + u"\\list.pending.lock"));
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

TEST_F(FileEntries, IdentityFollowsTheFileNotItsName) {
  auto identityOf = [&](const Text& path) {
    auto entry = files.OpenEntry(path, EntryAccess::Inspect, nullptr);
    return entry ? entry->Identity() : std::nullopt;
  };
  const auto original = identityOf(file);
  ASSERT_TRUE(original);
  const Text other = folder + u"\\other.zip";
  ASSERT_EQ(files.WriteWhole(other, {'P', 'K'}), 0u);
  EXPECT_NE(identityOf(other), original);
  EXPECT_EQ(identityOf(other)->volumeSerial, original->volumeSerial);
  // Renamed, it keeps its identity; the name it left is taken by the other file.
  ASSERT_EQ(files.Move(file, folder + u"\\moved.zip"), 0u);
  ASSERT_EQ(files.Move(other, file), 0u);
  EXPECT_EQ(identityOf(folder + u"\\moved.zip"), original);
  EXPECT_NE(identityOf(file), original);
  DeleteFileW(Wide(folder + u"\\moved.zip"));
}

TEST_F(FileEntries, LockIsHeldByOneAtATimeAndFindAllListsMatches) {
  const Text lockPath = folder + u"\\list.pending.lock";
  uint32_t error = 1;
  auto held = files.Lock(lockPath, 0, &error);
  ASSERT_TRUE(held);
  EXPECT_EQ(error, 0u);
  EXPECT_FALSE(files.Lock(lockPath, 20, &error));
  EXPECT_EQ(error, platform::kErrorSharingViolation);
  held.reset();
  EXPECT_TRUE(files.Lock(lockPath, 0, &error));

  const Text list = folder + u"\\list.pending";
  ASSERT_EQ(files.ReplaceWhole(list, {'a'}, list + u".77.new"), 0u);
  EXPECT_EQ(files.Attributes(list + u".77.new"), platform::kInvalidFileAttributes);
  ASSERT_EQ(files.WriteWhole(list + u".78.new", {'b'}), 0u);
  auto found = files.FindAll(list + u"*.new");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].fileName, u"list.pending.78.new");
  DeleteFileW(Wide(list + u".78.new"));
  EXPECT_TRUE(files.FindAll(list + u"*.new").empty());
}

}  // namespace
}  // namespace velmora
