#include <gtest/gtest.h>

#include <functional>

#include "app/ProgramEntry.h"
#include "platform/memory/MemoryPlatform.h"
#include "settings/Settings.h"
#include "settings/SetupForm.h"
#include "support/Errors.h"
#include "support/HelperContract.h"
#include "support/SystemUtils.h"

namespace velmora {
namespace {

using platform::AdminMembership;
using platform::Hive;
using platform::MemorySetupWindow;
using platform::ModalResult;
using platform::SetupRadio;

const Text kModule = u"C:\\PVCS\\Velmora.exe";
const Text kServer = u"C:\\PVCS\\VelmoraHelper.exe";
const Text kClassKey = u"CLSID\\" + Text(kVelmoraClsid);

// Velmora's folder, Beyond Compare 2 and 3, and a server that registers or unregisters itself
// after `serverPolls` polls (never when negative).
struct Scene {
  Scene() {
    ResetIsAdminCache();
    m.self.modulePath = kModule;
    m.files.AddFile(u"C:\\BC3\\BComp.exe");
    m.files.AddFile(u"C:\\BC3\\BCompare.exe");
    m.files.AddFile(u"C:\\BC2\\BC2.exe");
    m.files.AddFile(u"C:\\BC2\\BC2.exe.bak");
    m.files.AddDirectory(u"C:\\Tools.exe");
    m.shell.onExecute = [this](const platform::MemoryShell::Call& call) {
      pendingRegistration = call.parameters == u"/regserver" ? 1 : 0;
      pollsLeft = serverPolls;
      ApplyWhenDue();
    };
    m.clock.onSleep = [this] { ApplyWhenDue(); };
  }
  ~Scene() { ResetIsAdminCache(); }

  void ApplyWhenDue() {
    if (pendingRegistration < 0 || pollsLeft < 0 || pollsLeft-- > 0) return;
    if (pendingRegistration == 1) {
      m.registry.AddKey(Hive::ClassesRoot, kClassKey);
    } else {
      m.registry.DeleteKey(Hive::ClassesRoot, kClassKey);
    }
    pendingRegistration = -1;
  }

  bool Execute(MemorySetupWindow::User user, const Text& path = u"C:\\BC3\\BComp.exe") {
    m.windowing.setupUser = std::move(user);
    return TfrmSettings::Execute(m.platform, path);
  }
  // The user chooses a tool and presses OK; true when the dialog is still open afterwards (the
  // user then leaves it with the close box).
  bool ChooseAndPressOk(SetupRadio tool, const Text& path = u"C:\\BC3\\BComp.exe") {
    bool open = false;
    Execute(
        [&](MemorySetupWindow& w) {
          w.Click(tool);
          w.ClickOk();
          open = w.IsOpen();
        },
        path);
    return open;
  }
  const platform::MemorySetupState& Window() const { return *m.windowing.setupWindows.back(); }
  bool NothingStored() const { return !m.registry.KeyExists(Hive::CurrentUser, kSettingsKey); }
  void Store(uint32_t useBC2, uint32_t ancestorLeft, const Text& args) {
    m.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", useBC2);
    m.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"AncestorLeft", ancestorLeft);
    m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC_Args", args);
  }
  Text StoredText(const Text& name) const {
    auto* value = m.registry.Find(Hive::CurrentUser, kSettingsKey, name);
    return value ? Text(reinterpret_cast<const char16_t*>(value->data.data()),
                        value->data.size() / 2 - 1)
                 : u"(missing)";
  }
  int StoredDword(const Text& name) const {
    auto* value = m.registry.Find(Hive::CurrentUser, kSettingsKey, name);
    return value && value->type == platform::kRegDword ? value->data[0] : -1;
  }

