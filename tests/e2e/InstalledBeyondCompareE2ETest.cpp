// The real Velmora.exe under Wine with Beyond Compare installed as users have it today: versions
// 3 to 5 found in the registry and in the Program Files folders, the launcher BComp.exe started
// in place of BCompare.exe, the archive masks of the version that runs, and BComp.exe's refusals
// in the run log.
#include <gtest/gtest.h>

#include <functional>

#include "WineHarness.h"

namespace {

const std::string kSettings = "HKCU\\Software\\Tessmark\\Velmora";
const std::string kRequest = "\"C:\\PVCS\\Velmora.exe\" -r ";
const std::string kScooter = "Software\\Scooter Software\\Beyond Compare";

// A request for two revisions in the temporary directory; the comparison program is what
// Velmora finds.
class InstalledRequest : public testing::Test {
 public:
  InstalledRequest() : wine(e2e::CurrentTestName()), temp(e2e::WineSession::TempDir()) {
    wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  }
  // A stand-in at `path`, registered nowhere.
  void Put(const std::string& path, const std::string& standIn = "StandInGui.exe") {
    wine.Install(standIn, path);
  }
  // "HKCU", "HKLM /reg:64" or "HKLM /reg:32".
  void Register(const std::string& place, int version, const std::string& exePath) {
    std::string hive = place.substr(0, 4);
    std::string view = place.size() > 5 ? place.substr(5) : "";
    wine.RegAdd(hive + "\\" + kScooter + " " + std::to_string(version), "ExePath", "REG_SZ",
                exePath, view);
  }
  e2e::RequestOutcome Run(const std::string& extension = ".c") {
    wine.WriteFile(temp + "\\pvc4710.tmp", "ancestor");
    wine.WriteFile(temp + "\\pvc4711.tmp", "derivative");
    wine.WriteFile(temp + "\\pvc4712.tmp", "ANCESTOR=\"" + temp + "\\pvc4710.tmp\",\"File 1: lib" +
                                               extension + " 1.4\"\r\nDERIVATIVES=\"" + temp +
                                               "\\pvc4711.tmp\",\"File 2: lib" + extension +
                                               " 1.5\"\r\n");
    return wine.RunLikePvcs(kRequest + temp + "\\pvc4712.tmp", 0);
  }
  std::string Log() const { return wine.ReadFile(temp + "\\Velmora.log"); }
  // The program that was started: the one whose stand-in recorded its command line.
  bool Started(const std::string& path) const { return wine.Exists(path + ".cmdline"); }
  std::string AppData() const { return temp.substr(0, temp.rfind('\\')) + "\\AppData\\Roaming"; }

