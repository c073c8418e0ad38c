#include <gtest/gtest.h>

#include <functional>

#include "disposal/ArchiveMasks.h"
#include "disposal/ArchivePreferences.h"
#include "platform/memory/MemoryPlatform.h"
#include "request/SideAssignment.h"

namespace velmora {
namespace {

const Text kAppData = u"C:\\Users\\u\\AppData\\Roaming";
const Text kBC3Prefs = kAppData + u"\\Scooter Software\\Beyond Compare 3\\BCPreferences.xml";
const Text kBC4Prefs = kAppData + u"\\Scooter Software\\Beyond Compare 4\\BCPreferences.xml";
const Text kBC5Prefs = kAppData + u"\\Scooter Software\\Beyond Compare 5\\BCPreferences.xml";
const Text kProgram = u"D:\\Tools\\BC\\BComp.exe";
const Text kPortablePrefs = u"D:\\Tools\\BC\\BCPreferences.xml";

struct Machine {
  Machine() {
    m.environment.SetVariable(u"APPDATA", kAppData);
    m.files.AddFile(kProgram);
  }
  platform::MemoryPlatform m;
};

TEST(ArchivePreferences, FileFollowsTheProgramThatRuns) {
  struct Row {
    const char* situation;
    std::function<void(Machine&)> setup;
    Text program;
    Text expected;
  } rows[] = {
      {"version 4", [](Machine& x) { x.m.versions.SetMajorVersion(kProgram, 4); }, kProgram,
       kBC4Prefs},
      {"version 5", [](Machine& x) { x.m.versions.SetMajorVersion(kProgram, 5); }, kProgram,
       kBC5Prefs},
      {"version 3", [](Machine& x) { x.m.versions.SetMajorVersion(kProgram, 3); }, kProgram,
       kBC3Prefs},
      {"an older version", [](Machine& x) { x.m.versions.SetMajorVersion(kProgram, 2); }, kProgram,
       kBC3Prefs},
      {"no version resource", [](Machine&) {}, kProgram, kBC3Prefs},
      {"portable: BCState.xml beside the program, whatever its version",
       [](Machine& x) {
         x.m.versions.SetMajorVersion(kProgram, 5);
         x.m.files.AddFile(u"D:\\Tools\\BC\\bcstate.XML");
       },
       kProgram, kPortablePrefs},
      {"portable without a version resource",
       [](Machine& x) { x.m.files.AddFile(u"D:\\Tools\\BC\\BCState.xml"); }, kProgram,
       kPortablePrefs},
      {"a folder named BCState.xml is no portable install",
       [](Machine& x) {
         x.m.versions.SetMajorVersion(kProgram, 4);
         x.m.files.AddDirectory(u"D:\\Tools\\BC\\BCState.xml");
       },
       kProgram, kBC4Prefs},
      {"BCState.xml elsewhere", [](Machine& x) { x.m.files.AddFile(u"D:\\Tools\\BCState.xml"); },
       kProgram, kBC3Prefs},
      {"no program given", [](Machine&) {}, u"", kBC3Prefs},
      {"APPDATA undefined: the reference stays and names no file",
       [](Machine& x) {
         x.m.versions.SetMajorVersion(kProgram, 4);
         x.m.environment.RemoveVariable(u"APPDATA");
       },
       kProgram, u"%APPDATA%\\Scooter Software\\Beyond Compare 4\\BCPreferences.xml"},
  };
  for (auto& row : rows) {
    Machine x;
    row.setup(x);
    EXPECT_EQ(ArchivePreferencesFile(x.m.platform, row.program), row.expected) << row.situation;
  }
}

// Each preferences file names another archive type; the masks come from the chosen one, and a
// chosen file that cannot be read gives the default list, never another file.
TEST(ArchivePreferences, MasksComeFromTheChosenFileWithTheUsualFallbacks) {
  struct Row {
    const char* situation;
    std::function<void(Machine&)> setup;
    Text masks;
  } rows[] = {
      {"version 4", [](Machine& x) { x.m.versions.SetMajorVersion(kProgram, 4); }, u"*.bc4"},
      {"portable", [](Machine& x) { x.m.files.AddFile(u"D:\\Tools\\BC\\BCState.xml"); },
       u"*.portable"},
      {"no version resource", [](Machine&) {}, u"*.bc3"},
      {"version 5 without its preferences",
       [](Machine& x) { x.m.versions.SetMajorVersion(kProgram, 5); }, kDefaultArchiveMasks},
      {"portable preferences without the element",
       [](Machine& x) {
         x.m.files.AddFile(u"D:\\Tools\\BC\\BCState.xml");
         x.m.files.AddFile(kPortablePrefs, "<Zip value=\"*.7z\"/>");
       },
       kDefaultArchiveMasks},
      {"version 4 preferences held open for writing",
       [](Machine& x) {
         x.m.versions.SetMajorVersion(kProgram, 4);
         x.m.files.LockForWriting(kBC4Prefs);
       },
       kDefaultArchiveMasks},
  };
  for (auto& row : rows) {
    Machine x;
    x.m.files.AddFile(kBC3Prefs, "<Zip Value=\"*.bc3\"/>");
    x.m.files.AddFile(kBC4Prefs, "<Zip Value=\"*.bc4\"/>");
    x.m.files.AddFile(kPortablePrefs, "<Zip Value=\"*.portable\"/>");
    row.setup(x);
    EXPECT_EQ(GetArchiveMasks(x.m.platform, kProgram), row.masks) << row.situation;
    // A .zip file is an archive only by the default list.
    EXPECT_EQ(NeedsHelper(x.m.platform, true, u"C:\\Temp\\x.zip", kProgram),
              row.masks == kDefaultArchiveMasks)
        << row.situation;
  }
}

// A request reads the program's version only when the program is the launcher and a side's
// copy lies in the temporary directory: once for each such side.
TEST(ArchivePreferences, VersionIsReadOnlyWhenAnArchiveCouldBeHandedToTheServer) {
  struct Row {
    const char* situation;
    bool isBC3;
    Text folder;
    int reads;
  } rows[] = {
      {"launcher, both sides in the temporary directory", true, u"C:\\Temp", 2},
      {"another program", false, u"C:\\Temp", 0},
      {"launcher, both sides elsewhere", true, u"C:\\Work", 0},
  };
  for (const auto& row : rows) {
    Machine x;
    x.m.versions.SetMajorVersion(kProgram, 4);
    x.m.files.AddFile(row.folder + u"\\anc.tmp", "a");
    x.m.files.AddFile(row.folder + u"\\der.tmp", "d");
    x.m.files.AddFile(
        u"C:\\p\\params.txt",
        ToUtf8(u"ANCESTOR=\"" + row.folder + u"\\anc.tmp\",\"File 1: lib.zip 1.3\"\r\n" +
               u"DERIVATIVES=\"" + row.folder + u"\\der.tmp\",\"File 2: lib.zip 1.4\"\r\n"));
    AssignSides(x.m.platform, u"C:\\p\\params.txt", row.isBC3, {}, nullptr, kProgram);
    EXPECT_EQ(x.m.versions.Reads(), row.reads) << row.situation;
  }
}

}  // namespace
}  // namespace velmora