  platform::MemoryPlatform m;
  int serverPolls = 0;
  int pendingRegistration = -1;  // 1: register, 0: unregister, -1: nothing to do
  int pollsLeft = 0;
};

class SetupFormTest : public testing::Test, public Scene {};

TEST_F(SetupFormTest, OpensWithTheStoredSettings) {
  struct Row {
    const char* situation;
    std::function<void(Scene&)> store;
    bool pvcs, bc2, panel, ancestorLeft;
    Text args;
  } rows[] = {
      {"no settings key", [](Scene&) {}, false, false, true, false, u""},
      {"empty settings key", [](Scene& t) { t.m.registry.AddKey(Hive::CurrentUser, kSettingsKey); },
       true, false, false, false, u""},
      {"merge tool chosen", [](Scene& t) { t.Store(0, 1, u"/ro"); }, true, false, false, true,
       u"/ro"},
      {"comparison program chosen", [](Scene& t) { t.Store(2, 0, u"%TEMP%"); }, false, true, true,
       false, u"%TEMP%"},
      {"orientation of a wrong type is read as false",
       [](Scene& t) {
         t.Store(1, 0, u"");
         t.m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"AncestorLeft", u"1");
       },
       false, true, true, false, u""},
  };
  for (const auto& row : rows) {
    Scene t;
    row.store(t);
    EXPECT_FALSE(t.Execute(nullptr, u"C:\\BC2\\BC2.exe")) << row.situation;
    const auto& w = t.Window();
    EXPECT_TRUE(w.shown) << row.situation;
    EXPECT_EQ(w.path, u"C:\\BC2\\BC2.exe") << row.situation;
    EXPECT_EQ(w.arguments, row.args) << row.situation;
    EXPECT_EQ(w.checked[0], row.pvcs) << row.situation;
    EXPECT_EQ(w.checked[1], row.bc2) << row.situation;
    EXPECT_EQ(w.panelVisible, row.panel) << row.situation;
    EXPECT_EQ(w.checked[2], row.ancestorLeft) << row.situation;
    EXPECT_EQ(w.checked[3], !row.ancestorLeft) << row.situation;
    EXPECT_TRUE(t.m.dialogs.boxes.empty()) << row.situation;
    EXPECT_EQ(t.m.registry.OpenKeyCount(), 0) << row.situation;
  }
}

// The machine-wide defaults fill the dialog when the user has stored no choice; OK stores them
// for the user and leaves the machine's key as it was.
TEST_F(SetupFormTest, OpensWithTheMachineDefaultsAndOkStoresThemForTheUser) {
  const auto view = platform::RegistryView::Wow64;
  m.registry.SetDword(Hive::LocalMachine, kSettingsKey, u"UseBC2", 1, view);
  m.registry.SetString(Hive::LocalMachine, kSettingsKey, u"BC2Path", u"C:\\BC2\\BC2.exe",
                       platform::kRegSz, view);
  m.registry.SetString(Hive::LocalMachine, kSettingsKey, u"BC_Args", u"/solo", platform::kRegSz,
                       view);
  m.registry.SetDword(Hive::LocalMachine, kSettingsKey, u"AncestorLeft", 1, view);
  const Text resolved = ResolveBC2Path(m.registry, m.files);
  EXPECT_TRUE(Execute([](MemorySetupWindow& w) { w.ClickOk(); }, resolved));
  const auto& w = Window();
  EXPECT_EQ(w.path, u"C:\\BC2\\BC2.exe");
  EXPECT_EQ(w.arguments, u"/solo");
  EXPECT_FALSE(w.checked[0]);
  EXPECT_TRUE(w.checked[1]);
  EXPECT_TRUE(w.checked[2]);
  EXPECT_FALSE(w.checked[3]);
  EXPECT_TRUE(w.panelVisible);
  ASSERT_EQ(m.shell.calls.size(), 1u);
  EXPECT_EQ(m.shell.calls[0].parameters, u"/regserver");
  EXPECT_EQ(StoredText(u"BC2Path"), u"C:\\BC2\\BC2.exe");
  EXPECT_EQ(StoredText(u"BC_Args"), u"/solo");
  EXPECT_EQ(StoredDword(u"UseBC2"), 1);
  EXPECT_EQ(StoredDword(u"AncestorLeft"), 1);
  auto* machineArgs = m.registry.Find(Hive::LocalMachine, kSettingsKey, u"BC_Args", view);
  ASSERT_NE(machineArgs, nullptr);
  EXPECT_EQ(machineArgs->data.size(), 12u);
  EXPECT_EQ(m.registry.OpenKeyCount(), 0);
}

