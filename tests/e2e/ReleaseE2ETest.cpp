// What a user installs, under Wine: the programs' version resources, and the installer that
// puts Velmora in place of the PVCS Merge Tool and takes it out again.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "WineHarness.h"

namespace {

const std::string kSetup = std::string("Velmora-Setup-") + VELMORA_VERSION + ".exe";
const std::string kTool = "C:\\Merant\\pvcsmrg.exe";
const std::string kSettings = "HKCU\\Software\\Tessmark\\Velmora";
const std::string kUninstallKey =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";
const std::string kClassKey = "HKCR\\CLSID\\{3F990032-0766-453D-AC59-3A33A8722940}";

// A PVCS installation whose merge tool is a stand-in of our own, and the installer beside it.
class Installer : public testing::Test {
 protected:
  Installer() : wine(e2e::CurrentTestName()) {
    wine.Install("StandInGui.exe", kTool);
    original = wine.ReadFile(kTool);
    wine.InstallBuilt(kSetup, "C:\\e2e\\" + kSetup);
  }
  // The installer's exit code.
  int Setup(const std::string& tool) {
    std::vector<std::string> args{"C:\\e2e\\" + kSetup, "/S"};
    if (!tool.empty()) args.push_back("/TOOL=" + tool);
    return wine.Wine(args, 120);
  }
  // A snapshot of what the installer may change: the tool's folder and the keys.
  std::string State() {
    std::string state;
    for (const char* name :
         {"pvcsmrg.exe", "pvcsmrg.exe.exe", "VelmoraHelper.exe", "Velmora-uninstall.exe"}) {
      std::string path = "C:\\Merant\\" + std::string(name);
      state += name +
               std::string(wine.Exists(path) ? "=" + std::to_string(wine.ReadFile(path).size())
                                             : "=none") +
               "\n";
    }
    state += "uninstall entry: " + wine.RegQuery(kUninstallKey) + "\n";
    state += "server: " + wine.RegQuery(kClassKey) + "\n";
    return state;
  }

  e2e::WineSession wine;
  std::string original;
};

TEST_F(Installer, InstallsInPlaceOfTheToolServesRequestsAndUninstallsToTheOriginal) {
  ASSERT_EQ(Setup(kTool), 0);
  EXPECT_EQ(wine.ReadFile(kTool + ".exe"), original) << "the original kept under <name>.exe";
  EXPECT_EQ(wine.ReadFile(kTool), wine.ReadFile("C:\\PVCS\\Velmora.exe"));
  EXPECT_TRUE(wine.Exists("C:\\Merant\\VelmoraHelper.exe"));
  EXPECT_NE(wine.RegQuery(kClassKey).find("LocalServer32"), std::string::npos);
  std::string entry = wine.RegQuery(kUninstallKey);
  EXPECT_NE(entry.find("DisplayVersion    REG_SZ    " VELMORA_VERSION), std::string::npos) << entry;
  EXPECT_NE(entry.find("Velmora-uninstall.exe"), std::string::npos) << entry;

  // A request through the tool's name reaches the comparison program.
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe");
  const std::string temp = e2e::WineSession::TempDir();
  wine.WriteFile(temp + "\\pvc1.tmp", "one");
  wine.WriteFile(temp + "\\pvc2.tmp", "two");
  wine.WriteFile(temp + "\\pvc3.tmp", "ANCESTOR=" + temp + "\\pvc1.tmp,main.c;1.1\r\nDERIVATIVES=" +
                                          temp + "\\pvc2.tmp,main.c;1.2\r\n");
  EXPECT_EQ(wine.RunLikePvcs(kTool + " " + temp + "\\pvc3.tmp", 0).launcher, "0");
  EXPECT_TRUE(wine.Exists("C:\\BC3\\BComp.exe.cmdline"));
  // A fallback reaches the original tool, renamed.
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "0");
  const std::string fallback = kTool + " -m " + temp + "\\pvc3.tmp";
  EXPECT_EQ(wine.RunLikePvcs(fallback, 0).launcher, "0");
  std::string record = wine.ReadFile(kTool + ".exe.cmdline");
  EXPECT_EQ(record.substr(0, record.find('\n')), fallback);

  // A silent uninstall restarts itself from the temporary folder: wait for its effect.
  wine.Remove(kTool + ".exe.cmdline");
  ASSERT_EQ(wine.Wine({"C:\\Merant\\Velmora-uninstall.exe", "/S"}, 120), 0);
  for (int i = 0;
       i < 100 && (wine.Exists(kTool + ".exe") || wine.Exists("C:\\Merant\\Velmora-uninstall.exe"));
       ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  EXPECT_EQ(wine.ReadFile(kTool), original) << "the original back, byte for byte";
  EXPECT_FALSE(wine.Exists(kTool + ".exe"));
  EXPECT_FALSE(wine.Exists("C:\\Merant\\VelmoraHelper.exe"));
  EXPECT_FALSE(wine.Exists("C:\\Merant\\Velmora-uninstall.exe"));
  EXPECT_EQ(wine.RegQuery(kUninstallKey), "");
  EXPECT_EQ(wine.RegQuery(kClassKey), "");
  EXPECT_NE(wine.RegQuery(kSettings).find("UseBC2"), std::string::npos) << "settings are kept";
}

TEST_F(Installer, RefusesWithoutChangingAnything) {
  struct Row {
    const char* situation;
    std::string tool;
    std::function<void(e2e::WineSession&)> arrange;
  } rows[] = {
      {"no tool named", "", [](e2e::WineSession&) {}},
      {"the tool does not exist", "C:\\Merant\\gone.exe", [](e2e::WineSession&) {}},
      {"<name>.exe exists", kTool,
       [](e2e::WineSession& w) { w.WriteFile(kTool + ".exe", "someone's file"); }},
      {"the chosen file is Velmora", kTool,
       [](e2e::WineSession& w) { w.Install("Velmora.exe", kTool); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    row.arrange(wine);
    std::string before = State();
    EXPECT_EQ(Setup(row.tool), 2);
    EXPECT_EQ(State(), before);
    wine.Install("StandInGui.exe", kTool);
    wine.Remove(kTool + ".exe");
  }
  // A second install over the first.
  ASSERT_EQ(Setup(kTool), 0);
  std::string installed = State();
  EXPECT_EQ(Setup(kTool), 2);
  EXPECT_EQ(State(), installed);
}

TEST(Release, ProgramsCarryTheProjectVersion) {
  e2e::WineSession wine(e2e::CurrentTestName());
  wine.Install("VersionProbe.exe", "C:\\e2e\\VersionProbe.exe");
  wine.Install("VelmoraHelper.exe", "C:\\PVCS\\VelmoraHelper.exe");
  const std::string version = VELMORA_VERSION;
  for (const std::string program : {"Velmora.exe", "VelmoraHelper.exe"}) {
    SCOPED_TRACE(program);
    ASSERT_EQ(
        wine.Wine({"C:\\e2e\\VersionProbe.exe", "C:\\PVCS\\" + program, "C:\\e2e\\v.txt"}, 60), 0);
    std::string seen = wine.ReadFile("C:\\e2e\\v.txt");
    EXPECT_NE(seen.find("fixed=" + version + ".0\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("ProductName=Velmora\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("ProductVersion=" + version + "\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("FileVersion=" + version + "\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("CompanyName=Tessmark\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("OriginalFilename=" + program + "\n"), std::string::npos) << seen;
  }
}

}  // namespace
