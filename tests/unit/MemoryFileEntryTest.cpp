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

}  // namespace
}  // namespace velmora::platform
