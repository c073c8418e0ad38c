#include <gtest/gtest.h>

#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemorySystemInfo.h"
#include "support/SystemUtils.h"

namespace velmora {
namespace {

using platform::AdminMembership;
using platform::VersionReport;

class IsAdminTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetIsAdminCache(); }
  void TearDown() override { ResetIsAdminCache(); }
  platform::MemorySystemInfo system;
};

TEST(IsVistaOrLater, NeedsSuccessNtPlatformAndMajorAboveFive) {
  struct Row {
    VersionReport report;
    bool expected;
  } rows[] = {
      {{true, 2, 6, 0}, true},  {{true, 2, 10, 0}, true},  {{true, 2, 5, 2}, false},
      {{true, 1, 6, 0}, false}, {{false, 2, 6, 0}, false},
  };
  for (const auto& r : rows) {
    platform::MemorySystemInfo system;
    system.SetVersion(r.report);
    EXPECT_EQ(IsVistaOrLater(system), r.expected)
        << r.report.ok << " " << r.report.platformId << " " << r.report.majorVersion;
  }
}

TEST_F(IsAdminTest, AnswerFollowsMembershipOnVistaAndLater) {
  struct Row {
    AdminMembership membership;
    bool expected;
  } rows[] = {
      {AdminMembership::Member, true},
      {AdminMembership::NotMember, false},
      {AdminMembership::SidFailed, false},
      {AdminMembership::CheckFailed, false},
  };
  for (const auto& r : rows) {
    ResetIsAdminCache();
    system.SetMembership(r.membership);
    EXPECT_EQ(IsAdmin(system), r.expected) << static_cast<int>(r.membership);
  }
}

TEST_F(IsAdminTest, BeforeVistaAlwaysAdminWithoutAskingMembership) {
  system.SetVersion({true, 2, 5, 1});
  system.SetMembership(AdminMembership::NotMember);
  EXPECT_TRUE(IsAdmin(system));
  EXPECT_EQ(system.MembershipCalls(), 0);
}

TEST_F(IsAdminTest, FirstAnswerIsKeptEvenAfterMembershipChanges) {
  system.SetMembership(AdminMembership::CheckFailed);
  EXPECT_FALSE(IsAdmin(system));
  system.SetMembership(AdminMembership::Member);
  EXPECT_FALSE(IsAdmin(system));
  EXPECT_EQ(system.VersionCalls(), 1);
  EXPECT_EQ(system.MembershipCalls(), 1);
}

TEST(ExpandEnvStr, ReplacesDefinedReferencesOnly) {
  platform::MemoryEnvironment env;
  env.SetVariable(u"AppData", u"C:\\Data");
  struct Row {
    Text input, expected;
  } rows[] = {
      {u"%APPDATA%\\x", u"C:\\Data\\x"},
      {u"%appdata%\\x", u"C:\\Data\\x"},
      {u"%UNDEFINED%\\x", u"%UNDEFINED%\\x"},
      {u"no reference", u"no reference"},
      {u"50% off", u"50% off"},
      {u"", u""},
  };
  for (const auto& r : rows) EXPECT_EQ(ExpandEnvStr(env, r.input), r.expected) << ToUtf8(r.input);

  platform::MemoryEnvironment undefined;
  EXPECT_EQ(ExpandEnvStr(undefined, u"%APPDATA%\\x"), u"%APPDATA%\\x");
}

TEST(ExpandEnvStr, FailingPlatformGivesEmpty) {
  platform::MemoryEnvironment env;
  env.FailExpand();
  EXPECT_EQ(ExpandEnvStr(env, u"text"), u"");
}

