// The installer's presets for every user and its log, under Wine: the switches /COMPARE=,
// /ARGS= and /ANCESTORLEFT= written to the machine-wide key, refusals that change nothing and
// say why in the log, and an uninstall that removes the machine's settings and keeps the user's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <vector>

#include "InstallerRun.h"

namespace {

using namespace installer_e2e;

const std::string kMachineKey = "HKLM\\Software\\Tessmark\\Velmora";
const std::string kBc2 = "C:\\Program Files\\Beyond Compare 2\\BC2.exe";
const std::string kLog = "C:\\e2e\\deploy.log";

// The key's values as "name=type:data", sorted by name; empty without the key.
std::string Values(const std::string& regOutput) {
  std::set<std::string> sorted;
  std::istringstream lines(FromOem(regOutput));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("    ", 0) != 0) continue;
    std::vector<std::string> parts;
    for (size_t from = 4;;) {
      size_t cut = line.find("    ", from);
      parts.push_back(line.substr(from, cut == std::string::npos ? cut : cut - from));
      if (cut == std::string::npos) break;
      from = cut + 4;
    }
    sorted.insert(parts[0] + "=" + parts[1] + ":" + (parts.size() > 2 ? parts[2] : ""));
  }
  std::string values;
  for (const auto& value : sorted) values += (values.empty() ? "" : " ") + value;
  return values;
}

