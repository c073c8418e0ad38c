// A whole request on the in-memory platform: the order of the run's steps, its two logs and
// what each failure leaves behind.
#include <gtest/gtest.h>

#include "app/ProgramEntry.h"
#include "launch/BeyondCompareRun.h"
#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryPlatform.h"
#include "settings/Settings.h"
#include "support/Errors.h"

namespace velmora {
namespace {

using platform::Hive;

class NoSetup : public ISetupDialog {
 public:
  bool Execute(const Text&) override {
    ADD_FAILURE() << "no setup dialog expected";
    return false;
  }
};

const Text kProgram = u"C:\\BC3\\BComp.exe";
const Text kParameterFile = u"C:\\Temp\\pvc4712.tmp";
const std::string kParameters =
    "ANCESTOR=\"C:\\Temp\\pvc4710.tmp\",\"File 1: main.c 1.4\"\r\n"
    "DERIVATIVES=\"C:\\Temp\\pvc4711.tmp\",\"File 2: main.c 1.5\"\r\n";
const std::string kCommandLine =
    "\"C:\\BC3\\BComp.exe\" \"C:\\Temp\\pvc4711.c\" \"C:\\Temp\\pvc4710.c\" "
    "/title1=\"main.c (Rev. 1.5)\" /title2=\"main.c (Rev. 1.4)\" /lro /rro";
const std::string kFirstLog = "Tempfile:\r\n=========\r\n" + kParameters +
                              "\r\nLeft:\r\n=====\r\n"
                              "PVCS File   > \"C:\\Temp\\pvc4711.tmp\"\r\n"
                              "Origin Name > \"main.c\"\r\n"
                              "Version     > \" (Rev. 1.5)\"\r\n"
                              "FileForBC   > \"C:\\Temp\\pvc4711.c\"\r\n"
                              "\r\nRight:\r\n======\r\n"
                              "PVCS File   > \"C:\\Temp\\pvc4710.tmp\"\r\n"
                              "Origin Name > \"main.c\"\r\n"
                              "Version     > \" (Rev. 1.4)\"\r\n"
                              "FileForBC   > \"C:\\Temp\\pvc4710.c\"\r\n"
                              "\r\nComparison:\r\n===========\r\n"
                              "CreateProcess: " +
                              kCommandLine + "\r\n";

// One request: Velmora started by PVCS with a parameter file naming two revisions.
struct Request {
  Request() : run(m.platform) {
    m.self.commandLine = u"\"C:\\PVCS\\Velmora.exe\" -r " + kParameterFile;
    m.self.modulePath = u"C:\\PVCS\\Velmora.exe";
    m.files.AddFile(kProgram);
    m.files.AddFile(u"C:\\Temp\\pvc4710.tmp", "ancestor");
    m.files.AddFile(u"C:\\Temp\\pvc4711.tmp", "derivative");
    m.files.AddFile(kParameterFile, kParameters);
    m.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", 1);
    m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", kProgram);
  }
  void AddComparisonProgram(std::function<void()> whileRunning = nullptr) {
    m.processes.AddProgram(kProgram, {0, 0, std::move(whileRunning)});
  }
  int Main() { return ProgramMain(m.platform, setup, run); }
  std::string Log() {
    const Text path = u"C:\\Temp\\Velmora.log";
    return m.files.Exists(path) ? m.files.ContentString(path) : std::string("(none)");
  }
  std::vector<Text> BoxTexts() {
    std::vector<Text> texts;
    for (const auto& box : m.dialogs.boxes) texts.push_back(box.text);
    return texts;
  }

