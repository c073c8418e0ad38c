#include <gtest/gtest.h>

#include "support/ErrorDisplay.h"
#include "app/ProgramEntry.h"
#include "app/Worker.h"
#include "platform/memory/MemoryPlatform.h"
#include "settings/Settings.h"
#include "support/Errors.h"

namespace velmora {
namespace {

using platform::Hive;

class RecordingSetup : public ISetupDialog {
 public:
  bool Execute(const Text& path) override {
    paths.push_back(path);
    if (!failWith.empty()) throw EVelmora(failWith);
    return true;
  }
  std::vector<Text> paths;
  Text failWith;
};

class RecordingRun : public IComparisonRun {
 public:
  void Run(const Text& bc2Path, const Text& parameterFile, bool isBC3) override {
    runs.push_back(bc2Path + u"|" + parameterFile + (isBC3 ? u"|BC3" : u"|BC2"));
    if (!failWith.empty()) throw EVelmora(failWith);
  }
  std::vector<Text> runs;
  Text failWith;
};

const Text kModule = u"C:\\Program Files\\PVCS\\Velmora.exe";
const Text kRequest = u"\"C:\\Program Files\\PVCS\\Velmora.exe\"  -x  \"C:\\Temp\\pvc 1.tmp\"";

// Velmora started by PVCS with a request whose parameter file exists. The merge tool has no
// message queue, so the wait for its readiness fails at once.
struct Request {
  Request() {
    m.self.modulePath = kModule;
    m.self.commandLine = kRequest;
    m.files.AddFile(u"C:\\Temp\\pvc 1.tmp");
    m.files.AddFile(u"C:\\BC3\\BComp.exe");
    m.processes.AddProgram(kModule + u".exe", {platform::kWaitFailed, 0, nullptr});
  }
  void Choose(uint32_t useBC2, const Text& program = u"C:\\BC3\\BComp.exe") {
    m.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", useBC2);
    m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", program);
  }
  int Main() { return ProgramMain(m.platform, setup, run); }
  bool ToolStarted() const { return !m.processes.Starts().empty(); }

  platform::MemoryPlatform m;
  RecordingSetup setup;
  RecordingRun run;
};

class WorkerTest : public testing::Test, public Request {};

TEST_F(WorkerTest, NoArgumentsOpensTheStandAloneSetupWithoutWorker) {
  m.self.commandLine = u"\"" + kModule + u"\"  ";
  Choose(1);
  EXPECT_EQ(Main(), 0);
  EXPECT_EQ(setup.paths, std::vector<Text>{u"C:\\BC3\\BComp.exe"});
  EXPECT_TRUE(m.windowing.Events().empty());
  EXPECT_FALSE(ToolStarted());
  EXPECT_EQ(m.com.initializeCalls, 1);
}

TEST_F(WorkerTest, StandAloneSetupErrorEndsWithCodeOne) {
  m.self.commandLine = u"Velmora.exe";
  setup.failWith = u"Invalid data type for 'UseBC2'";
  EXPECT_EQ(Main(), 1);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].caption, u"Velmora");
  EXPECT_EQ(m.dialogs.boxes[0].text, u"Invalid data type for 'UseBC2'");
}

TEST_F(WorkerTest, FirstRequestEverOpensSetupWhateverKeysAreHeld) {
  EXPECT_EQ(Main(), 0);
  EXPECT_EQ(setup.paths.size(), 1u);
  EXPECT_TRUE(run.runs.empty());
  EXPECT_FALSE(ToolStarted());
  // The keys are not even looked at; the owner window is shown for the dialog.
  EXPECT_EQ(m.windowing.Events(), (std::vector<Text>{u"create", u"size 0x0", u"show worker",
                                                     u"owner 0", u"idle", u"owner 1"}));
  EXPECT_TRUE(m.windowing.Closed());
}

TEST_F(WorkerTest, KeysDecideBetweenSetupAndRequest) {
  struct Row {
    bool ctrl, shift, setupChosen;
    std::vector<Text> keysAsked;
  } rows[] = {
      {false, false, false, {u"key 17"}},
      {false, true, false, {u"key 17"}},
      {true, false, false, {u"key 17", u"key 16"}},
      {true, true, true, {u"key 17", u"key 16"}},
  };
  for (const auto& row : rows) {
    Request r;
    r.Choose(1);
    if (row.ctrl) r.m.windowing.PressKey(platform::kVkControl);
    if (row.shift) r.m.windowing.PressKey(platform::kVkShift);
    EXPECT_EQ(r.Main(), 0);
    EXPECT_EQ(r.setup.paths.size(), row.setupChosen ? 1u : 0u) << row.ctrl << row.shift;
    EXPECT_EQ(r.run.runs.size(), row.setupChosen ? 0u : 1u) << row.ctrl << row.shift;
    std::vector<Text> keys;
    for (const auto& e : r.m.windowing.Events()) {
      if (StartsWith(e, u"key")) keys.push_back(e);
    }
    EXPECT_EQ(keys, row.keysAsked);
  }
}

