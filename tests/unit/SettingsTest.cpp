#include <gtest/gtest.h>

#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "settings/RegistryAccessor.h"
#include "settings/Settings.h"
#include "support/Errors.h"

namespace velmora {
namespace {

using platform::Hive;
using platform::MemoryRegistry;
using platform::RegistryView;
using Bytes = std::vector<uint8_t>;

const Text kKey = kSettingsKey;
const Text kBcKey = u"Software\\Scooter Software\\Beyond Compare";
const Text kWindowsKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

Text ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EVelmora& error) {
    return error.Message();
  }
  return u"(no error)";
}

class SettingsTest : public testing::Test {
 protected:
  MemoryRegistry registry;
  platform::MemoryFileSystem files;
};

TEST_F(SettingsTest, TextReadsAcceptStringTypesUpToTheFirstNul) {
  registry.SetString(Hive::CurrentUser, kKey, u"Plain", u"abc");
  registry.SetString(Hive::CurrentUser, kKey, u"Expand", u"%APPDATA%\\x", platform::kRegExpandSz);
  registry.SetValue(Hive::CurrentUser, kKey, u"Embedded", platform::kRegSz,
                    {'a', 0, 0, 0, 'b', 0, 0, 0});
  registry.SetValue(Hive::CurrentUser, kKey, u"NoNul", platform::kRegSz, {'a', 0, 'b', 0});
  registry.SetValue(Hive::CurrentUser, kKey, u"OddSize", platform::kRegSz, {'a', 0, 'b'});
  registry.SetValue(Hive::CurrentUser, kKey, u"Empty", platform::kRegSz, {});
  registry.SetValue(Hive::CurrentUser, kKey, u"EmptyDword", platform::kRegDword, {});
  registry.SetDword(Hive::CurrentUser, kKey, u"Number", 7);

  RegistryAccessor reg(registry, platform::kKeyRead);
  ASSERT_TRUE(reg.OpenKey(kKey, false));
  EXPECT_EQ(reg.ReadString(u"plain"), u"abc");
  EXPECT_EQ(reg.ReadString(u"Expand"), u"%APPDATA%\\x");
  EXPECT_EQ(reg.ReadString(u"Embedded"), u"a");
  EXPECT_EQ(reg.ReadString(u"NoNul"), u"ab");
  EXPECT_EQ(reg.ReadString(u"OddSize"), u"a");
  EXPECT_EQ(reg.ReadString(u"Empty"), u"");
  EXPECT_EQ(reg.ReadString(u"EmptyDword"), u"");
  EXPECT_EQ(reg.ReadString(u"Missing"), u"");
  EXPECT_EQ(ErrorOf([&] { reg.ReadString(u"Number"); }), u"Invalid data type for 'Number'");
  EXPECT_TRUE(reg.ValueExists(u"Empty"));
  EXPECT_FALSE(reg.ValueExists(u"Missing"));
}

TEST_F(SettingsTest, TruthReadsRequireADwordOfAtMostFourBytes) {
  struct Row {
    const char16_t* name;
    uint32_t type;
    Bytes data;
    const char16_t* expected;  // "true", "false" or the error
  } rows[] = {
      {u"One", platform::kRegDword, {1, 0, 0, 0}, u"true"},
      {u"Two", platform::kRegDword, {2, 0, 0, 0}, u"true"},
      {u"High", platform::kRegDword, {0, 0, 0, 0x80}, u"true"},
      {u"Zero", platform::kRegDword, {0, 0, 0, 0}, u"false"},
      {u"Short", platform::kRegDword, {1}, u"true"},
      {u"Text1", platform::kRegSz, {'1', 0, 0, 0}, u"Invalid data type for 'Text1'"},
      {u"Text10", platform::kRegSz, {'1', 0, '0', 0, 0, 0}, u"Failed to get data for 'Text10'"},
      {u"Binary", platform::kRegBinary, {1, 0, 0, 0}, u"Invalid data type for 'Binary'"},
      {u"Qword", platform::kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}, u"Failed to get data for 'Qword'"},
  };
  for (const auto& row : rows)
    registry.SetValue(Hive::CurrentUser, kKey, row.name, row.type, row.data);
  RegistryAccessor reg(registry, platform::kKeyRead);
  ASSERT_TRUE(reg.OpenKey(kKey, false));
  for (const auto& row : rows) {
    Text got = ErrorOf([&] { throw EVelmora(reg.ReadBool(row.name) ? u"true" : u"false"); });
    EXPECT_EQ(got, row.expected) << ToUtf8(row.name);
  }
}