  platform::MemoryPlatform m;
  NoSetup setup;
  BeyondCompareRun run;
};

class BeyondCompareRunTest : public testing::Test, public Request {};

TEST_F(BeyondCompareRunTest, ServesTheRequestAndLogsEveryStep) {
  std::string logWhileRunning;
  AddComparisonProgram([&] {
    logWhileRunning = Log();
    // The files Beyond Compare is given carry the real extension.
    EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\pvc4711.c"), "derivative");
    EXPECT_FALSE(m.files.Exists(u"C:\\Temp\\pvc4711.tmp"));
    m.locale.Advance(1234567);
  });
  EXPECT_EQ(Main(), 0);
  EXPECT_TRUE(m.dialogs.boxes.empty());
  ASSERT_EQ(m.processes.Starts().size(), 1u);
  const auto& started = *m.processes.Starts()[0];
  EXPECT_FALSE(started.start.applicationName.has_value());
  EXPECT_EQ(ToUtf8(started.start.commandLine), kCommandLine);
  EXPECT_EQ(started.start.startupFlags, 0x81u);
  EXPECT_EQ(started.start.showWindow, 0);
  EXPECT_EQ(started.events, (std::vector<Text>{u"ready", u"ended", u"closed"}));

  EXPECT_EQ(logWhileRunning, kFirstLog) << "the first log is saved before the start";
  EXPECT_EQ(Log(), kFirstLog +
                       "CreateProcess returned after 1,234.567 seconds {0/0}\r\n"
                       "\"C:\\Temp\\pvc4711.c\" is recognized as temporary file - deletion managed "
                       "by PVCS / Dimensions\r\n"
                       "\"C:\\Temp\\pvc4710.c\" is recognized as temporary file - deletion managed "
                       "by PVCS / Dimensions\r\n");
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\pvc4711.tmp"), "derivative");
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\pvc4710.tmp"), "ancestor");
  EXPECT_FALSE(m.files.Exists(u"C:\\Temp\\pvc4711.c"));
  EXPECT_TRUE(m.windowing.Closed());
}

TEST_F(BeyondCompareRunTest, FailedStartKeepsTheFirstLogAndPutsTheFilesBack) {
  m.processes.FailStarts(193);
  EXPECT_EQ(Main(), 0);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].caption, u"Error");
  EXPECT_TRUE(StartsWith(m.dialogs.boxes[0].text,
                         u"Failed to start \"C:\\BC3\\BComp.exe\". System error message was:\r\r"
                         u"System Error.  Code: 193.\r\n"));
  EXPECT_EQ(Log(), kFirstLog);
  // PVCS finds its files under its own names again.
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\pvc4711.tmp"), "derivative");
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\pvc4710.tmp"), "ancestor");
  EXPECT_FALSE(m.files.Exists(u"C:\\Temp\\pvc4711.c"));
  EXPECT_FALSE(m.files.Exists(u"C:\\Temp\\pvc4710.c"));
  EXPECT_EQ(m.processes.Starts().size(), 1u) << "the merge tool is not started";
}

TEST_F(BeyondCompareRunTest, ErrorsBeforeTheFirstSaveLeaveNoLogAndStartNothing) {
  struct Row {
    const char* situation;
    std::function<void(platform::MemoryPlatform&)> setup;
    Text message;
  } rows[] = {
      {"right entry missing",
       [](platform::MemoryPlatform& p) {
         p.files.AddFile(kParameterFile,
                         "DERIVATIVES=\"C:\\Temp\\pvc4711.tmp\",\"File 2: main.c 1.5\"");
       },
       u"List index out of bounds (1)"},
      {"parameter file held open for writing",
       [](platform::MemoryPlatform& p) { p.files.LockForWriting(kParameterFile); },
       u"Cannot open file \"C:\\Temp\\pvc4712.tmp\". "},
      {"orientation of the wrong type",
       [](platform::MemoryPlatform& p) {
         p.registry.SetString(Hive::CurrentUser, kSettingsKey, u"AncestorLeft", u"1");
       },
       u"Invalid data type for 'AncestorLeft'"},
      {"log cannot be created",
       [](platform::MemoryPlatform& p) {
         p.files.AddFile(u"C:\\Temp\\Velmora.log", "previous run");
         p.files.Lock(u"C:\\Temp\\Velmora.log");
       },
       u"Cannot create file \"C:\\Temp\\Velmora.log\". "},
  };
  for (const auto& row : rows) {
    Request fresh;
    fresh.AddComparisonProgram();
    row.setup(fresh.m);
    EXPECT_EQ(fresh.Main(), 0) << row.situation;
    ASSERT_EQ(fresh.m.dialogs.boxes.size(), 1u) << row.situation;
    EXPECT_EQ(fresh.m.dialogs.boxes[0].caption, u"Velmora");
    EXPECT_TRUE(StartsWith(fresh.m.dialogs.boxes[0].text, row.message))
        << row.situation << ": " << ToUtf8(fresh.m.dialogs.boxes[0].text);
    EXPECT_TRUE(fresh.m.processes.Starts().empty()) << row.situation;
    EXPECT_NE(fresh.Log().find(fresh.m.files.Exists(u"C:\\Temp\\Velmora.log") ? "previous run"
                                                                              : "(none)"),
              std::string::npos)
        << row.situation << ": no new log";
    // The moves already made are undone before the error is shown.
    EXPECT_FALSE(fresh.m.files.Exists(u"C:\\Temp\\pvc4711.c")) << row.situation;
    EXPECT_EQ(fresh.m.files.ContentString(u"C:\\Temp\\pvc4711.tmp"), "derivative") << row.situation;
    EXPECT_TRUE(fresh.m.windowing.Closed()) << row.situation;
  }
}

