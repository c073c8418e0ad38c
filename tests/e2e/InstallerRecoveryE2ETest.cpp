// The installer under Wine when things are not ordinary: every form of the tool's path, an install
// cut off before each of its steps, an uninstall while a comparison is open, and a restart after
// a reinstall that followed an uninstall with a busy server. After every step the tool's bytes,
// its folder, the uninstall entry and the server's class key are checked.
#include <gtest/gtest.h>
#include <signal.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>

#include "InstallerRun.h"

namespace {

namespace fs = std::filesystem;
using namespace installer_e2e;

using InstallerRecovery = InstallerRun;

TEST_F(InstallerRecovery, EveryFormOfTheToolPathInstallsTheFullPathAndUninstalls) {
  const std::string log = e2e::WineSession::TempDir() + "\\Velmora-Setup.log";
  const std::string blanks = "C:\\Program Files\\S\xC3\xA9r\xC3\xA8na PVCS";
  struct Row {
    const char* form;
    std::string currentFolder;
    std::string toolSwitch;
    std::string folder;  // where the tool lies
  } rows[] = {
      {"relative to the current folder", "C:\\Merant", "/TOOL=pvcsmrg.exe", "C:\\Merant"},
      {"with ..\\", "C:\\PVCS", "/TOOL=..\\Merant\\pvcsmrg.exe", "C:\\Merant"},
      {"forward slashes", "", "/TOOL=C:/Merant/pvcsmrg.exe", "C:\\Merant"},
      {"whole switch quoted, blanks and non-ASCII letters", "",
       "\"/TOOL=" + blanks + "\\pvcsmrg.exe\"", blanks},
      {"value quoted", "", "/TOOL=\"" + blanks + "\\pvcsmrg.exe\"", blanks},
      {"blanks unquoted", "", "/TOOL=" + blanks + "\\pvcsmrg.exe", blanks},
      {"relative, quoted, with forward slashes", "C:\\Program Files",
       "\"/TOOL=S\xC3\xA9r\xC3\xA8na PVCS/./pvcsmrg.exe\"", blanks},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.form);
    PlaceTool(row.folder + "\\pvcsmrg.exe");
    ASSERT_EQ(State(row.folder), Before());
    wine.SetCurrentFolder(row.currentFolder);
    EXPECT_EQ(Run("C:\\e2e\\" + kSetup + " /S " + row.toolSwitch), "0");
    wine.SetCurrentFolder("");
    EXPECT_EQ(State(row.folder), Installed(row.folder)) << wine.ReadFile(log);
    EXPECT_EQ(ValueOf(wine.RegQuery(kUninstallKey, "InstallLocation"), "InstallLocation"),
              row.folder);
    ASSERT_TRUE(Uninstall(row.folder));
    EXPECT_EQ(State(row.folder), Before());
  }
}