TEST_F(SettingsTest, FirstCallAndWantBC2FollowTheStoredChoice) {
  struct Row {
    const char* situation;
    std::function<void(MemoryRegistry&)> setup;
    bool firstCall;
    const char16_t* wantBC2;  // "true", "false" or the error
  } rows[] = {
      {"no settings key", [](MemoryRegistry&) {}, true, u"false"},
      {"key without UseBC2", [](MemoryRegistry& r) { r.AddKey(Hive::CurrentUser, kKey); }, true,
       u"false"},
      {"UseBC2 = 0", [](MemoryRegistry& r) { r.SetDword(Hive::CurrentUser, kKey, u"UseBC2", 0); },
       false, u"false"},
      {"UseBC2 = 1", [](MemoryRegistry& r) { r.SetDword(Hive::CurrentUser, kKey, u"UseBC2", 1); },
       false, u"true"},
      {"UseBC2 = 2", [](MemoryRegistry& r) { r.SetDword(Hive::CurrentUser, kKey, u"UseBC2", 2); },
       false, u"true"},
      {"UseBC2 as text 1",
       [](MemoryRegistry& r) { r.SetString(Hive::CurrentUser, kKey, u"UseBC2", u"1"); }, false,
       u"Invalid data type for 'UseBC2'"},
      {"key cannot be opened",
       [](MemoryRegistry& r) {
         r.SetDword(Hive::CurrentUser, kKey, u"UseBC2", 1);
         r.DenyOpen(Hive::CurrentUser, kKey);
       },
       true, u"false"},
  };
  for (const auto& row : rows) {
    MemoryRegistry reg;
    row.setup(reg);
    EXPECT_EQ(IsFirstCall(reg), row.firstCall) << row.situation;
    Text want = ErrorOf([&] { throw EVelmora(IsBC2Wanted(reg) ? u"true" : u"false"); });
    EXPECT_EQ(want, row.wantBC2) << row.situation;
    EXPECT_EQ(reg.OpenKeyCount(), 0) << row.situation << ": the accessor is released";
  }
}

// Discovery: the stored path, then Beyond Compare's registration (per-user, else machine-wide
// in the 32-bit view), then the default install location.
class BC2PathTest : public SettingsTest {
 protected:
  void Store(const Text& path) { registry.SetString(Hive::CurrentUser, kKey, u"BC2Path", path); }
  void UserExePath(const Text& path) {
    registry.SetString(Hive::CurrentUser, kBcKey, u"ExePath", path);
  }
  void MachineExePath(const Text& path, RegistryView view = RegistryView::Wow32) {
    registry.SetString(Hive::LocalMachine, kBcKey, u"ExePath", path, platform::kRegSz, view);
  }
  void ProgramFiles(const Text& path) {
    registry.SetString(Hive::LocalMachine, kWindowsKey, u"ProgramFilesDir", path, platform::kRegSz,
                       RegistryView::Wow32);
  }
  Text Resolve() { return ResolveBC2Path(registry, files); }
};

TEST_F(BC2PathTest, StoredPathOfAnExistingFileWins) {
  files.AddFile(u"D:\\Tools\\BC3\\BComp.exe");
  files.AddFile(u"C:\\BC\\BC2.exe");
  Store(u"d:\\tools\\bc3\\BComp.exe");
  UserExePath(u"C:\\BC\\BC2.exe");
  EXPECT_EQ(Resolve(), u"d:\\tools\\bc3\\BComp.exe");
}

TEST_F(BC2PathTest, DeletedStoredPathFallsBackToMachineWideRegistration) {
  files.AddFile(u"C:\\Program Files (x86)\\Beyond Compare 3\\BComp.exe");
  Store(u"C:\\Gone\\BC2.exe");
  MachineExePath(u"C:\\Program Files (x86)\\Beyond Compare 3\\BComp.exe");
  EXPECT_EQ(Resolve(), u"C:\\Program Files (x86)\\Beyond Compare 3\\BComp.exe");
}

TEST_F(BC2PathTest, StoredDirectoryDoesNotCount) {
  files.AddDirectory(u"C:\\Tools\\BC2.exe");
  files.AddFile(u"C:\\BC\\BC2.exe");
  Store(u"C:\\Tools\\BC2.exe");
  UserExePath(u"C:\\BC\\BC2.exe");
  EXPECT_EQ(Resolve(), u"C:\\BC\\BC2.exe");
}

TEST_F(BC2PathTest, PerUserKeyWithoutExePathHidesTheMachineWideKey) {
  files.AddFile(u"C:\\BC\\BC2.exe");
  registry.AddKey(Hive::CurrentUser, kBcKey);
  MachineExePath(u"C:\\BC\\BC2.exe");
  EXPECT_EQ(Resolve(), u"");
  files.AddFile(u"C:\\Program Files (x86)\\Beyond Compare 2\\BC2.exe");
  ProgramFiles(u"C:\\Program Files (x86)");
  EXPECT_EQ(Resolve(), u"C:\\Program Files (x86)\\Beyond Compare 2\\BC2.exe");
}

TEST_F(BC2PathTest, MachineWideReadsUseThe32BitView) {
  files.AddFile(u"C:\\Program Files\\Beyond Compare 3\\BComp.exe");
  files.AddFile(u"C:\\Program Files\\Beyond Compare 2\\BC2.exe");
  MachineExePath(u"C:\\Program Files\\Beyond Compare 3\\BComp.exe", RegistryView::Native);
  registry.SetString(Hive::LocalMachine, kWindowsKey, u"ProgramFilesDir", u"C:\\Program Files");
  EXPECT_EQ(Resolve(), u"");
}