TEST(GetTempDir, KeepsTrailingBackslashAndFailsEmpty) {
  platform::MemoryEnvironment env;
  EXPECT_EQ(GetTempDir(env), u"C:\\Temp\\");
  env.SetTempPath(u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\");
  EXPECT_EQ(GetTempDir(env), u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\");
  env.FailTempPath();
  EXPECT_EQ(GetTempDir(env), u"");
}

// A value that grows between the sizing call and the filling call.
class GrowingEnvironment : public platform::MemoryEnvironment {
 public:
  uint32_t ExpandStrings(const Text& source, char16_t* buffer, uint32_t size) override {
    uint32_t result = MemoryEnvironment::ExpandStrings(source, buffer, size);
    SetVariable(u"X", u"longer value");
    return result;
  }
  uint32_t TempPath(uint32_t size, char16_t* buffer) override {
    uint32_t result = MemoryEnvironment::TempPath(size, buffer);
    SetTempPath(u"C:\\Users\\Somebody\\Temp\\");
    return result;
  }
};

TEST(SizingProtocol, ValueGrowingBetweenCallsIsReadAgain) {
  GrowingEnvironment env;
  env.SetVariable(u"X", u"x");
  EXPECT_EQ(ExpandEnvStr(env, u"%X%!"), u"longer value!");
  EXPECT_EQ(GetTempDir(env), u"C:\\Users\\Somebody\\Temp\\");
}

// The disk of the worked example: only "Long Name" has an 8.3 name.
class ShortNames : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddDirectory(u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\Sub");
    files.SetAlternateName(u"C:\\Users\\Long Name", u"LONGNA~1");
    files.AddFile(u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\Report File.txt");
    files.SetAlternateName(u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\Report File.txt",
                           u"REPORT~1.TXT");
  }
  platform::MemoryFileSystem files;
};

TEST_F(ShortNames, ShortPathNameTable) {
  struct Row {
    Text input, expected;
  } rows[] = {
      {u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\",
       u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp\\"},
      {u"C:\\Users\\Long Name\\AppData\\Local\\Temp", u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp"},
      {u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp\\Sub\\",
       u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp\\Sub\\"},
      {u"C:\\", u"C:\\"},
      {u"C:", u"C:"},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ShortPathName(files, r.input), r.expected) << ToUtf8(r.input);
}

TEST_F(ShortNames, ShortPathNameEdgeCases) {
  struct Row {
    Text input, expected;
  } rows[] = {
      // Stored letter case wins for found elements; the drive keeps the caller's case.
      {u"c:\\users\\long name\\appdata", u"c:\\Users\\LONGNA~1\\AppData"},
      // A missing middle folder empties its element and every element to its right.
      {u"C:\\Users\\Missing\\AppData\\Local", u"C:\\Users\\\\\\"},
      {u"C:\\Users\\Long Name\\AppData\\Local\\Temp\\report file.txt",
       u"C:\\Users\\LONGNA~1\\AppData\\Local\\Temp\\REPORT~1.TXT"},
      {u"\\Users\\Long Name", u"\\Users\\LONGNA~1"},
      {u"\\\\server\\share\\dir", u"\\\\\\\\"},
      {u"no backslash", u"no backslash"},
      {u"", u""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ShortPathName(files, r.input), r.expected) << ToUtf8(r.input);
}

TEST_F(ShortNames, ShortFileNamePrefersAlternateThenStoredName) {
  struct Row {
    Text input, expected;
  } rows[] = {
      {u"C:\\Users\\Long Name", u"LONGNA~1"},
      {u"C:\\USERS", u"Users"},
      {u"C:\\Users\\", u""},
      {u"C:\\", u""},
      {u"C:\\Nothing", u""},
      {u"\\\\server\\share", u""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ShortFileName(files, r.input), r.expected) << ToUtf8(r.input);
}

TEST(ShortPathName, LeavesCallersTextUnchanged) {
  platform::MemoryFileSystem files;
  files.AddDirectory(u"C:\\Data");
  const Text path = u"C:\\data";
  EXPECT_EQ(ShortPathName(files, path), u"C:\\Data");
  EXPECT_EQ(path, u"C:\\data");
}

TEST(FileAttributes, HasAttrInBothModes) {
  platform::MemoryFileSystem files;
  files.AddFile(u"C:\\ro.txt", "", 0x21);
  struct Row {
    Text file;
    uint32_t mask;
    bool all, expected;
  } rows[] = {
      {u"C:\\ro.txt", 0x1, true, true},      {u"C:\\ro.txt", 0x3, true, false},
      {u"C:\\ro.txt", 0x3, false, true},     {u"C:\\ro.txt", 0x2, false, false},
      {u"C:\\missing.txt", 0x1, true, true}, {u"C:\\missing.txt", 0x1, false, true},
  };
  for (const auto& r : rows)
    EXPECT_EQ(FileHasAttr(files, r.file, r.mask, r.all), r.expected)
        << ToUtf8(r.file) << " " << r.mask << " " << r.all;
}

TEST(FileAttributes, ClearUsesFiveHundredElevenMinusMask) {
  platform::MemoryFileSystem files;
  files.AddFile(u"C:\\a.txt", "", 0x2021);
  EXPECT_EQ(ClearFileAttr(files, u"C:\\a.txt", 1), 0u);
  EXPECT_EQ(files.AttributesOf(u"C:\\a.txt"), 0x20u);
  EXPECT_EQ(ClearFileAttr(files, u"C:\\missing.txt", 1), platform::kErrorFileNotFound);
}

TEST(DeleteFileEx, ReadOnlyFileNeedsTheFlag) {
  platform::MemoryFileSystem files;
  files.AddFile(u"C:\\ro.txt", "x", platform::kAttrReadOnly | platform::kAttrArchive);
  EXPECT_FALSE(DeleteFileEx(files, u"C:\\ro.txt", false));
  EXPECT_TRUE(files.Exists(u"C:\\ro.txt"));
  EXPECT_TRUE(DeleteFileEx(files, u"C:\\ro.txt", true));
  EXPECT_FALSE(files.Exists(u"C:\\ro.txt"));
}

TEST(DeleteFileEx, FailuresLeaveTheFileAndReportFalse) {
  platform::MemoryFileSystem files;
  files.AddFile(u"C:\\plain.txt");
  files.AddFile(u"C:\\locked.txt", "", platform::kAttrReadOnly);
  files.Lock(u"C:\\locked.txt");
  EXPECT_FALSE(DeleteFileEx(files, u"C:\\missing.txt", true));  // the clear fails first
  EXPECT_FALSE(DeleteFileEx(files, u"C:\\missing.txt", false));
  EXPECT_FALSE(DeleteFileEx(files, u"C:\\locked.txt", true));  // cleared, then refused
  EXPECT_EQ(files.AttributesOf(u"C:\\locked.txt"), platform::kAttrNormal);
  EXPECT_TRUE(DeleteFileEx(files, u"C:\\plain.txt", true));  // not read-only: no clearing
}

}  // namespace
}  // namespace velmora