TEST_F(SetupFormTest, ArgumentsOrChoiceOfAWrongTypeReachTheCallerBeforeTheDialogShows) {
  for (const Text name : {u"BC_Args", u"UseBC2"}) {
    Scene t;
    t.m.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", 1);
    t.m.registry.SetValue(Hive::CurrentUser, kSettingsKey, name, platform::kRegBinary, {1});
    try {
      t.Execute(nullptr);
      ADD_FAILURE() << "no error for " << ToUtf8(name);
    } catch (const EVelmora& error) {
      EXPECT_EQ(error.Message(), u"Invalid data type for '" + name + u"'");
    }
    EXPECT_FALSE(t.Window().shown);
    EXPECT_EQ(t.m.registry.OpenKeyCount(), 0);
  }
}

TEST_F(SetupFormTest, RadioClicksShowThePanelOnlyForTheOtherProgram) {
  std::vector<bool> panel;
  Execute([&](MemorySetupWindow& w) {
    w.Click(SetupRadio::PVCS);
    panel.push_back(w.State().panelVisible);
    w.Click(SetupRadio::AncestorLeft);  // the other group: panel and first group unchanged
    panel.push_back(w.State().panelVisible);
    EXPECT_TRUE(w.State().checked[0]);
    w.Click(SetupRadio::BC2);
    panel.push_back(w.State().panelVisible);
    EXPECT_FALSE(w.State().checked[0]);
    EXPECT_TRUE(w.State().checked[2]);
  });
  EXPECT_EQ(panel, (std::vector<bool>{false, false, true}));
}

