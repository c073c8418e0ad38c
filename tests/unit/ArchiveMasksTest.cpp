#include <gtest/gtest.h>

#include <string>

#include "disposal/ArchiveMasks.h"
#include "platform/memory/MemoryPlatform.h"
#include "support/Errors.h"

namespace velmora {
namespace {

const Text kPrefs =
    u"C:\\Users\\u\\AppData\\Roaming\\Scooter Software\\Beyond Compare 3\\BCPreferences.xml";

class ArchiveMasksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mem.environment.SetVariable(u"APPDATA", u"C:\\Users\\u\\AppData\\Roaming");
  }
  void Prefs(const std::string& xml) { mem.files.AddFile(kPrefs, xml); }
  platform::MemoryPlatform mem;
};

TEST_F(ArchiveMasksTest, MasksFromThePreferencesFile) {
  using namespace std::string_literals;
  struct Row {
    std::string xml;
    Text masks;
  } rows[] = {
      {"<BCPreferences>\r\n  <Zip Value=\"*.7z;*.rar\"/>\r\n</BCPreferences>", u"*.7z;*.rar"},
      {"<Zip Value=\"\"/>", u""},
      {"<Zip Value=\"*.a\"/><Zip Value=\"*.b\"/>", u"*.a"},  // the first element
      {"<Zip Value=\"*.a\" />", kDefaultArchiveMasks},       // blank before the slash
      {"<zip value=\"*.a\"/>", kDefaultArchiveMasks},        // lower-case names
      {"<Zip Value=\"*.a\n\"/>", kDefaultArchiveMasks},      // value across a line break
      {"<Zip Value=\"*.a\n<Zip Value=\"*.b\"/>", u"*.b"},
      {"\xFF\xFE<\0Z\0i\0p\0 \0V\0a\0l\0u\0e\0=\0\"\0*\0.\0u\0\"\0/\0>\0"s, u"*.u"},
      {"\xEF\xBB\xBF<Zip Value=\"*.\xC3\xA4\"/>", u"*.\u00E4"},
      {"<Zip Value=\"*.a\"/\0>"s, kDefaultArchiveMasks},  // NUL ends the text
      {"", kDefaultArchiveMasks},
  };
  for (const auto& r : rows) {
    Prefs(r.xml);
    EXPECT_EQ(GetArchiveMasks(mem.platform), r.masks) << r.xml;
  }
}

TEST_F(ArchiveMasksTest, UnreadablePreferencesGiveTheDefault) {
  Prefs("<Zip Value=\"*.7z\"/>");
  mem.files.LockForWriting(kPrefs);
  EXPECT_EQ(GetArchiveMasks(mem.platform), kDefaultArchiveMasks);  // held open for writing
  mem.files.Unlock(kPrefs);
  mem.environment.RemoveVariable(u"APPDATA");
  EXPECT_EQ(GetArchiveMasks(mem.platform), kDefaultArchiveMasks);  // APPDATA undefined
  mem.environment.SetVariable(u"APPDATA", u"C:\\Elsewhere");
  EXPECT_EQ(GetArchiveMasks(mem.platform), kDefaultArchiveMasks);  // file missing
}

TEST_F(ArchiveMasksTest, ArchiveFilesByMaskList) {
  struct Row {
    const char* xml;  // null: no preferences file
    Text file;
    bool archive;
  } rows[] = {
      {"<Zip Value=\"*.7z;*.rar\"/>", u"C:\\Temp\\x.7z", true},
      {"<Zip Value=\"*.7z;*.rar\"/>", u"C:\\Temp\\x.zip", false},
      {"<Zip Value=\"\"/>", u"C:\\Temp\\x.zip", false},
      {nullptr, u"C:\\Temp\\LIB.ZIP", true},
      {nullptr, u"C:\\Temp\\x.bcpkg", true},
      {nullptr, u"C:\\Temp\\x.zip.bak", false},
      {"<Zip Value=\"*.zip; *.jar\"/>", u"C:\\Temp\\x.jar", false},
      {"<Zip Value=\"*.zip;;*.jar\"/>", u"C:\\Temp\\x.jar", true},
  };
  for (const auto& r : rows) {
    platform::MemoryPlatform fresh;
    fresh.environment.SetVariable(u"APPDATA", u"C:\\Users\\u\\AppData\\Roaming");
    if (r.xml) fresh.files.AddFile(kPrefs, r.xml);
    EXPECT_EQ(IsArchiveFile(fresh.platform, r.file), r.archive) << ToUtf8(r.file);
    EXPECT_EQ(NeedsHelper(fresh.platform, true, r.file), r.archive) << ToUtf8(r.file);
  }
}

TEST_F(ArchiveMasksTest, InvalidMaskRaisesAndStopsTheWalk) {
  Prefs("<Zip Value=\"*.7z;[;*.zip\"/>");
  try {
    IsArchiveFile(mem.platform, u"C:\\Temp\\x.zip");
    FAIL() << "no error";
  } catch (const EVelmora& e) {
    EXPECT_EQ(e.Message(), u"'[' is an invalid mask at (2)");
  }
  EXPECT_TRUE(IsArchiveFile(mem.platform, u"C:\\Temp\\x.7z"));  // matched before the bad mask
}

TEST_F(ArchiveMasksTest, WithoutBeyondCompare3ThePreferencesAreNotRead) {
  Prefs("<Zip Value=\"[\"/>");  // would raise if read
  EXPECT_FALSE(NeedsHelper(mem.platform, false, u"C:\\Temp\\x.zip"));
}

}  // namespace
}  // namespace velmora