TEST_F(InstallerRecovery, RepairsHalfDoneStatesAndRefusesWhatItCannotTellApart) {
  const std::string folder = "C:\\Merant";
  const std::string entry = kUninstallKey;
  const std::string log = e2e::WineSession::TempDir() + "\\Velmora-Setup.log";
  const std::string unfinished =
      " An earlier installation was not finished; putting it back first.";
  struct Row {
    const char* found;
    std::function<void(e2e::WineSession&)> arrange;
    std::string exitCode;  // "0" repaired and installed, "2" refused with nothing changed
    std::string said;      // in the details and the log
  } rows[] = {
      {"the original at <name>.exe and nothing at <name>",
       [](e2e::WineSession& w) { w.Remove(kTool); }, "0",
       "Found the original at " + kTool + ".exe and nothing at " + kTool + "." + unfinished},
      {"the original at <name>.exe and a 0-byte file at <name>",
       [](e2e::WineSession& w) { w.WriteFile(kTool, ""); }, "0",
       "Found the original at " + kTool + ".exe and an empty file at " + kTool + "." + unfinished},
      {"the original at <name>.exe and Velmora at <name>, without a record",
       [](e2e::WineSession& w) {
         w.Install("Velmora.exe", kTool);
         w.Install("VelmoraHelper.exe", "C:\\Merant\\VelmoraHelper.exe");
       },
       "0",
       "Found the original at " + kTool + ".exe and Velmora at " + kTool +
           " without an uninstaller." + unfinished},
      {"a record without files",
       [&](e2e::WineSession& w) {
         w.Install("StandInGui.exe", kTool);
         w.Remove(kTool + ".exe");
         w.RegAdd(entry, "Tool", "REG_SZ", kTool);
       },
       "0",
       "Found the record of an installation in place of " + kTool +
           ", but the tool was never replaced." + unfinished},
      {"a record, the original at <name>.exe and someone's file at <name>",
       [&](e2e::WineSession& w) {
         w.WriteFile(kTool, "someone's file");
         w.RegAdd(entry, "Tool", "REG_SZ", kTool);
       },
       "2",
       "\"" + kTool + ".exe\" and \"" + kTool +
           "\" cannot be told apart: put the original PVCS Merge Tool back under \"" + kTool +
           "\" by hand."},
      {"someone's file under the temporary name",
       [](e2e::WineSession& w) {
         w.Remove(kTool);
         w.WriteFile(kTool + ".velmora-new", "someone's file");
       },
       "2", "\"" + kTool + ".velmora-new\" exists already and is not part of Velmora."},
      {"someone's VelmoraHelper.exe",
       [](e2e::WineSession& w) {
         w.Remove(kTool);
         w.WriteFile("C:\\Merant\\VelmoraHelper.exe", "someone's file");
       },
       "2", "\"C:\\Merant\\VelmoraHelper.exe\" exists already and is not part of Velmora."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.found);
    PlaceTool(kTool);
    wine.Install("StandInGui.exe", kTool + ".exe");  // the original, moved out of the way
    row.arrange(wine);
    std::string found = State(folder);
    EXPECT_EQ(Setup(kTool), row.exitCode);
    EXPECT_NE(wine.ReadFile(log).find(row.said + "\r\n"), std::string::npos) << wine.ReadFile(log);
    wine.Remove(log);
    if (row.exitCode == "2") {
      EXPECT_EQ(State(folder), found) << "nothing changed";
      fs::remove_all(wine.UnixPath(folder));
      wine.Wine({"reg", "delete", entry, "/f"}, kPatienceSeconds);
      continue;
    }
    EXPECT_EQ(State(folder), Installed(folder));
    ASSERT_TRUE(Uninstall(folder));
    EXPECT_EQ(State(folder), Before());
  }
}