TEST_F(SetupFormTest, OkRegistersTheServerWaitsAndThenStoresTheFourValues) {
  serverPolls = 3;
  bool openAfterOk = true;
  EXPECT_TRUE(Execute([&](MemorySetupWindow& w) {
    w.Click(SetupRadio::BC2);
    w.Type(u"C:\\BC3\\BComp.exe");
    w.TypeArguments(u"/solo \"x\"");
    w.Click(SetupRadio::AncestorLeft);
    w.ClickOk();
    openAfterOk = w.IsOpen();
  }));
  EXPECT_FALSE(openAfterOk);
  EXPECT_EQ(Window().result, ModalResult::Ok);
  ASSERT_EQ(m.shell.calls.size(), 1u);
  const auto& call = m.shell.calls[0];
  EXPECT_EQ(call.operation, u"runas");
  EXPECT_EQ(call.file, kServer);
  EXPECT_EQ(call.parameters, u"/regserver");
  EXPECT_EQ(call.directory, u"");
  EXPECT_EQ(call.showCommand, 1);
  EXPECT_EQ(m.clock.sleeps, 3) << "polled until the class key appeared";
  EXPECT_EQ(StoredText(u"BC2Path"), u"C:\\BC3\\BComp.exe");
  EXPECT_EQ(StoredText(u"BC_Args"), u"/solo \"x\"");
  EXPECT_EQ(StoredDword(u"UseBC2"), 1);
  EXPECT_EQ(StoredDword(u"AncestorLeft"), 1);
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

// The path is stored as the full name of the file that was checked, so that requests started
// from any folder find it and recognise Beyond Compare 3's launcher.
TEST_F(SetupFormTest, OkStoresTheFullNormalisedPathOfTheCheckedFile) {
  m.files.AddDirectory(u"C:\\Work");
  ASSERT_TRUE(m.files.SetCurrentDir(u"C:\\"));
  struct Row {
    Text typed, stored;
  } rows[] = {
      {u"C:\\BC3\\BComp.exe", u"C:\\BC3\\BComp.exe"},
      {u"C:/BC3/BComp.exe", u"C:\\BC3\\BComp.exe"},
      {u"BC3\\BComp.exe", u"C:\\BC3\\BComp.exe"},
      {u"C:BC3\\BComp.exe", u"C:\\BC3\\BComp.exe"},
      {u"\\BC2\\BC2.exe", u"C:\\BC2\\BC2.exe"},
      {u"C:\\Work\\..\\BC3\\.\\BComp.exe", u"C:\\BC3\\BComp.exe"},
  };
  for (const auto& row : rows) {
    serverPolls = 0;
    EXPECT_FALSE(ChooseAndPressOk(SetupRadio::BC2, row.typed)) << ToUtf8(row.typed);
    EXPECT_EQ(StoredText(u"BC2Path"), row.stored) << ToUtf8(row.typed);
  }
  // Relative to the current folder when OK is pressed.
  ASSERT_TRUE(m.files.SetCurrentDir(u"C:\\BC3"));
  EXPECT_FALSE(ChooseAndPressOk(SetupRadio::BC2, u"BComp.exe"));
  EXPECT_EQ(StoredText(u"BC2Path"), u"C:\\BC3\\BComp.exe");
}

TEST_F(SetupFormTest, FirstUseWithTheMergeToolUnregistersAndStoresItsChoice) {
  m.system.SetMembership(AdminMembership::Member);
  m.registry.AddKey(Hive::ClassesRoot, kClassKey);
  serverPolls = 1;
  EXPECT_FALSE(ChooseAndPressOk(SetupRadio::PVCS));
  EXPECT_EQ(Window().result, ModalResult::Ok);
  ASSERT_EQ(m.shell.calls.size(), 1u);
  EXPECT_EQ(m.shell.calls[0].operation, u"open") << "an administrator needs no elevation";
  EXPECT_EQ(m.shell.calls[0].parameters, u"/unregserver");
  EXPECT_FALSE(IsHelperRegistered(m.registry));
  EXPECT_EQ(StoredDword(u"UseBC2"), 0);
  EXPECT_EQ(StoredDword(u"AncestorLeft"), 0);
  EXPECT_EQ(StoredText(u"BC_Args"), u"");
  EXPECT_FALSE(IsFirstCall(m.registry));
}

TEST_F(SetupFormTest, AlreadyInTheWantedStateTheWaitEndsAtTheFirstPoll) {
  m.registry.AddKey(Hive::ClassesRoot, kClassKey);
  serverPolls = -1;  // the server does nothing
  EXPECT_FALSE(ChooseAndPressOk(SetupRadio::BC2));
  EXPECT_EQ(Window().result, ModalResult::Ok);
  EXPECT_EQ(m.clock.sleeps, 0);
}

TEST_F(SetupFormTest, PathChecksFailBeforeAnythingHappens) {
  struct Row {
    Text path;
    Text message;
  } rows[] = {
      {u"", u"\"\" not found or no access."},
      {u"C:\\BC3\\Gone.exe", u"\"C:\\BC3\\Gone.exe\" not found or no access."},
      {u"C:\\Tools.exe", u"\"C:\\Tools.exe\" not found or no access."},
      {u"C:\\BC2\\BC2.exe.bak", u"\"C:\\BC2\\BC2.exe.bak\" is not a program file."},
  };
  for (const auto& row : rows) {
    Scene t;
    Text pathAfter, argsAfter;
    bool open = false;
    t.Execute([&](MemorySetupWindow& w) {
      w.Click(SetupRadio::PVCS);  // checked whichever tool is chosen, also with the panel hidden
      w.Type(row.path);
      w.TypeArguments(u"/x");
      w.ClickOk();
      open = w.IsOpen();
      pathAfter = w.State().path;
      argsAfter = w.State().arguments;
    });
    EXPECT_TRUE(open) << ToUtf8(row.path);
    EXPECT_EQ(pathAfter, row.path);
    EXPECT_EQ(argsAfter, u"/x");
    ASSERT_EQ(t.m.dialogs.boxes.size(), 1u) << ToUtf8(row.path);
    EXPECT_EQ(t.m.dialogs.boxes[0].caption, u"Velmora");
    EXPECT_EQ(t.m.dialogs.boxes[0].text, row.message);
    EXPECT_TRUE(t.m.shell.calls.empty());
    EXPECT_TRUE(t.NothingStored());
  }
}

TEST_F(SetupFormTest, ProgramExtensionIgnoresAsciiCase) {
  m.files.AddFile(u"C:\\BC2\\BC2.EXE");
  EXPECT_FALSE(ChooseAndPressOk(SetupRadio::BC2, u"C:\\BC2\\BC2.EXE"));
  EXPECT_EQ(Window().result, ModalResult::Ok);
}

TEST_F(SetupFormTest, FailedServerStartIsShownAndNothingIsStored) {
  struct Row {
    uint32_t error;
    const char* situation;
  } rows[] = {{2, "server missing"}, {1223, "elevation declined"}};
  for (const auto& row : rows) {
    Scene t;
    t.m.shell.result = {row.error == 2 ? 2 : 5, row.error};
    bool open = t.ChooseAndPressOk(SetupRadio::BC2);
    EXPECT_TRUE(open) << row.situation;
    ASSERT_EQ(t.m.dialogs.boxes.size(), 1u) << row.situation;
    EXPECT_EQ(t.m.dialogs.boxes[0].text,
              SystemErrorMessage(row.error, t.m.locale.SystemErrorText(row.error)) + u".")
        << row.situation;
    EXPECT_EQ(t.m.clock.sleeps, 0) << row.situation;
    EXPECT_TRUE(t.NothingStored()) << row.situation;
  }
}

TEST_F(SetupFormTest, RegistrationThatNeverShowsFailsAfterAHundredPolls) {
  for (bool useBC2 : {true, false}) {
    Scene t;
    t.serverPolls = -1;
    if (!useBC2) t.m.registry.AddKey(Hive::ClassesRoot, kClassKey);
    bool open = t.ChooseAndPressOk(useBC2 ? SetupRadio::BC2 : SetupRadio::PVCS);
    EXPECT_TRUE(open);
    EXPECT_EQ(t.m.clock.sleeps, 100);
    EXPECT_EQ(t.m.clock.elapsed, 5000u);
    ASSERT_EQ(t.m.dialogs.boxes.size(), 1u);
    EXPECT_EQ(t.m.dialogs.boxes[0].text, useBC2
                                             ? u"Failed to register the VelmoraHelper Object."
                                             : u"Failed to unregister the VelmoraHelper Object.");
    EXPECT_TRUE(t.NothingStored());
  }
}

// While OK waits for the registration, the user can close the dialog, which cancels the save
// (also when the registration then shows), and OK or browse pressed again do nothing.
TEST_F(SetupFormTest, WhileOkWaitsClosingCancelsTheSaveAndOkDoesNothing) {
  struct Row {
    const char* situation;
    int serverPolls;                               // -1: the registration never shows
    std::function<void(MemorySetupWindow&)> acts;  // at the second look during the wait
    bool stored;
    size_t boxes;
    int sleeps;
  } rows[] = {
      {"closed, then registered", 5, [](MemorySetupWindow& w) { w.Cancel(); }, false, 0, 2},
      {"OK again, then registered", 5, [](MemorySetupWindow& w) { w.ClickOk(); }, true, 0, 5},
      {"OK again, never registered", -1, [](MemorySetupWindow& w) { w.ClickOk(); }, false, 1, 100},
      {"browse, never registered", -1, [](MemorySetupWindow& w) { w.ClickBrowse(); }, false, 1,
       100},
  };
  for (const auto& row : rows) {
    Scene t;
    t.serverPolls = row.serverPolls;
    int looks = 0;
    t.m.windowing.setupWhileBusy = [&](MemorySetupWindow& w) {
      if (++looks == 2) row.acts(w);
    };
    t.ChooseAndPressOk(SetupRadio::BC2);
    EXPECT_EQ(t.m.shell.calls.size(), 1u) << row.situation;
    EXPECT_EQ(t.m.clock.sleeps, row.sleeps) << row.situation;
    EXPECT_EQ(t.m.dialogs.boxes.size(), row.boxes) << row.situation;
    EXPECT_EQ(!t.NothingStored(), row.stored) << row.situation;
    EXPECT_EQ(t.Window().result, row.stored ? ModalResult::Ok : ModalResult::Cancel)
        << row.situation;
    EXPECT_TRUE(t.Window().browsedFrom.empty()) << row.situation;
  }
}

TEST_F(SetupFormTest, SettingsKeyThatCannotBeCreatedIsReportedAndTheDialogStaysOpen) {
  m.registry.DenyCreate(Hive::CurrentUser, u"Software\\Tessmark");
  EXPECT_TRUE(ChooseAndPressOk(SetupRadio::BC2));
  EXPECT_EQ(Window().result, ModalResult::Cancel);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].text, u"Failed to create key Software\\Tessmark\\Velmora.");
  EXPECT_TRUE(IsFirstCall(m.registry));
}