TEST_F(BeyondCompareRunTest, FailedSecondSaveLeavesTheFirstLogAfterTheDispositions) {
  AddComparisonProgram([&] { m.files.Lock(u"C:\\Temp\\Velmora.log"); });
  EXPECT_EQ(Main(), 0);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_TRUE(
      StartsWith(m.dialogs.boxes[0].text, u"Cannot create file \"C:\\Temp\\Velmora.log\". "));
  m.files.Unlock(u"C:\\Temp\\Velmora.log");
  EXPECT_EQ(Log(), kFirstLog);
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\pvc4711.tmp"), "derivative");
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\pvc4710.tmp"), "ancestor");
}

TEST_F(BeyondCompareRunTest, QuotesInTitlesCannotAddSwitches) {
  AddComparisonProgram();
  m.files.AddFile(kParameterFile,
                  "ANCESTOR=\"C:\\Temp\\pvc4710.tmp\",\"File 1: main.c 1.4\"\r\n"
                  "DERIVATIVES=\"C:\\Temp\\pvc4711.tmp\",\"main.c;REL\"\" /fv=\"\"x\"\r\n");
  EXPECT_EQ(Main(), 0);
  ASSERT_EQ(m.processes.Starts().size(), 1u);
  EXPECT_EQ(ToUtf8(m.processes.Starts()[0]->start.commandLine),
            "\"C:\\BC3\\BComp.exe\" \"C:\\Temp\\pvc4711.c\" \"C:\\Temp\\pvc4710.c\" "
            "/title1=\"main.c;REL' /fv='x\" /title2=\"main.c (Rev. 1.4)\" /lro /rro");
  // The log keeps the title as PVCS gave it and shows the command line actually used.
  EXPECT_NE(Log().find("Version     > \";REL\" /fv=\"x\"\r\n"), std::string::npos) << Log();
  EXPECT_NE(Log().find("/title1=\"main.c;REL' /fv='x\""), std::string::npos);
}

// BComp.exe reports through exit codes from 100 on that it could not do its job: one line right
// after the timing line. Any other code, and any other program, leave the log as it was.
TEST_F(BeyondCompareRunTest, LauncherExitCodeFrom100OnIsLoggedAfterTheTiming) {
  const std::string timing = "CreateProcess returned after 0.000 seconds {0/0}\r\n";
  struct Row {
    Text program;
    uint32_t exitCode;
    std::string line;  // empty: no line
  } rows[] = {
      {kProgram, 0, ""},
      {kProgram, 13, ""},
      {kProgram, 99, ""},
      {kProgram, 100, "BComp.exe returned exit code 100 - unknown error"},
      {kProgram, 101, "BComp.exe returned exit code 101 - conflicts, merge output not written"},
      {kProgram, 102,
       "BComp.exe returned exit code 102 - BComp.exe could not wait for BCompare.exe"},
      {kProgram, 103, "BComp.exe returned exit code 103 - BCompare.exe not found"},
      {kProgram, 104, "BComp.exe returned exit code 104 - trial period expired"},
      {kProgram, 105, "BComp.exe returned exit code 105 - script error"},
      {kProgram, 107, "BComp.exe returned exit code 107 - script error"},
      {kProgram, 108, "BComp.exe returned exit code 108 - not a comparison result"},
      {kProgram, 0xC0000005, "BComp.exe returned exit code 3221225477 - not a comparison result"},
      {u"C:\\BC3\\bcomp.EXE", 103, "BComp.exe returned exit code 103 - BCompare.exe not found"},
      {u"C:\\BC2\\BC2.exe", 103, ""},
  };
  for (const auto& row : rows) {
    Request r;
    r.m.files.AddFile(row.program);
    r.m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", row.program);
    r.m.processes.AddProgram(row.program);
    r.m.processes.SetExitCode(row.program, row.exitCode);
    EXPECT_EQ(r.Main(), 0);
    std::string log = r.Log();
    size_t at = log.find(timing);
    ASSERT_NE(at, std::string::npos) << log;
    std::string after = log.substr(at + timing.size());
    std::string disposition = "\"C:\\Temp\\pvc4711.c\" is recognized as temporary file";
    if (row.line.empty()) {
      EXPECT_EQ(after.substr(0, disposition.size()), disposition) << row.exitCode;
    } else {
      EXPECT_EQ(after.substr(0, row.line.size() + 2 + disposition.size()),
                row.line + "\r\n" + disposition);
    }
    // Only the launcher's exit code is ever read.
    ASSERT_EQ(r.m.processes.Starts().size(), 1u);
    EXPECT_EQ(r.m.processes.Starts()[0]->exitCodeReads,
              EqualsIgnoreAsciiCase(FileNameOf(row.program), u"BComp.exe") ? 1 : 0);
  }
}