TEST_F(WorkerTest, RequestRunsBeyondCompareOnceAndCloses) {
  Choose(1);
  EXPECT_EQ(Main(), 0);
  EXPECT_EQ(run.runs, std::vector<Text>{u"C:\\BC3\\BComp.exe|C:\\Temp\\pvc 1.tmp|BC3"});
  EXPECT_FALSE(ToolStarted());
  EXPECT_EQ(m.windowing.IdleCalls(), 1);
  EXPECT_TRUE(m.windowing.Closed());
  EXPECT_FALSE(m.windowing.WouldHang());
  EXPECT_EQ(m.windowing.Events().back(), u"worker 0");
}

// Defaults an administrator stored for the whole machine serve a user who has chosen nothing:
// no setup at the first request, and nothing stored for the user.
TEST_F(WorkerTest, MachineDefaultsServeAUserWithoutSettings) {
  struct Row {
    const char* situation;
    uint32_t useBC2;
    bool ctrlShift;
    std::vector<Text> setups, runs;
    bool toolStarted;
  } rows[] = {
      {"comparison program preset",
       1,
       false,
       {},
       {u"C:\\BC3\\BComp.exe|C:\\Temp\\pvc 1.tmp|BC3"},
       false},
      {"merge tool preset", 0, false, {}, {}, true},
      {"Ctrl and Shift held", 1, true, {u"C:\\BC3\\BComp.exe"}, {}, false},
  };
  for (const auto& row : rows) {
    Request r;
    const auto view = platform::RegistryView::Wow64;
    r.m.registry.SetDword(Hive::LocalMachine, kSettingsKey, u"UseBC2", row.useBC2, view);
    r.m.registry.SetString(Hive::LocalMachine, kSettingsKey, u"BC2Path", u"C:\\BC3\\BComp.exe",
                           platform::kRegSz, view);
    if (row.ctrlShift) {
      r.m.windowing.PressKey(platform::kVkControl);
      r.m.windowing.PressKey(platform::kVkShift);
    }
    EXPECT_EQ(r.Main(), 0) << row.situation;
    EXPECT_EQ(r.setup.paths, row.setups) << row.situation;
    EXPECT_EQ(r.run.runs, row.runs) << row.situation;
    EXPECT_EQ(r.ToolStarted(), row.toolStarted) << row.situation;
    EXPECT_FALSE(r.m.registry.KeyExists(Hive::CurrentUser, kSettingsKey)) << row.situation;
    EXPECT_TRUE(r.m.dialogs.boxes.empty()) << row.situation;
  }
}

TEST_F(WorkerTest, ProgramFileNameDecidesBeyondCompare3) {
  struct Row {
    const char16_t* program;
    bool isBC3;
  } rows[] = {{u"C:\\BC\\bcomp.exe", true},
              {u"C:\\BC\\BCOMP.EXE", true},
              {u"C:\\BC\\BComp.exe.bak", false},
              {u"C:\\BC\\BC2.exe", false},
              {u"C:\\B.C\\BComp.exe", true},
              {u"C:/BC/BComp.exe", true},  // a slash separates as the system's calls take it
              {u"C:\\BC/x.BComp.exe", false}};
  for (const auto& row : rows) {
    Request r;
    r.m.files.AddFile(row.program);
    r.Choose(1, row.program);
    r.Main();
    ASSERT_EQ(r.run.runs.size(), 1u) << ToUtf8(row.program);
    EXPECT_EQ(EndsWith(r.run.runs[0], u"|BC3"), row.isBC3) << ToUtf8(row.program);
  }
}

// BCompare.exe returns at once when Beyond Compare is already open; the launcher beside it waits.
TEST_F(WorkerTest, StoredBCompareExeRunsTheLauncherBesideIt) {
  struct Row {
    bool launcherBeside;
    const char16_t* expected;
  } rows[] = {{true, u"C:\\BC4\\BComp.exe|C:\\Temp\\pvc 1.tmp|BC3"},
              {false, u"C:\\BC4\\BCompare.exe|C:\\Temp\\pvc 1.tmp|BC2"}};
  for (const auto& row : rows) {
    Request r;
    r.m.files.AddFile(u"C:\\BC4\\BCompare.exe");
    if (row.launcherBeside) r.m.files.AddFile(u"C:\\BC4\\BComp.exe");
    r.Choose(1, u"C:\\BC4\\BCompare.exe");
    r.Main();
    EXPECT_EQ(r.run.runs, std::vector<Text>{row.expected});
    // The setup dialog opens with the program that would run.
    r.m.self.commandLine = u"\"" + kModule + u"\"";
    r.Main();
    ASSERT_EQ(r.setup.paths.size(), 1u);
    EXPECT_TRUE(StartsWith(row.expected, r.setup.paths[0] + u"|")) << ToUtf8(r.setup.paths[0]);
  }
}

