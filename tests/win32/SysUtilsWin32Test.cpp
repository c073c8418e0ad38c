// The system utilities on the real Win32 services: run on Windows or under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32SystemInfo.h"
#include "support/FileExists.h"
#include "support/SystemUtils.h"

namespace velmora {
namespace {

using platform::Wide;

// A fresh folder in the temporary directory, removed with its content afterwards.
class Win32Sandbox : public ::testing::Test {
 protected:
  void SetUp() override {
    temp = GetTempDir(env);
    ASSERT_FALSE(temp.empty());
    root = temp + u"VelmoraSysUtil" + ToDecimal(GetCurrentProcessId());
    longFolder = root + u"\\Long Folder Name";
    file = longFolder + u"\\Read Only Report.txt";
    ASSERT_TRUE(CreateDirectoryW(Wide(root), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Wide(longFolder), nullptr));
    ASSERT_EQ(files.WriteWhole(file, {'x'}), 0u);
  }
  void TearDown() override {
    SetFileAttributesW(Wide(file), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Wide(file));
    RemoveDirectoryW(Wide(longFolder));
    RemoveDirectoryW(Wide(root));
  }
  platform::Win32Environment env;
  platform::Win32FileSystem files;
  Text temp, root, longFolder, file;
};

TEST_F(Win32Sandbox, TempDirEndsWithBackslash) {
  EXPECT_EQ(temp.back(), u'\\');
  EXPECT_NE(GetFileAttributesW(Wide(temp)) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(Win32Sandbox, ShortPathNameMatchesTheSystemsShortPath) {
  Text shortName = ShortFileName(files, longFolder);
  EXPECT_FALSE(shortName.empty());
  EXPECT_EQ(shortName.find(u' '), Text::npos) << ToUtf8(shortName);

  wchar_t expected[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameW(Wide(longFolder), expected, MAX_PATH), 0u);
  EXPECT_EQ(ShortPathName(files, longFolder), platform::FromWide(expected));
  EXPECT_EQ(ShortPathName(files, longFolder + u"\\").back(), u'\\');
  EXPECT_EQ(ShortFileName(files, longFolder + u"\\"), u"");
  EXPECT_EQ(ShortFileName(files, root.substr(0, 3)), u"");  // the drive root
}

TEST_F(Win32Sandbox, AttributesClearAndDelete) {
  ASSERT_EQ(files.SetAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE), 0u);
  EXPECT_TRUE(FileHasAttr(files, file, FILE_ATTRIBUTE_READONLY, true));
  EXPECT_TRUE(FileHasAttr(files, root + u"\\missing.txt", FILE_ATTRIBUTE_READONLY, false));
  EXPECT_FALSE(DeleteFileEx(files, file, false));
  EXPECT_TRUE(FileExists(files, file));
  EXPECT_EQ(ClearFileAttr(files, file, FILE_ATTRIBUTE_READONLY), 0u);
  EXPECT_EQ(files.Attributes(file), static_cast<uint32_t>(FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_EQ(files.SetAttributes(file, FILE_ATTRIBUTE_READONLY), 0u);
  EXPECT_TRUE(DeleteFileEx(files, file, true));
  EXPECT_FALSE(FileExists(files, file));
  EXPECT_FALSE(FileExists(files, longFolder));
}

TEST_F(Win32Sandbox, ReadBackWhatWasWrittenAndRenameCase) {
  std::vector<uint8_t> bytes(3 * 1024 * 1024 + 7);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 31);
  ASSERT_EQ(files.WriteWhole(file, bytes), 0u);
  platform::ReadResult read = files.ReadWhole(file, platform::Sharing::ReadOnly);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.bytes, bytes);
  Text upper = longFolder + u"\\READ ONLY REPORT.TXT";
  EXPECT_EQ(files.Move(file, upper), 0u);
  // Windows stores the new letter case; Wine reports success but keeps the old one.
  Text stored = files.FindFirst(file)->fileName;
  EXPECT_TRUE(stored == u"READ ONLY REPORT.TXT" || stored == u"Read Only Report.txt")
      << ToUtf8(stored);
  EXPECT_EQ(files.Move(upper, file), 0u);
}

// The in-memory file system stands in for this one in the unit tests: both must give the same
// answers for the same disk.
TEST_F(Win32Sandbox, InMemoryFileSystemAgrees) {
  using namespace platform;
  Text other = root + u"\\Other.txt";
  Text readOnly = root + u"\\ReadOnly.txt";
  ASSERT_EQ(files.WriteWhole(other, {'o'}), 0u);
  ASSERT_EQ(files.WriteWhole(readOnly, {'r'}), 0u);
  ASSERT_EQ(files.SetAttributes(readOnly, kAttrReadOnly), 0u);
  MemoryFileSystem memory;
  memory.AddFile(file, "x");
  memory.AddFile(other, "o");
  memory.AddFile(readOnly, "r", kAttrReadOnly);

  using Op = uint32_t (*)(IFileSystem&, const Text&, const Text&);
  auto attributes = [](IFileSystem& fs, const Text& a, const Text&) {
    uint32_t error = 0;
    return fs.Attributes(a, &error) == kInvalidFileAttributes ? error : 0;
  };
  auto found = [](IFileSystem& fs, const Text& a, const Text&) {
    return fs.FindFirst(a) ? 0u : 1u;
  };
  auto move = [](IFileSystem& fs, const Text& a, const Text& b) { return fs.Move(a, b); };
  auto remove = [](IFileSystem& fs, const Text& a, const Text&) { return fs.Delete(a); };
  auto write = [](IFileSystem& fs, const Text& a, const Text&) { return fs.WriteWhole(a, {}); };
  struct Row {
    const char* what;
    Op op;
    Text a, b;
  } rows[] = {
      {"attributes", attributes, file, {}},
      {"attributes, missing file", attributes, root + u"\\missing.txt", {}},
      {"attributes, missing folder", attributes, root + u"\\missing\\x.txt", {}},
      {"attributes, invalid name", attributes, root + u"\\bad|name", {}},
      {"search with trailing backslash", found, longFolder + u"\\", {}},
      {"search of the drive root", found, root.substr(0, 3), {}},
      {"search by alternate name", found, root + u"\\" + ShortFileName(files, longFolder), {}},
      {"move onto another file", move, other, readOnly},
      {"move into a missing folder", move, other, root + u"\\missing\\x.txt"},
      {"delete read-only", remove, readOnly, {}},
      {"delete a folder", remove, longFolder, {}},
      {"delete missing", remove, root + u"\\missing.txt", {}},
      {"write into a missing folder", write, root + u"\\missing\\x.txt", {}},
      {"move read-only", move, readOnly, root + u"\\Moved.txt"},
      {"move back", move, root + u"\\Moved.txt", readOnly},
  };
  memory.SetAlternateName(longFolder, ShortFileName(files, longFolder));
  for (const auto& r : rows) EXPECT_EQ(r.op(memory, r.a, r.b), r.op(files, r.a, r.b)) << r.what;

  // Windows' answers, where Wine gives others: a file named with a trailing backslash is an
  // invalid name (Wine: path not found), and a read-only file cannot be replaced (Wine run by
  // root replaces it, since it keeps read-only as Unix permissions).
  EXPECT_EQ(attributes(memory, file + u"\\", {}), kErrorInvalidName);
  uint32_t trailing = attributes(files, file + u"\\", {});
  EXPECT_TRUE(trailing == kErrorInvalidName || trailing == kErrorPathNotFound) << trailing;
  EXPECT_EQ(write(memory, readOnly, {}), kErrorAccessDenied);

  // Held open by another party without sharing, then for writing with read sharing.
  HANDLE held = CreateFileW(Wide(other), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  memory.Lock(other);
  for (IFileSystem* fs : {static_cast<IFileSystem*>(&memory), static_cast<IFileSystem*>(&files)}) {
    EXPECT_NE(fs->Attributes(other), kInvalidFileAttributes);
    EXPECT_EQ(fs->ReadWhole(other, Sharing::ReadWrite).error, kErrorSharingViolation);
    EXPECT_EQ(fs->Move(other, root + u"\\Moved.txt"), kErrorSharingViolation);
    EXPECT_EQ(fs->Delete(other), kErrorSharingViolation);
  }
  CloseHandle(held);
  held = CreateFileW(Wide(other), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  memory.LockForWriting(other);
  for (IFileSystem* fs : {static_cast<IFileSystem*>(&memory), static_cast<IFileSystem*>(&files)}) {
    EXPECT_EQ(fs->ReadWhole(other, Sharing::ReadOnly).error, kErrorSharingViolation);
    EXPECT_TRUE(fs->ReadWhole(other, Sharing::ReadWrite).ok);
  }
  CloseHandle(held);
  SetFileAttributesW(Wide(readOnly), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(Wide(readOnly));
  DeleteFileW(Wide(other));
}

TEST(Win32Environment, ExpandKnownAndUnknownReferences) {
  platform::Win32Environment env;
  ASSERT_TRUE(SetEnvironmentVariableW(L"VELMORA_TEST_DIR", L"C:\\Data"));
  EXPECT_EQ(ExpandEnvStr(env, u"%VELMORA_TEST_DIR%\\x"), u"C:\\Data\\x");
  EXPECT_EQ(ExpandEnvStr(env, u"%VELMORA_UNDEFINED%\\x"), u"%VELMORA_UNDEFINED%\\x");
  EXPECT_EQ(ExpandEnvStr(env, u"plain"), u"plain");
  SetEnvironmentVariableW(L"VELMORA_TEST_DIR", nullptr);
}

TEST(Win32SystemInfo, IsAdminIsStable) {
  platform::Win32SystemInfo system;
  ResetIsAdminCache();
  bool first = IsAdmin(system);
  EXPECT_EQ(IsAdmin(system), first);
  EXPECT_TRUE(system.Version().ok);
  ResetIsAdminCache();
}

TEST(Win32Locale, AnsiRoundTripAndErrorText) {
  platform::Win32Locale locale;
  EXPECT_EQ(locale.AnsiToText(locale.TextToAnsi(u"plain ASCII")), u"plain ASCII");
  // Characters code page 1252 lacks become "?", never a best-fit look-alike.
  EXPECT_EQ(locale.TextToAnsi(u"\u20AC\u03A9\u0141\u2260"), "\x80???");
  EXPECT_TRUE(locale.EqualIgnoreCase(u"Ancestor", u"ANCESTOR"));
  EXPECT_FALSE(locale.SystemErrorText(platform::kErrorFileNotFound).empty());
  EXPECT_FALSE(locale.ShortDatePattern().empty());
  EXPECT_GE(locale.Now().year, 2020);
}

}  // namespace
}  // namespace velmora

// -municode: the program starts at wmain.
int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