TEST_F(SetupFormTest, RefusedWriteKeepsTheDialogOpenWithEarlierValuesStored) {
  m.registry.RefuseWrite(Hive::CurrentUser, kSettingsKey, u"UseBC2");
  EXPECT_TRUE(ChooseAndPressOk(SetupRadio::BC2));
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  EXPECT_EQ(m.dialogs.boxes[0].text, u"Failed to set data for 'UseBC2'");
  EXPECT_EQ(StoredText(u"BC2Path"), u"C:\\BC3\\BComp.exe");
  EXPECT_EQ(StoredDword(u"UseBC2"), -1);
}

TEST_F(SetupFormTest, CancelStoresNothingAndStartsNoServer) {
  EXPECT_FALSE(Execute([](MemorySetupWindow& w) {
    w.Click(SetupRadio::BC2);
    w.Type(u"C:\\BC2\\BC2.exe");
    w.Cancel();
  }));
  EXPECT_EQ(Window().result, ModalResult::Cancel);
  EXPECT_TRUE(m.shell.calls.empty());
  EXPECT_TRUE(NothingStored());
}

TEST_F(SetupFormTest, BrowsingPrefersTheLauncherInTheChosenFolder) {
  struct Row {
    std::optional<Text> chosen;
    Text path;
  } rows[] = {
      {u"C:\\BC3\\BCompare.exe", u"C:\\BC3\\BComp.exe"},
      {u"C:\\BC3\\BComp.exe", u"C:\\BC3\\BComp.exe"},
      {u"C:\\BC2\\BC2.exe", u"C:\\BC2\\BC2.exe"},
      {std::nullopt, u"C:\\Old\\BC2.exe"},
  };
  for (const auto& row : rows) {
    Scene t;
    t.m.windowing.fileChoice = row.chosen;
    Text path;
    t.Execute(
        [&](MemorySetupWindow& w) {
          w.ClickBrowse();
          path = w.State().path;
        },
        u"C:\\Old\\BC2.exe");
    EXPECT_EQ(path, row.path);
    EXPECT_EQ(t.Window().browsedFrom, std::vector<Text>{u"C:\\Old\\BC2.exe"});
  }
}

