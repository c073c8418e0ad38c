// The in-memory file system's links, entries opened by handle and whole-file replacement,
// which the deferred-deletion server's tests rely on to behave as Windows does.
#include <gtest/gtest.h>

#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryFileSystem.h"

namespace velmora::platform {
namespace {

class MemoryEntries : public testing::Test {
 protected:
  MemoryEntries() {
    files.AddFile(u"C:\\Real\\a.zip", "PK");
    files.AddLink(u"C:\\Temp\\junction", u"C:\\Real", true);
    files.AddLink(u"C:\\Temp\\link.zip", u"C:\\Real\\a.zip", false);
    files.AddLink(u"C:\\Temp\\loop1", u"C:\\Temp\\loop2\\x", true);
    files.AddLink(u"C:\\Temp\\loop2", u"C:\\Temp\\loop1\\x", true);
    files.AddLink(u"C:\\Temp\\dangling.zip", u"C:\\Nowhere\\a.zip", false);
  }
  MemoryFileSystem files;
};

TEST_F(MemoryEntries, LinksLeadToTheirTargetOnTheWayButAreThemselvesAtTheEnd) {
  struct Row {
    const char* name;
    Text path;
    EntryAccess access;
    uint32_t error;
    Text finalPath;
    bool link;
  } rows[] = {
      {"through a junction", u"C:\\Temp\\junction\\a.zip", EntryAccess::Inspect, 0,
       u"C:\\Real\\a.zip", false},
      {"junction itself", u"C:\\Temp\\junction", EntryAccess::Inspect, 0, u"C:\\Temp\\junction",
       true},
      {"junction resolved", u"C:\\Temp\\junction", EntryAccess::Resolve, 0, u"C:\\Real", false},
      {"file link itself", u"C:\\Temp\\link.zip", EntryAccess::Delete, 0, u"C:\\Temp\\link.zip",
       true},
      {"file link resolved", u"C:\\Temp\\link.zip", EntryAccess::Resolve, 0, u"C:\\Real\\a.zip",
       false},
      {"loop", u"C:\\Temp\\loop1\\x", EntryAccess::Inspect, kErrorPathNotFound, u"", false},
      {"dangling resolved", u"C:\\Temp\\dangling.zip", EntryAccess::Resolve, kErrorFileNotFound,
       u"", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    uint32_t error = 99;
    auto entry = files.OpenEntry(row.path, row.access, &error);
    EXPECT_EQ(error, row.error);
    ASSERT_EQ(entry != nullptr, row.error == 0);
    if (!entry) continue;
    EXPECT_EQ(entry->FinalPath(), row.finalPath);
    EXPECT_EQ((entry->Attributes() & kAttrReparsePoint) != 0, row.link);
  }
  EXPECT_EQ(files.Attributes(u"C:\\Temp\\link.zip"), kAttrReparsePoint);
  EXPECT_EQ(files.Attributes(u"C:\\Temp\\junction"), kAttrDirectory | kAttrReparsePoint);
}

TEST_F(MemoryEntries, DeletionByHandleRemovesTheOpenedEntryOnly) {
  files.AddFile(u"C:\\Temp\\held.zip", "PK");
  files.Lock(u"C:\\Temp\\held.zip");
  uint32_t error = 0;
  EXPECT_FALSE(files.OpenEntry(u"C:\\Temp\\held.zip", EntryAccess::Delete, &error));
  EXPECT_EQ(error, kErrorSharingViolation);
  EXPECT_TRUE(files.OpenEntry(u"C:\\Temp\\held.zip", EntryAccess::Inspect, nullptr));

  auto link = files.OpenEntry(u"C:\\Temp\\link.zip", EntryAccess::Delete, nullptr);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Delete(), 0u);
  EXPECT_EQ(link->Delete(), kErrorFileNotFound);
  EXPECT_FALSE(files.Exists(u"C:\\Temp\\link.zip"));
  EXPECT_TRUE(files.Exists(u"C:\\Real\\a.zip")) << "the target stays";

  files.AddFile(u"C:\\Temp\\ro.zip", "PK", kAttrReadOnly);
  auto readOnly = files.OpenEntry(u"C:\\Temp\\ro.zip", EntryAccess::Delete, nullptr);
  ASSERT_TRUE(readOnly);
  EXPECT_EQ(readOnly->Delete(), 0u) << "the read-only attribute is cleared first";
  auto folder = files.OpenEntry(u"C:\\Real", EntryAccess::Delete, nullptr);
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->Delete(), kErrorAccessDenied) << "a folder with content stays";
}

TEST_F(MemoryEntries, ReplaceWholeAndCreateFolder) {
  EXPECT_EQ(files.CreateFolder(u"C:\\Temp\\new"), 0u);
  EXPECT_EQ(files.CreateFolder(u"C:\\Temp\\new"), kErrorAlreadyExists);
  EXPECT_EQ(files.CreateFolder(u"C:\\Missing\\new"), kErrorPathNotFound);
  EXPECT_EQ(files.ReplaceWhole(u"C:\\Temp\\new\\list", {'a'}), 0u);
  EXPECT_EQ(files.ReplaceWhole(u"C:\\Temp\\new\\list", {'b'}), 0u);
  EXPECT_EQ(files.ContentString(u"C:\\Temp\\new\\list"), "b");
  EXPECT_FALSE(files.Exists(u"C:\\Temp\\new\\list.new"));
  EXPECT_EQ(files.ReplaceWhole(u"C:\\Missing\\list", {'a'}), kErrorPathNotFound);
  files.TearNextReplace();
  EXPECT_NE(files.ReplaceWhole(u"C:\\Temp\\new\\list", {'c', 'd'}), 0u);
  EXPECT_EQ(files.ContentString(u"C:\\Temp\\new\\list"), "b");
  EXPECT_EQ(files.ContentString(u"C:\\Temp\\new\\list.new"), "c");
}

TEST_F(MemoryEntries, IdentityStaysWithTheFileAndANewFileGetsAnother) {
  auto identityOf = [&](const Text& path) {
    auto entry = files.OpenEntry(path, EntryAccess::Inspect, nullptr);
    return entry ? entry->Identity() : std::nullopt;
  };
  const auto original = identityOf(u"C:\\Real\\a.zip");
  ASSERT_TRUE(original);
  EXPECT_EQ(identityOf(u"C:\\Temp\\junction\\a.zip"), original);
  ASSERT_EQ(files.Move(u"C:\\Real\\a.zip", u"C:\\Real\\b.zip"), 0u);
  EXPECT_EQ(identityOf(u"C:\\Real\\b.zip"), original);
  ASSERT_EQ(files.Delete(u"C:\\Real\\b.zip"), 0u);
  files.AddFile(u"C:\\Real\\b.zip", "PK");
  EXPECT_NE(identityOf(u"C:\\Real\\b.zip"), original);
  ASSERT_EQ(files.ReplaceWhole(u"C:\\Real\\c.zip", {'a'}), 0u);
  const auto written = identityOf(u"C:\\Real\\c.zip");
  ASSERT_EQ(files.ReplaceWhole(u"C:\\Real\\c.zip", {'b'}), 0u);
  EXPECT_NE(identityOf(u"C:\\Real\\c.zip"), written) << "replaced by the file written beside it";
  files.AddFile(u"\\\\server\\share\\d.zip", "PK");
  EXPECT_NE(identityOf(u"\\\\server\\share\\d.zip")->volumeSerial, original->volumeSerial);
}

TEST_F(MemoryEntries, ExtendedPathsAreTakenAsTheyStand) {
  files.AddFile(u"\\\\server\\share\\d.zip", "PK");
  struct Row {
    Text path;
    uint32_t attributes;
  } rows[] = {
      {u"\\\\?\\C:\\Real\\a.zip", kAttrArchive},
      {u"\\\\?\\c:\\real\\A.ZIP", kAttrArchive},
      {u"\\\\?\\UNC\\server\\share\\d.zip", kAttrArchive},
      {u"\\\\?\\C:\\Temp\\junction\\a.zip", kAttrArchive},
      {u"\\\\?\\C:\\Real\\..\\Real\\a.zip", kInvalidFileAttributes},
      {u"\\\\?\\C:\\Real\\.\\a.zip", kInvalidFileAttributes},
      {u"\\\\?\\C:/Real/a.zip", kInvalidFileAttributes},
      {u"\\\\?\\C:\\Real\\a.zip.", kInvalidFileAttributes},
  };
  for (const Row& row : rows)
    EXPECT_EQ(files.Attributes(row.path), row.attributes) << ToUtf8(row.path);
}

TEST_F(MemoryEntries, FindAllListsEveryMatchAndLocksAreHeldByOneAtATime) {
  files.AddFile(u"C:\\Real\\list.1.new", "");
  files.AddFile(u"C:\\Real\\list.22.new", "");
  files.AddFile(u"C:\\Real\\list.old", "");
  std::vector<Text> names;
  for (const auto& found : files.FindAll(u"C:\\Real\\list*.new")) names.push_back(found.fileName);
  EXPECT_EQ(names, (std::vector<Text>{u"list.1.new", u"list.22.new"}));
  EXPECT_EQ(files.FindAll(u"C:\\Real\\a.zip").size(), 1u);
  EXPECT_TRUE(files.FindAll(u"C:\\Nowhere\\*").empty());

  uint32_t error = 1;
  auto held = files.Lock(u"C:\\Real\\list.lock", 0, &error);
  ASSERT_TRUE(held);
  EXPECT_TRUE(files.Exists(u"C:\\Real\\list.lock"));
  EXPECT_FALSE(files.Lock(u"c:\\real\\LIST.LOCK", 0, &error));
  EXPECT_EQ(error, kErrorSharingViolation);
  EXPECT_FALSE(files.Lock(u"C:\\Nowhere\\list.lock", 0, &error));
  EXPECT_EQ(error, kErrorPathNotFound);
  held.reset();
  EXPECT_TRUE(files.Lock(u"C:\\Real\\list.lock", 0, &error));
}

}  // namespace
}  // namespace velmora::platform
