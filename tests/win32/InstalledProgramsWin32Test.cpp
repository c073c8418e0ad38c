// The services that find installed programs, on the real Win32 API: run on Windows or under
// Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileVersion.h"
#include "platform/win32/Win32ProgramFolders.h"
#include "platform/win32/Win32Registry.h"

namespace velmora {
namespace {

using platform::Hive;
using platform::RegistryView;
using platform::Wide;

Text SystemFolder() {
  wchar_t folder[MAX_PATH];
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return platform::FromWide(folder, length);
}

Text OwnPath() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return platform::FromWide(path, length);
}

TEST(Win32ProgramFolders, BothFoldersExistAndDifferForA64BitProgram) {
  platform::Win32ProgramFolders folders;
  for (const Text& folder : {folders.ProgramFiles64(), folders.ProgramFiles32()}) {
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), u'\\');
    DWORD attributes = GetFileAttributesW(Wide(folder));
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << ToUtf8(folder);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << ToUtf8(folder);
  }
  EXPECT_NE(folders.ProgramFiles64(), folders.ProgramFiles32());
}

TEST(Win32FileVersion, MajorVersionOnlyFromAVersionResource) {
  platform::Win32FileVersion versions;
  EXPECT_TRUE(versions.MajorVersion(SystemFolder() + u"\\kernel32.dll").has_value());
  EXPECT_FALSE(versions.MajorVersion(OwnPath()).has_value()) << "this test has no resource";
  EXPECT_FALSE(versions.MajorVersion(SystemFolder() + u"\\no such file.exe").has_value());
  EXPECT_FALSE(versions.MajorVersion(u"").has_value());
}

// A machine-wide key written in the 64-bit view is seen there and in the program's own view,
// not in the 32-bit one.
TEST(Win32Registry, The64BitViewIsTheOneOfA64BitProgram) {
  platform::Win32Registry registry;
  const Text key = u"Software\\VelmoraViewTest" + ToDecimal(GetCurrentProcessId());
  auto created =
      registry.Create(Hive::LocalMachine, key, platform::kKeyAllAccess, RegistryView::Wow64);
  if (!created) GTEST_SKIP() << "no right to write machine-wide keys";
  created.reset();
  EXPECT_NE(registry.Open(Hive::LocalMachine, key, platform::kKeyRead, RegistryView::Wow64),
            nullptr);
  EXPECT_NE(registry.Open(Hive::LocalMachine, key, platform::kKeyRead, RegistryView::Native),
            nullptr);
  EXPECT_EQ(registry.Open(Hive::LocalMachine, key, platform::kKeyRead, RegistryView::Wow32),
            nullptr);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(key), KEY_WOW64_64KEY, 0);
}

}  // namespace
}  // namespace velmora