TEST_F(BC2PathTest, DefaultInstallLocation) {
  files.AddFile(u"C:\\Programme\\Beyond Compare 2\\BC2.exe");
  // The Windows key cannot be opened: the German default folder is tried.
  EXPECT_EQ(Resolve(), u"C:\\Programme\\Beyond Compare 2\\BC2.exe");
  // The key opens without ProgramFilesDir: the candidate is rooted on the current drive.
  registry.AddKey(Hive::LocalMachine, kWindowsKey, RegistryView::Wow32);
  EXPECT_EQ(Resolve(), u"");
  files.AddFile(u"C:\\Beyond Compare 2\\BC2.exe");
  EXPECT_EQ(Resolve(), u"\\Beyond Compare 2\\BC2.exe");
}

TEST_F(BC2PathTest, NothingFoundGivesTheEmptyText) {
  Store(u"C:\\Gone\\BC2.exe");
  UserExePath(u"C:\\AlsoGone\\BC2.exe");
  ProgramFiles(u"C:\\Program Files (x86)");
  EXPECT_EQ(Resolve(), u"");
}

TEST_F(BC2PathTest, LockedProgramCountsAsExisting) {
  files.AddFile(u"C:\\BC\\BC2.exe");
  files.Lock(u"C:\\BC\\BC2.exe");
  Store(u"C:\\BC\\BC2.exe");
  EXPECT_EQ(Resolve(), u"C:\\BC\\BC2.exe");
}

TEST_F(BC2PathTest, WrongTypesRaise) {
  registry.SetDword(Hive::CurrentUser, kKey, u"BC2Path", 1);
  EXPECT_EQ(ErrorOf([&] { Resolve(); }), u"Invalid data type for 'BC2Path'");
  registry.SetDword(Hive::CurrentUser, kBcKey, u"ExePath", 1);
  registry.SetString(Hive::CurrentUser, kKey, u"BC2Path", u"C:\\Gone.exe");
  EXPECT_EQ(ErrorOf([&] { Resolve(); }), u"Invalid data type for 'ExePath'");
  registry.DeleteKey(Hive::CurrentUser, kBcKey);
  registry.SetDword(Hive::LocalMachine, kWindowsKey, u"ProgramFilesDir", 1, RegistryView::Wow32);
  EXPECT_EQ(ErrorOf([&] { Resolve(); }), u"Invalid data type for 'ProgramFilesDir'");
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(SettingsTest, WriterStoresTypedValuesInOrder) {
  WriteSettings(registry, {u"C:\\BC\\BC2.exe", u"/solo", true, false});
  auto* path = registry.Find(Hive::CurrentUser, kKey, u"BC2Path");
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->type, platform::kRegSz);
  EXPECT_EQ(path->data.size(), (13u + 1) * 2);
  auto* args = registry.Find(Hive::CurrentUser, kKey, u"BC_Args");
  ASSERT_NE(args, nullptr);
  EXPECT_EQ(args->type, platform::kRegSz);
  auto* use = registry.Find(Hive::CurrentUser, kKey, u"UseBC2");
  ASSERT_NE(use, nullptr);
  EXPECT_EQ(use->type, platform::kRegDword);
  EXPECT_EQ(use->data, (Bytes{1, 0, 0, 0}));
  auto* left = registry.Find(Hive::CurrentUser, kKey, u"AncestorLeft");
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(left->data, (Bytes{0, 0, 0, 0}));
  EXPECT_FALSE(IsFirstCall(registry));
  EXPECT_TRUE(IsBC2Wanted(registry));
}

TEST_F(SettingsTest, RefusedWriteStopsTheSaveAndKeepsEarlierValues) {
  registry.RefuseWrite(Hive::CurrentUser, kKey, u"UseBC2");
  EXPECT_EQ(ErrorOf([&] {
              WriteSettings(registry, {u"C:\\BC2.exe", u"", true, true});
            }),
            u"Failed to set data for 'UseBC2'");
  EXPECT_NE(registry.Find(Hive::CurrentUser, kKey, u"BC2Path"), nullptr);
  EXPECT_NE(registry.Find(Hive::CurrentUser, kKey, u"BC_Args"), nullptr);
  EXPECT_EQ(registry.Find(Hive::CurrentUser, kKey, u"AncestorLeft"), nullptr);
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

// Storing nothing must not look like a successful save.
TEST_F(SettingsTest, KeyThatCannotBeCreatedIsReportedAndStoresNothing) {
  registry.DenyCreate(Hive::CurrentUser, u"Software\\Tessmark");
  EXPECT_EQ(ErrorOf([&] {
              WriteSettings(registry, {u"C:\\BC2.exe", u"", true, true});
            }),
            u"Failed to create key Software\\Tessmark\\Velmora");
  EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, kKey));
  EXPECT_TRUE(IsFirstCall(registry));
}

}  // namespace
}  // namespace velmora