class InstallerDeployment : public InstallerRun {
 protected:
  std::string SetupWith(const std::string& switches) {
    return Run("C:\\e2e\\" + kSetup + " /S /TOOL=" + kTool + " " + switches);
  }
  // Whether the log holds these lines in this order.
  ::testing::AssertionResult LogHolds(const std::string& log,
                                      const std::vector<std::string>& lines) const {
    std::string text = wine.ReadFile(log);
    size_t at = 0;
    for (const auto& line : lines) {
      at = text.find(line + "\r\n", at);
      if (at == std::string::npos) return ::testing::AssertionFailure() << line << " in:\n" << text;
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_F(InstallerDeployment, PresetsAreWrittenForEveryUserAndRemovedWithTheInstallation) {
  PlaceTool(kTool);
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.Install("StandInGui.exe", kBc2);  // what the setup dialog offers at a first use
  wine.RegAdd(kSettings, "BC_Args", "REG_SZ", "/mine");
  struct Row {
    const char* given;
    std::string currentFolder;
    std::string switches;
    std::string values;
  } rows[] = {
      {"all three, the arguments quoted", "",
       "/COMPARE=C:\\BC3\\BComp.exe /ARGS=\"/solo /expandall\" /ANCESTORLEFT=1",
       "AncestorLeft=REG_DWORD:0x1 BC2Path=REG_SZ:C:\\BC3\\BComp.exe BC_Args=REG_SZ:/solo "
       "/expandall UseBC2=REG_DWORD:0x1"},
      {"the PVCS Merge Tool", "", "/COMPARE=PVCS",
       "AncestorLeft=REG_DWORD:0x0 BC2Path=REG_SZ:" + kBc2 +
           " BC_Args=REG_SZ: UseBC2=REG_DWORD:0x0"},
      {"only the arguments, the whole switch quoted", "", "\"/ARGS=/solo /expandall\"",
       "AncestorLeft=REG_DWORD:0x0 BC2Path=REG_SZ:" + kBc2 +
           " BC_Args=REG_SZ:/solo /expandall UseBC2=REG_DWORD:0x0"},
      {"a relative program path", "C:\\Merant", "/COMPARE=..\\BC3\\BComp.exe /ANCESTORLEFT=0",
       "AncestorLeft=REG_DWORD:0x0 BC2Path=REG_SZ:C:\\BC3\\BComp.exe BC_Args=REG_SZ: "
       "UseBC2=REG_DWORD:0x1"},
      {"none", "", "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.given);
    wine.SetCurrentFolder(row.currentFolder);
    EXPECT_EQ(SetupWith(row.switches + " /LOG=" + kLog), "0");
    wine.SetCurrentFolder("");
    EXPECT_EQ(State("C:\\Merant"), Installed("C:\\Merant"));
    EXPECT_EQ(Values(wine.RegQuery(kMachineKey)), row.values);
    EXPECT_TRUE(LogHolds(
        kLog,
        {"Installing Velmora in place of " + kTool + ".",
         "Writing Velmora and VelmoraHelper.exe under temporary names.",
         "Writing the uninstaller and its entry.", "Putting VelmoraHelper.exe in place.",
         "Keeping the original as " + kTool + ".exe.", "Putting Velmora in place of " + kTool + ".",
         "Registering VelmoraHelper.exe.", "Installed."}));
    ASSERT_EQ(
        wine.Wine({"C:\\Merant\\Velmora-uninstall.exe", "/S", "/LOG=" + kLog}, kPatienceSeconds),
        0);
    ASSERT_TRUE(e2e::WineSession::WaitUntil([&] { return wine.RegQuery(kUninstallKey).empty(); },
                                            kPatienceSeconds));
    ASSERT_TRUE(e2e::WineSession::WaitUntil([&] { return wine.WindowsProcesses("_?=").empty(); },
                                            kPatienceSeconds));
    EXPECT_EQ(State("C:\\Merant"), Before());
    EXPECT_EQ(wine.RegQuery(kMachineKey), "") << "the machine's settings go";
    EXPECT_EQ(Values(wine.RegQuery(kSettings)), "BC_Args=REG_SZ:/mine") << "the user's stay";
    EXPECT_TRUE(LogHolds(kLog, {"Uninstalling Velmora from " + kTool + ".",
                                "Put the original back at " + kTool + ".",
                                "Unregistering and removing VelmoraHelper.exe.",
                                "Removing the uninstaller and its entry.", "Uninstalled."}));
    wine.Remove(kLog);
  }
}

TEST_F(InstallerDeployment, RefusalsChangeNothingAndTheLogSaysWhy) {
  PlaceTool(kTool);
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.WriteFile("C:\\BC3\\readme.txt", "text");
  const std::string defaultLog = e2e::WineSession::TempDir() + "\\Velmora-Setup.log";
  struct Row {
    std::string command;
    std::string log;
    std::string reason;
  } rows[] = {
      {"/S /TOOL=" + kTool + " /COMPARE=C:\\BC3\\missing.exe", defaultLog,
       "\"C:\\BC3\\missing.exe\" not found or no access."},
      {"/S /TOOL=" + kTool + " /COMPARE=C:\\BC3 /LOG=" + kLog, kLog,
       "\"C:\\BC3\" not found or no access."},
      {"/S /TOOL=" + kTool + " /COMPARE=C:\\BC3\\readme.txt /LOG=" + kLog, kLog,
       "\"C:\\BC3\\readme.txt\" is not a program file."},
      {"/S /TOOL=" + kTool + " /ANCESTORLEFT=2 /LOG=" + kLog, kLog,
       "/ANCESTORLEFT= takes 1 or 0, not \"2\"."},
      {"/S /TOOL=C:\\Merant\\gone.exe /ARGS=/solo", defaultLog,
       "\"C:\\Merant\\gone.exe\" not found."},
  };
  const std::string before = State("C:\\Merant");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    EXPECT_EQ(Run("C:\\e2e\\" + kSetup + " " + row.command), "2");
    EXPECT_EQ(State("C:\\Merant"), before);
    EXPECT_EQ(wine.RegQuery(kMachineKey), "");
    EXPECT_TRUE(LogHolds(row.log, {row.reason, "Nothing was changed."}));
    wine.Remove(row.log);
  }
}

TEST_F(InstallerDeployment, AFailureWhileWritingThePresetsUndoesTheWholeInstall) {
  PlaceTool(kTool);
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  const std::string before = State("C:\\Merant");
  setenv("VELMORA_SETUP_STOP", "abort settings", 1);
  EXPECT_EQ(Run("C:\\e2e\\Velmora-Setup-stops.exe /S /TOOL=" + kTool +
                " /COMPARE=C:\\BC3\\BComp.exe /LOG=" + kLog),
            "3");
  unsetenv("VELMORA_SETUP_STOP");
  EXPECT_EQ(State("C:\\Merant"), before);
  EXPECT_EQ(wine.RegQuery(kMachineKey), "");
  EXPECT_TRUE(
      LogHolds(kLog, {"Writing the settings for every user to HKLM\\Software\\Tessmark\\Velmora.",
                      "Put the original back at " + kTool + ".",
                      "Everything was put back as it was.", "The installation failed."}));
}

TEST_F(InstallerDeployment, AnInteractiveInstallTakesTheSameSwitches) {
  PlaceTool(kTool);
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.Install("PressButton.exe", "C:\\e2e\\PressButton.exe");
  pid_t setup = wine.Start({"C:\\e2e\\" + kSetup, "/TOOL=" + kTool, "/COMPARE=C:\\BC3\\BComp.exe",
                            "/ARGS=/solo /expandall", "/LOG=" + kLog});
  // Wine quotes the argument with the blank as a whole switch. The tool's page offers the tool
  // given; Install, then Close once it has finished.
  EXPECT_EQ(wine.Wine({"C:\\e2e\\PressButton.exe", "Velmora", "1", "40000"}, kPatienceSeconds), 0);
  EXPECT_TRUE(e2e::WineSession::WaitUntil(
      [&] { return wine.ReadFile(kLog).find("Installed.\r\n") != std::string::npos; },
      kPatienceSeconds));
  EXPECT_EQ(wine.Wine({"C:\\e2e\\PressButton.exe", "Velmora", "1", "40000"}, kPatienceSeconds), 0);
  EXPECT_EQ(wine.Finish(setup, kPatienceSeconds), 0);
  EXPECT_EQ(State("C:\\Merant"), Installed("C:\\Merant"));
  EXPECT_EQ(Values(wine.RegQuery(kMachineKey)),
            "AncestorLeft=REG_DWORD:0x0 BC2Path=REG_SZ:C:\\BC3\\BComp.exe BC_Args=REG_SZ:/solo "
            "/expandall UseBC2=REG_DWORD:0x1");
}

TEST_F(InstallerDeployment, ARequestAfterASilentInstallRunsAsPresetForAUserWithoutAChoice) {
  const std::string temp = e2e::WineSession::TempDir();
  const std::string request = "\"" + kTool + "\" -r " + temp + "\\pvc4712.tmp";
  struct Row {
    const char* given;
    std::string switches;
    std::string started;  // the program that receives the request, and what it receives
    std::string commandLine;
  } rows[] = {
      {"all three switches",
       "/COMPARE=C:\\BC3\\BComp.exe /ARGS=\"/solo /expandall\" /ANCESTORLEFT=1",
       "C:\\BC3\\BComp.exe",
       "\"C:\\BC3\\BComp.exe\" \"" + temp + "\\pvc4710.c\" \"" + temp +
           "\\pvc4711.c\" /title1=\"main.c (Rev. 1.4)\" /title2=\"main.c (Rev. 1.5)\" /lro /rro "
           "/solo /expandall"},
      {"the PVCS Merge Tool", "/COMPARE=PVCS", kTool + ".exe", request},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.given);
    PlaceTool(kTool);
    wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
    ASSERT_EQ(SetupWith(row.switches), "0");
    wine.WriteFile(temp + "\\pvc4710.tmp", "ancestor\r\n");
    wine.WriteFile(temp + "\\pvc4711.tmp", "derivative\r\n");
    wine.WriteFile(temp + "\\pvc4712.tmp", "ANCESTOR=\"" + temp +
                                               "\\pvc4710.tmp\",\"File 1: main.c 1.4\"\r\n"
                                               "DERIVATIVES=\"" +
                                               temp + "\\pvc4711.tmp\",\"File 2: main.c 1.5\"\r\n");

    // A setup dialog would drop the request, start nothing and wait for the user.
    auto outcome = wine.RunLikePvcs(request, 0);
    EXPECT_EQ(outcome.launcher, "0");
    EXPECT_TRUE(outcome.boxes.empty());
    std::string record = wine.ReadFile(row.started + ".cmdline");
    EXPECT_EQ(record.substr(0, record.find('\n')), row.commandLine);
    EXPECT_EQ(wine.RegQuery(kSettings), "") << "nothing is stored for the user";

    ASSERT_TRUE(Uninstall("C:\\Merant"));
    wine.Remove(row.started + ".cmdline");
  }
}

}  // namespace