// The in-memory file system refusing to move one file.
class RefusingFiles : public platform::MemoryFileSystem {
 public:
  Text refuse;
  uint32_t Move(const Text& from, const Text& to) override {
    return from == refuse ? platform::kErrorAccessDenied : MemoryFileSystem::Move(from, to);
  }
};

// A failed run whose copy cannot go back names it, as it is now called, in the error shown and
// in the log, when the run has one.
TEST(BeyondCompareRunUndo, FilesThatCannotGoBackAreNamedInTheErrorAndTheLog) {
  const Text kNotBack =
      u"\r\n\r\nCannot move file \"C:\\work\\pvc4711.c\" back to "
      u"\"C:\\work\\pvc4711.tmp\". Access is denied";
  struct Row {
    const char* situation;
    bool startFails;  // else the right side raises the invalid-mask error before any log
    Text box;         // the whole text shown
  } rows[] = {
      {"invalid mask", false, u"'[' is an invalid mask at (2)" + kNotBack + u"."},
      {"start fails", true,
       u"Failed to start \"C:\\BC3\\BComp.exe\". System error message was:\r\r"
       u"System Error.  Code: 193.\r\n%1 is not a valid Win32 application" +
           kNotBack},
  };
  for (const auto& row : rows) {
    RefusingFiles files;
    platform::MemoryPlatform m;
    platform::Platform p{m.registry, m.processes, m.self,        m.windowing, m.shell,
                         files,      m.system,    m.environment, m.locale,    m.com,
                         m.dialogs,  m.clock,     m.versions,    m.folders};
    m.self.commandLine = u"\"C:\\PVCS\\Velmora.exe\" -r " + kParameterFile;
    m.self.modulePath = u"C:\\PVCS\\Velmora.exe";
    m.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", 1);
    m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", kProgram);
    m.environment.SetVariable(u"APPDATA", u"C:\\AppData");
    files.AddFile(kProgram);
    files.AddFile(u"C:\\Temp\\pvc4710.tmp", "ancestor");
    files.AddFile(u"C:\\work\\pvc4711.tmp", "derivative");
    files.AddFile(kParameterFile,
                  std::string("ANCESTOR=\"C:\\Temp\\pvc4710.tmp\",\"File 1: ") +
                      (row.startFails ? "main.c" : "lib.zip") +
                      " 1.4\"\r\nDERIVATIVES=\"C:\\work\\pvc4711.tmp\",\"File 2: main.c 1.5\"");
    if (row.startFails) {
      m.processes.FailStarts(193);
    } else {
      files.AddFile(u"C:\\AppData\\Scooter Software\\Beyond Compare 3\\BCPreferences.xml",
                    "<Zip Value=\"[\"/>");
    }
    files.refuse = u"C:\\work\\pvc4711.c";
    NoSetup setup;
    BeyondCompareRun run(p);
    EXPECT_EQ(ProgramMain(p, setup, run), 0);

    ASSERT_EQ(m.dialogs.boxes.size(), 1u) << row.situation;
    EXPECT_EQ(m.dialogs.boxes[0].text, row.box) << row.situation;
    EXPECT_EQ(files.ContentString(u"C:\\work\\pvc4711.c"), "derivative") << row.situation;
    EXPECT_EQ(files.ContentString(u"C:\\Temp\\pvc4710.tmp"), "ancestor") << row.situation;
    const Text logPath = u"C:\\Temp\\Velmora.log";
    if (!row.startFails) {
      EXPECT_FALSE(files.Exists(logPath)) << row.situation;
      continue;
    }
    const std::string log = files.ContentString(logPath);
    EXPECT_TRUE(log.ends_with("/lro /rro\r\n" + ToUtf8(kNotBack.substr(4)) + "\r\n")) << log;
  }
}

}  // namespace
}  // namespace velmora