// A comparison run that must never happen while the setup dialog is chosen.
class NoRun : public IComparisonRun {
 public:
  void Run(const Text&, const Text&, bool) override { ADD_FAILURE() << "comparison started"; }
};

TEST_F(SetupFormTest, FirstRequestShowsTheDialogInsteadAndTouchesNoFile) {
  m.self.commandLine = u"\"" + kModule + u"\" C:\\Temp\\pvc4711.tmp";
  m.files.AddFile(u"C:\\Temp\\pvc4711.tmp", "ANCESTOR=C:\\Temp\\a.tmp,a\r\n");
  m.files.AddFile(u"C:\\Temp\\a.tmp", "a");
  auto before = m.files.Exists(u"C:\\Temp\\Velmora.log");
  SetupDialog setup(m.platform);
  NoRun run;
  m.windowing.setupUser = [](MemorySetupWindow& w) { w.Cancel(); };
  EXPECT_EQ(ProgramMain(m.platform, setup, run), 0);
  ASSERT_EQ(m.windowing.setupWindows.size(), 1u);
  EXPECT_TRUE(Window().shown);
  auto events = m.windowing.Events();
  auto owner = std::find(events.begin(), events.end(), u"owner 1");
  EXPECT_LT(owner, std::find(events.begin(), events.end(), u"setup window"))
      << "the owner window stands for the dialog in the taskbar";
  EXPECT_TRUE(m.processes.Starts().empty());
  EXPECT_FALSE(before);
  EXPECT_FALSE(m.files.Exists(u"C:\\Temp\\Velmora.log"));
  EXPECT_TRUE(m.files.Exists(u"C:\\Temp\\pvc4711.tmp"));
  EXPECT_TRUE(m.files.Exists(u"C:\\Temp\\a.tmp"));
  EXPECT_TRUE(m.windowing.Closed());
}

}  // namespace
}  // namespace velmora
