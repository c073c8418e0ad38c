#include <gtest/gtest.h>

#include <functional>

#include "platform/memory/MemoryPlatform.h"
#include "settings/BeyondCompareDiscovery.h"
#include "settings/Settings.h"

namespace velmora {
namespace {

using platform::Hive;
using platform::MemoryPlatform;
using platform::RegistryView;

Text VersionKey(int version) {
  return u"Software\\Scooter Software\\Beyond Compare " + ToDecimal(version);
}

// Where Beyond Compare registers itself, and what lies on disk.
struct Machine {
  MemoryPlatform m;
  Machine& File(const Text& path) {
    m.files.AddFile(path);
    return *this;
  }
  Machine& ExePath(int version, Hive hive, RegistryView view, const Text& path) {
    m.registry.SetString(hive, VersionKey(version), u"ExePath", path, platform::kRegSz, view);
    return *this;
  }
  Machine& User(int version, const Text& path) {
    return ExePath(version, Hive::CurrentUser, RegistryView::Native, path);
  }
  Machine& Machine64(int version, const Text& path) {
    return ExePath(version, Hive::LocalMachine, RegistryView::Wow64, path);
  }
  Machine& Machine32(int version, const Text& path) {
    return ExePath(version, Hive::LocalMachine, RegistryView::Wow32, path);
  }
  Text Resolve() { return ResolveComparisonProgram(m.platform); }
};

const Text kBC5 = u"C:\\Program Files\\Beyond Compare 5\\BComp.exe";
const Text kBC4 = u"C:\\Program Files\\Beyond Compare 4\\BComp.exe";
const Text kBC3 = u"C:\\Program Files (x86)\\Beyond Compare 3\\BComp.exe";
const Text kUserBC4 = u"C:\\Users\\u\\AppData\\Local\\Programs\\Beyond Compare 4\\BComp.exe";

TEST(BeyondCompareDiscovery, NewestVersionFirstThenPerUserThen64BitThen32BitThenProgramFiles) {
  struct Row {
    const char* situation;
    std::function<void(Machine&)> setup;
    Text expected;
  } rows[] = {
      {"version 5 for the machine (32-bit view) before version 4 per user",
       [](Machine& x) { x.File(kBC5).File(kUserBC4).User(4, kUserBC4).Machine32(5, kBC5); }, kBC5},
      {"per user before the 64-bit view before the 32-bit view",
       [](Machine& x) {
         x.File(kBC4).File(kUserBC4).File(kBC3);
         x.Machine32(4, kBC3).Machine64(4, kBC4).User(4, kUserBC4);
       },
       kUserBC4},
      {"the 64-bit view before the 32-bit view",
       [](Machine& x) { x.File(kBC4).File(kBC3).Machine32(4, kBC3).Machine64(4, kBC4); }, kBC4},
      {"only the 32-bit view", [](Machine& x) { x.File(kBC3).Machine32(3, kBC3); }, kBC3},
      {"an ExePath of a missing file is passed over",
       [](Machine& x) { x.File(kBC4).User(5, u"C:\\Gone\\BComp.exe").Machine64(4, kBC4); }, kBC4},
      {"an ExePath of the wrong type counts as missing, without an error",
       [](Machine& x) {
         x.m.registry.SetDword(Hive::CurrentUser, VersionKey(5), u"ExePath", 1);
         x.File(kBC3).Machine32(3, kBC3);
       },
       kBC3},
      {"an ExePath naming a folder is passed over",
       [](Machine& x) {
         x.m.files.AddDirectory(u"C:\\BC5\\BComp.exe");
         x.File(kBC3).User(5, u"C:\\BC5\\BComp.exe").User(3, kBC3);
       },
       kBC3},
      {"any registration before the Program Files folders",
       [](Machine& x) { x.File(kBC5).File(kBC3).Machine32(3, kBC3); }, kBC3},
      {"the 64-bit Program Files folder, newest first",
       [](Machine& x) { x.File(kBC4).File(kBC5).File(kBC3); }, kBC5},
      {"the 64-bit Program Files folder before the 32-bit one",
       [](Machine& x) {
         x.File(kBC3).File(u"C:\\Program Files (x86)\\Beyond Compare 5\\BComp.exe").File(kBC4);
       },
       kBC4},
      {"the 32-bit Program Files folder", [](Machine& x) { x.File(kBC3); }, kBC3},
      {"a Program Files folder holding only BCompare.exe",
       [](Machine& x) { x.File(u"C:\\Program Files\\Beyond Compare 5\\BCompare.exe"); }, u""},
      {"no Program Files folders known",
       [](Machine& x) {
         x.File(kBC5);
         x.m.folders.programFiles64.clear();
         x.m.folders.programFiles32.clear();
       },
       u""},
      {"nothing installed", [](Machine&) {}, u""},
  };
  for (auto& row : rows) {
    Machine x;
    row.setup(x);
    EXPECT_EQ(x.Resolve(), row.expected) << row.situation;
    EXPECT_EQ(x.m.registry.OpenKeyCount(), 0) << row.situation;
  }
}

TEST(BeyondCompareDiscovery, TheSettingsStoresPlacesWinOverAnInstalledVersion5) {
  const Text bc2 = u"C:\\Program Files (x86)\\Beyond Compare 2\\BC2.exe";
  struct Row {
    const char* situation;
    std::function<void(Machine&)> setup;
    Text expected;
  } rows[] = {
      {"stored path",
       [](Machine& x) {
         x.File(u"D:\\BC\\BC2.exe");
         x.m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", u"D:\\BC\\BC2.exe");
       },
       u"D:\\BC\\BC2.exe"},
      {"unversioned registration",
       [](Machine& x) {
         x.File(u"D:\\BC3\\BComp.exe");
         x.m.registry.SetString(Hive::CurrentUser, u"Software\\Scooter Software\\Beyond Compare",
                                u"ExePath", u"D:\\BC3\\BComp.exe");
       },
       u"D:\\BC3\\BComp.exe"},
      {"default Beyond Compare 2 location",
       [&bc2](Machine& x) {
         x.File(bc2);
         x.m.registry.SetString(Hive::LocalMachine, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                u"ProgramFilesDir", u"C:\\Program Files (x86)", platform::kRegSz,
                                RegistryView::Wow32);
       },
       bc2},
  };
  for (auto& row : rows) {
    Machine x;
    x.File(kBC5).User(5, kBC5);
    row.setup(x);
    EXPECT_EQ(x.Resolve(), row.expected) << row.situation;
  }
}

TEST(BeyondCompareDiscovery, BCompareExeGivesWayToBCompExeBesideIt) {
  struct Row {
    const char* situation;
    std::function<void(Machine&)> setup;
    Text expected;
  } rows[] = {
      {"stored, launcher beside it",
       [](Machine& x) {
         x.File(u"D:\\BC4\\BCompare.exe").File(u"D:\\BC4\\BComp.exe");
         x.m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path",
                                u"D:\\BC4\\bcompare.EXE");
       },
       u"D:\\BC4\\BComp.exe"},
      {"unversioned registration, launcher beside it",
       [](Machine& x) {
         x.File(u"D:\\BC3\\BCompare.exe").File(u"D:\\BC3\\BComp.exe");
         x.m.registry.SetString(Hive::CurrentUser, u"Software\\Scooter Software\\Beyond Compare",
                                u"ExePath", u"D:\\BC3\\BCompare.exe");
       },
       u"D:\\BC3\\BComp.exe"},
      {"versioned registration, launcher beside it",
       [](Machine& x) {
         x.File(u"C:\\Program Files\\Beyond Compare 5\\BCompare.exe").File(kBC5);
         x.Machine64(5, u"C:\\Program Files\\Beyond Compare 5\\BCompare.exe");
       },
       kBC5},
      {"a forward slash ends the folder too",
       [](Machine& x) {
         x.File(u"D:\\BC4\\BCompare.exe").File(u"D:\\BC4\\BComp.exe");
         x.User(4, u"D:/BC4/BCompare.exe");
       },
       u"D:/BC4/BComp.exe"},
      {"no launcher beside it",
       [](Machine& x) {
         x.File(u"D:\\BC4\\BCompare.exe").File(u"D:\\Other\\BComp.exe");
         x.User(4, u"D:\\BC4\\BCompare.exe");
       },
       u"D:\\BC4\\BCompare.exe"},
      {"a folder named BComp.exe beside it",
       [](Machine& x) {
         x.File(u"D:\\BC4\\BCompare.exe");
         x.m.files.AddDirectory(u"D:\\BC4\\BComp.exe");
         x.User(4, u"D:\\BC4\\BCompare.exe");
       },
       u"D:\\BC4\\BCompare.exe"},
      {"another name is kept",
       [](Machine& x) {
         x.File(u"D:\\BC4\\BCompare.exe.bak").File(u"D:\\BC4\\BComp.exe");
         x.User(4, u"D:\\BC4\\BCompare.exe.bak");
       },
       u"D:\\BC4\\BCompare.exe.bak"},
  };
  for (auto& row : rows) {
    Machine x;
    row.setup(x);
    EXPECT_EQ(x.Resolve(), row.expected) << row.situation;
  }
}

}  // namespace
}  // namespace velmora