TEST_F(WorkerTest, FallbackWhenBeyondCompareIsNotTakenUp) {
  struct Row {
    const char* situation;
    std::function<void(platform::MemoryPlatform&)> setup;
  } rows[] = {
      {"PVCS Merge Tool chosen",
       [](platform::MemoryPlatform& p) {
         p.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", 0);
         p.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", u"C:\\BC3\\BComp.exe");
       }},
      {"no comparison program",
       [](platform::MemoryPlatform& p) {
         p.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", 1);
         p.files.Delete(u"C:\\BC3\\BComp.exe");
       }},
      {"program path is a directory",
       [](platform::MemoryPlatform& p) {
         p.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", 1);
         p.files.AddDirectory(u"C:\\BCDir.exe");
         p.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", u"C:\\BCDir.exe");
       }},
      {"parameter file missing",
       [](platform::MemoryPlatform& p) {
         p.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", 1);
         p.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", u"C:\\BC3\\BComp.exe");
         p.files.Delete(u"C:\\Temp\\pvc 1.tmp");
       }},
  };
  for (const auto& row : rows) {
    Request r;
    auto& p = r.m;
    row.setup(p);
    EXPECT_EQ(r.Main(), 0) << row.situation;
    EXPECT_TRUE(r.run.runs.empty()) << row.situation;
    ASSERT_EQ(p.processes.Starts().size(), 1u) << row.situation;
    const auto& started = *p.processes.Starts()[0];
    EXPECT_EQ(started.start.applicationName, kModule + u".exe");
    EXPECT_EQ(started.start.commandLine, kRequest) << "the command line goes on unchanged";
    EXPECT_EQ(started.start.startupFlags, 0x41u);
    EXPECT_EQ(started.start.showWindow, 1);
    EXPECT_EQ(started.start.creationFlags, 0x20u);
    // A tool without a message queue is still waited for until it ends.
    EXPECT_EQ(started.events, (std::vector<Text>{u"ready", u"ended", u"closed"}));
    EXPECT_TRUE(p.dialogs.boxes.empty()) << row.situation;
    EXPECT_TRUE(p.windowing.Closed());
  }
}

TEST_F(WorkerTest, ToolPathAppendsExeToTheModulePath) {
  m.self.modulePath = u"C:\\PVCS\\pvcsmrg";
  m.processes.AddProgram(u"C:\\PVCS\\pvcsmrg.exe");
  Choose(0);
  Main();
  ASSERT_EQ(m.processes.Starts().size(), 1u);
  EXPECT_EQ(m.processes.Starts()[0]->start.applicationName, u"C:\\PVCS\\pvcsmrg.exe");
}

TEST_F(WorkerTest, FailedToolStartShowsOneErrorDialog) {
  m.self.modulePath = u"C:\\PVCS\\Velmora.exe";
  Choose(0);
  m.processes.FailStarts(2);
  EXPECT_EQ(Main(), 0);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].caption, u"Error");
  EXPECT_EQ(m.dialogs.boxes[0].text,
            u"Failed to start \"C:\\PVCS\\Velmora.exe.exe\". System error message was:\r\r"
            u"System Error.  Code: 2.\r\n" +
                TrimSystemText(m.locale.SystemErrorText(2)));
  EXPECT_TRUE(m.windowing.Closed());
}

TEST_F(WorkerTest, RegistryErrorIsShownAndTheProgramEnds) {
  m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"UseBC2", u"1");
  EXPECT_EQ(Main(), 0);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].caption, u"Velmora");
  EXPECT_EQ(m.dialogs.boxes[0].text, u"Invalid data type for 'UseBC2'");
  EXPECT_FALSE(ToolStarted());
  EXPECT_TRUE(run.runs.empty());
  EXPECT_TRUE(m.windowing.Closed());
  EXPECT_FALSE(m.windowing.WouldHang());
}

TEST_F(WorkerTest, RunErrorGetsThePeriodRuleAndNoFallback) {
  Choose(1);
  run.failWith = u"List index out of bounds (1)";
  EXPECT_EQ(Main(), 0);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].text, u"List index out of bounds (1)");
  run.failWith = u"Cannot open file";
  ShowApplicationError(m.platform, run.failWith);
  EXPECT_EQ(m.dialogs.boxes.back().text, u"Cannot open file.");
  EXPECT_FALSE(ToolStarted());
}

}  // namespace
}  // namespace velmora