  e2e::WineSession wine;
  std::string temp;
};

struct ProgramCase {
  const char* name;
  std::function<void(InstalledRequest&)> install;
  const char* started;     // the program that must run
  const char* notStarted;  // a program that must not
};

void PrintTo(const ProgramCase& c, std::ostream* out) {
  *out << c.name;
}

class ProgramFound : public InstalledRequest, public testing::WithParamInterface<ProgramCase> {};

TEST_P(ProgramFound, IsTheOneStarted) {
  const ProgramCase& c = GetParam();
  c.install(*this);
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0");
  EXPECT_TRUE(Started(c.started)) << Log();
  EXPECT_FALSE(Started(c.notStarted));
  EXPECT_NE(Log().find("\r\nCreateProcess: \"" + std::string(c.started) + "\" "), std::string::npos)
      << Log();
}

const char* const kPF64 = "C:\\Program Files\\Beyond Compare ";
const char* const kPF32 = "C:\\Program Files (x86)\\Beyond Compare ";

INSTANTIATE_TEST_SUITE_P(
    Wine, ProgramFound,
    testing::Values(
        // BCompare.exe returns at once while Beyond Compare is open; BComp.exe beside it waits.
        ProgramCase{"DiscoveredBCompareExeStartsBCompExe",
                    [](InstalledRequest& r) {
                      r.Put("C:\\BC4\\BCompare.exe");
                      r.Put("C:\\BC4\\BComp.exe");
                      r.Register("HKCU", 4, "C:\\BC4\\BCompare.exe");
                    },
                    "C:\\BC4\\BComp.exe", "C:\\BC4\\BCompare.exe"},
        ProgramCase{"StoredBCompareExeStartsBCompExe",
                    [](InstalledRequest& r) {
                      r.Put("C:\\BC4\\BCompare.exe");
                      r.Put("C:\\BC4\\BComp.exe");
                      r.wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC4\\BCompare.exe");
                    },
                    "C:\\BC4\\BComp.exe", "C:\\BC4\\BCompare.exe"},
        ProgramCase{"BCompareExeAloneIsStarted",
                    [](InstalledRequest& r) {
                      r.Put("C:\\BC4\\BCompare.exe");
                      r.wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC4\\BCompare.exe");
                    },
                    "C:\\BC4\\BCompare.exe", "C:\\BC4\\BComp.exe"},
        // Each place of the search, with an older version at a place searched earlier.
        ProgramCase{"PerUserRegistration",
                    [](InstalledRequest& r) {
                      r.Put("C:\\U5\\BComp.exe");
                      r.Put("C:\\M4\\BComp.exe");
                      r.Register("HKLM /reg:64", 4, "C:\\M4\\BComp.exe");
                      r.Register("HKCU", 5, "C:\\U5\\BComp.exe");
                    },
                    "C:\\U5\\BComp.exe", "C:\\M4\\BComp.exe"},
        ProgramCase{"MachineRegistration64BitView",
                    [](InstalledRequest& r) {
                      r.Put("C:\\M5\\BComp.exe");
                      r.Put("C:\\U4\\BComp.exe");
                      r.Register("HKCU", 4, "C:\\U4\\BComp.exe");
                      r.Register("HKLM /reg:64", 5, "C:\\M5\\BComp.exe");
                    },
                    "C:\\M5\\BComp.exe", "C:\\U4\\BComp.exe"},
        ProgramCase{"MachineRegistration32BitView",
                    [](InstalledRequest& r) {
                      r.Put("C:\\W5\\BComp.exe");
                      r.Put("C:\\M4\\BComp.exe");
                      r.Register("HKLM /reg:64", 4, "C:\\M4\\BComp.exe");
                      r.Register("HKLM /reg:32", 5, "C:\\W5\\BComp.exe");
                    },
                    "C:\\W5\\BComp.exe", "C:\\M4\\BComp.exe"},
        ProgramCase{"ProgramFiles64Bit",
                    [](InstalledRequest& r) {
                      r.Put(std::string(kPF64) + "4\\BComp.exe");
                      r.Put(std::string(kPF64) + "5\\BComp.exe");
                    },
                    "C:\\Program Files\\Beyond Compare 5\\BComp.exe",
                    "C:\\Program Files\\Beyond Compare 4\\BComp.exe"},
        ProgramCase{"ProgramFiles32Bit",
                    [](InstalledRequest& r) {
                      r.Put(std::string(kPF32) + "3\\BComp.exe");
                      r.Put(std::string(kPF32) + "4\\BComp.exe");
                    },
                    "C:\\Program Files (x86)\\Beyond Compare 4\\BComp.exe",
                    "C:\\Program Files (x86)\\Beyond Compare 3\\BComp.exe"},
        // The settings' own places win over an installed version 5.
        ProgramCase{"StoredPathWinsOverVersion5",
                    [](InstalledRequest& r) {
                      r.Put(std::string(kPF64) + "5\\BComp.exe");
                      r.Register("HKCU", 5, std::string(kPF64) + "5\\BComp.exe");
                      r.Put("C:\\BC2\\BC2.exe");
                      r.wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC2\\BC2.exe");
                    },
                    "C:\\BC2\\BC2.exe", "C:\\Program Files\\Beyond Compare 5\\BComp.exe"},
        ProgramCase{"UnversionedRegistrationWinsOverVersion5",
                    [](InstalledRequest& r) {
                      r.Put(std::string(kPF64) + "5\\BComp.exe");
                      r.Register("HKCU", 5, std::string(kPF64) + "5\\BComp.exe");
                      r.Put("C:\\BC3\\BComp.exe");
                      r.wine.RegAdd("HKCU\\" + kScooter, "ExePath", "REG_SZ", "C:\\BC3\\BComp.exe");
                    },
                    "C:\\BC3\\BComp.exe", "C:\\Program Files\\Beyond Compare 5\\BComp.exe"},
        ProgramCase{"DefaultBeyondCompare2WinsOverVersion5",
                    [](InstalledRequest& r) {
                      r.Put(std::string(kPF64) + "5\\BComp.exe");
                      r.Register("HKCU", 5, std::string(kPF64) + "5\\BComp.exe");
                      r.Put(std::string(kPF32) + "2\\BC2.exe");
                      // As 64-bit Windows has it; Wine's 32-bit view lacks the value.
                      r.wine.RegAdd("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                    "ProgramFilesDir", "REG_SZ", "C:\\Program Files (x86)",
                                    "/reg:32");
                    },
                    "C:\\Program Files (x86)\\Beyond Compare 2\\BC2.exe",
                    "C:\\Program Files\\Beyond Compare 5\\BComp.exe"}),
    [](const testing::TestParamInfo<ProgramCase>& param) { return param.param.name; });

struct MaskCase {
  const char* name;
  const char* standIn;
  const char* program;
  bool portable;          // BCState.xml and BCPreferences.xml beside the program
  const char* extension;  // of the compared files
  bool marked;            // handed to the server as an archive
};

void PrintTo(const MaskCase& c, std::ostream* out) {
  *out << c.name;
}

class ArchiveMasksOfTheRunningVersion : public InstalledRequest,
                                        public testing::WithParamInterface<MaskCase> {};

// Beyond Compare 3's preferences call .rar files archives, version 4's and a portable
// install's call .7z files archives.
TEST_P(ArchiveMasksOfTheRunningVersion, DecideWhichSideGoesToTheServer) {
  const MaskCase& c = GetParam();
  Put(c.program, c.standIn);
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", c.program);
  const std::string scooter = AppData() + "\\Scooter Software\\Beyond Compare ";
  wine.WriteFile(scooter + "3\\BCPreferences.xml", "<Zip Value=\"*.rar\"/>\r\n");
  wine.WriteFile(scooter + "4\\BCPreferences.xml", "<Zip Value=\"*.7z\"/>\r\n");
  if (c.portable) {
    std::string folder = std::string(c.program).substr(0, std::string(c.program).rfind('\\'));
    wine.WriteFile(folder + "\\BCState.xml", "<BCState/>\r\n");
    wine.WriteFile(folder + "\\BCPreferences.xml", "<Zip Value=\"*.7z\"/>\r\n");
  }
  auto outcome = Run(c.extension);
  ASSERT_EQ(outcome.launcher, "0");
  const std::string marked =
      "------------> The file remains on disk until Beyond Compare is closed\r\n";
  std::string log = Log();
  EXPECT_EQ(log.find(marked) != std::string::npos, c.marked) << log;
  // A marked side's copy stays for the server (which is not registered here); an unmarked one
  // goes back to PVCS's name.
  EXPECT_EQ(wine.Exists(temp + "\\pvc4711" + c.extension), c.marked);
  EXPECT_EQ(wine.Exists(temp + "\\pvc4711.tmp"), !c.marked);
}

INSTANTIATE_TEST_SUITE_P(
    Wine, ArchiveMasksOfTheRunningVersion,
    testing::Values(MaskCase{"Version4", "StandInGuiVersion4.exe", "C:\\BC4\\BComp.exe", false,
                             ".7z", true},
                    MaskCase{"Version4NotVersion3Masks", "StandInGuiVersion4.exe",
                             "C:\\BC4\\BComp.exe", false, ".rar", false},
                    MaskCase{"Portable", "StandInGui.exe", "C:\\Tools\\BC Portable\\BComp.exe",
                             true, ".7z", true},
                    MaskCase{"NoVersionResourceReadsVersion3Masks", "StandInGui.exe",
                             "C:\\BC3\\BComp.exe", false, ".rar", true}),
    [](const testing::TestParamInfo<MaskCase>& param) { return param.param.name; });

struct ExitCodeCase {
  const char* name;
  const char* program;
  const char* exitCode;
  const char* line;  // the line after the timing line; empty: none
};

void PrintTo(const ExitCodeCase& c, std::ostream* out) {
  *out << c.name;
}

class LauncherExitCode : public InstalledRequest,
                         public testing::WithParamInterface<ExitCodeCase> {};

TEST_P(LauncherExitCode, IsLoggedOnlyWhenBCompExeRefused) {
  const ExitCodeCase& c = GetParam();
  Put(c.program);
  wine.WriteFile(std::string(c.program) + ".exitcode", c.exitCode);
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", c.program);
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0") << "Velmora itself ends with 0";
  ASSERT_TRUE(Started(c.program));
  std::string log = Log();
  std::string timing = " seconds {0/0}\r\n";
  size_t at = log.find(timing);
  ASSERT_NE(at, std::string::npos) << log;
  std::string next = log.substr(at + timing.size());
  std::string disposition = "\"" + temp + "\\pvc4711.c\" is recognized as temporary file";
  EXPECT_EQ(next.substr(0, std::string(c.line).size()), c.line) << log;
  EXPECT_EQ(next.substr(std::string(c.line).size(), disposition.size()), disposition) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Wine, LauncherExitCode,
    testing::Values(ExitCodeCase{"ComparisonResult13", "C:\\BC3\\BComp.exe", "13", ""},
                    ExitCodeCase{"BCompareNotFound103", "C:\\BC3\\BComp.exe", "103",
                                 "BComp.exe returned exit code 103 - BCompare.exe not found\r\n"},
                    ExitCodeCase{"TrialExpired104", "C:\\BC3\\BComp.exe", "104",
                                 "BComp.exe returned exit code 104 - trial period expired\r\n"},
                    ExitCodeCase{"Code103FromBC2", "C:\\BC2\\BC2.exe", "103", ""}),
    [](const testing::TestParamInfo<ExitCodeCase>& param) { return param.param.name; });

}  // namespace