TEST_F(InstallerRecovery, UninstallWhileAComparisonIsOpenIsRefusedAndWorksOnceItHasEnded) {
  const std::string folder = "C:\\Merant";
  PlaceTool(kTool);
  ASSERT_EQ(Setup(kTool), "0");
  const std::string installed = State(folder);
  ASSERT_EQ(installed, Installed(folder));

  // A comparison through the tool's name, kept open until the test ends it.
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe");
  const std::string temp = e2e::WineSession::TempDir();
  wine.WriteFile(temp + "\\pvc1.tmp", "one");
  wine.WriteFile(temp + "\\pvc2.tmp", "two");
  wine.WriteFile(temp + "\\pvc3.tmp", "ANCESTOR=" + temp + "\\pvc1.tmp,main.c;1.1\r\nDERIVATIVES=" +
                                          temp + "\\pvc2.tmp,main.c;1.2\r\n");
  setenv("VELMORA_STANDIN_MS", "600000", 1);
  wine.StartLikePvcs(kTool + " " + temp + "\\pvc3.tmp");
  unsetenv("VELMORA_STANDIN_MS");
  ASSERT_TRUE(e2e::WineSession::WaitUntil([&] { return wine.Exists("C:\\BC3\\BComp.exe.cmdline"); },
                                          kPatienceSeconds));

  // Run in place (_?=), the uninstaller's exit code is its own.
  EXPECT_EQ(Run(folder + "\\Velmora-uninstall.exe /S _?=" + folder), "2");
  EXPECT_EQ(State(folder), installed) << "everything kept";
  // Interactive, it says why, naming the file.
  wine.Install("PressButton.exe", "C:\\e2e\\PressButton.exe");
  pid_t uninstaller = wine.Start({folder + "\\Velmora-uninstall.exe", "_?=" + folder});
  EXPECT_EQ(wine.Wine({"C:\\e2e\\PressButton.exe", "Velmora", "1", "40000"}, kPatienceSeconds), 0)
      << "the Uninstall button";
  wine.Wine({"C:\\e2e\\UiProbe.exe", "C:\\e2e\\probe.txt", "40000", "1"}, kPatienceSeconds);
  EXPECT_NE(wine.ReadFile("C:\\e2e\\probe.txt")
                .find("text=Velmora is running as \"" + kTool +
                      "\" and cannot be removed now. Close every open comparison and try again.\n"),
            std::string::npos)
      << wine.ReadFile("C:\\e2e\\probe.txt");
  // The failed uninstall's page, left with Cancel.
  EXPECT_EQ(wine.Wine({"C:\\e2e\\PressButton.exe", "Velmora", "2", "40000"}, kPatienceSeconds), 0);
  EXPECT_EQ(wine.Finish(uninstaller, kPatienceSeconds), 2);
  EXPECT_EQ(State(folder), installed) << "everything kept";

  // An installer run meanwhile that finds the install unfinished cannot roll it back either.
  const std::string uninstallerBytes = wine.ReadFile(folder + "\\Velmora-uninstall.exe");
  wine.Remove(folder + "\\Velmora-uninstall.exe");
  const std::string unfinished = State(folder);
  EXPECT_EQ(Setup(kTool), "2");
  EXPECT_EQ(State(folder), unfinished);
  wine.WriteFile(folder + "\\Velmora-uninstall.exe", uninstallerBytes);

  for (pid_t pid : wine.WindowsProcesses("BComp.exe")) kill(pid, SIGKILL);
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  ASSERT_TRUE(Uninstall(folder));
  EXPECT_EQ(State(folder), Before());
}

TEST_F(InstallerRecovery, ARestartAfterAReinstallKeepsTheServerThatWasBusyAtUninstall) {
  const std::string folder = "C:\\Merant";
  const std::string temp = e2e::WineSession::TempDir();
  PlaceTool(kTool);
  ASSERT_EQ(Setup(kTool), "0");

  // The server is busy: it holds a file handed over that another program keeps open.
  const std::string held = temp + "\\pvc9.zip";
  wine.WriteFile(held, "PK");
  wine.Install("HoldFile.exe", "C:\\e2e\\HoldFile.exe");
  pid_t holder = wine.Start({"C:\\e2e\\HoldFile.exe", held, "600000", "C:\\e2e\\hold",
                             std::to_string(kPatienceSeconds * 1000)});
  ASSERT_TRUE(e2e::WineSession::WaitUntil([&] { return wine.Exists("C:\\e2e\\hold.held"); },
                                          kPatienceSeconds));
  wine.Install("HelperClient.exe", "C:\\e2e\\HelperClient.exe");
  ASSERT_EQ(wine.Wine({"C:\\e2e\\HelperClient.exe", "C:\\e2e\\client.txt", held}, kPatienceSeconds),
            0);
  ASSERT_NE(wine.ReadFile("C:\\e2e\\client.txt").find("hr=00000000"), std::string::npos);
  ASSERT_FALSE(wine.WindowsProcesses("VelmoraHelper.exe").empty());

  ASSERT_TRUE(Uninstall(folder));
  EXPECT_EQ(State(folder), "pvcsmrg.exe=original vlm*.tmp=server | entry: none | server: none")
      << "the busy server moved out of the way";

  // The server ends once the file is released; then Velmora is installed again.
  kill(-holder, SIGKILL);
  wine.Finish(holder, kPatienceSeconds);
  ASSERT_TRUE(e2e::WineSession::WaitUntil(
      [&] { return wine.WindowsProcesses("VelmoraHelper.exe").empty(); }, kPatienceSeconds));
  ASSERT_EQ(Setup(kTool), "0");

  // The restart deletes only the server that was moved away.
  EXPECT_EQ(wine.Wine({"wineboot", "-r"}, kPatienceSeconds), 0);
  EXPECT_EQ(State(folder), Installed(folder));
}

// An install stopped before one of its steps: killed there (as by a crash or a power cut), or
// failing there (as when the Abort button of a copy error is chosen).
struct Stop {
  const char* step;
  std::string killed;  // the state that the killed install leaves, "%" for the tool's folder
};

void PrintTo(const Stop& stop, std::ostream* out) {
  *out << stop.step;
}

class InstallStopped : public InstallerRecovery, public testing::WithParamInterface<Stop> {};

TEST_P(InstallStopped, FailureUndoesAndTheNextRunRepairsAKilledInstall) {
  const std::string folder = "C:\\Merant";
  PlaceTool(kTool);
  const std::string before = State(folder);

  setenv("VELMORA_SETUP_STOP", (std::string("abort ") + GetParam().step).c_str(), 1);
  EXPECT_EQ(Setup(kTool, "Velmora-Setup-stops.exe"), "3");
  EXPECT_EQ(State(folder), before) << "a failure undoes everything";

  setenv("VELMORA_SETUP_STOP", (std::string("kill ") + GetParam().step).c_str(), 1);
  EXPECT_EQ(Setup(kTool, "Velmora-Setup-stops.exe"), "9");
  unsetenv("VELMORA_SETUP_STOP");
  std::string killed = GetParam().killed;
  for (size_t at; (at = killed.find('%')) != std::string::npos;) killed.replace(at, 1, folder);
  EXPECT_EQ(State(folder), killed);

  // Run again, the installer puts the half-done state right and installs.
  EXPECT_EQ(Setup(kTool), "0");
  EXPECT_EQ(State(folder), Installed(folder));
  ASSERT_TRUE(Uninstall(folder));
  EXPECT_EQ(State(folder), before);
}

INSTANTIATE_TEST_SUITE_P(
    Wine, InstallStopped,
    testing::Values(
        Stop{"copy", "pvcsmrg.exe=original | entry: none | server: none"},
        Stop{"record",
             "VelmoraHelper.exe.velmora-new=server pvcsmrg.exe=original "
             "pvcsmrg.exe.velmora-new=Velmora | entry: none | server: none"},
        Stop{"server",
             "Velmora-uninstall.exe=uninstaller VelmoraHelper.exe.velmora-new=server "
             "pvcsmrg.exe=original pvcsmrg.exe.velmora-new=Velmora | entry: %\\pvcsmrg.exe | "
             "server: none"},
        Stop{"keep-original",
             "Velmora-uninstall.exe=uninstaller VelmoraHelper.exe=server pvcsmrg.exe=original "
             "pvcsmrg.exe.velmora-new=Velmora | entry: %\\pvcsmrg.exe | server: none"},
        Stop{"velmora",
             "Velmora-uninstall.exe=uninstaller VelmoraHelper.exe=server pvcsmrg.exe.exe=original "
             "pvcsmrg.exe.velmora-new=Velmora | entry: %\\pvcsmrg.exe | server: none"},
        Stop{"register",
             "Velmora-uninstall.exe=uninstaller VelmoraHelper.exe=server pvcsmrg.exe=Velmora "
             "pvcsmrg.exe.exe=original | entry: %\\pvcsmrg.exe | server: none"}),
    [](const testing::TestParamInfo<Stop>& param) {
      std::string name;
      for (const char* c = param.param.step; *c; ++c) name += std::isalnum(*c) ? *c : '_';
      return name;
    });

}  // namespace
