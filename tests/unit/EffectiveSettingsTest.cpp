#include <gtest/gtest.h>

#include <optional>

#include "platform/memory/MemoryPlatform.h"
#include "request/SideAssignment.h"
#include "settings/EffectiveSettings.h"
#include "settings/Settings.h"
#include "support/Errors.h"

namespace velmora {
namespace {

using platform::Hive;
using platform::MemoryRegistry;
using platform::RegistryView;

const Text kKey = kSettingsKey;
const Text kParams = u"C:\\p\\params.txt";
const Text kUserProgram = u"C:\\User\\BComp.exe";
const Text kMachineProgram = u"C:\\Machine\\BC2.exe";

// Where a value is put: the per-user key, or the machine-wide key in a view.
struct Place {
  Hive hive;
  RegistryView view;
};
const Place kUser{Hive::CurrentUser, RegistryView::Native};
const Place kMachine{Hive::LocalMachine, RegistryView::Wow64};
const Place kMachine32{Hive::LocalMachine, RegistryView::Wow32};

void Choose(MemoryRegistry& r, Place at, uint32_t useBC2, const Text& program, const Text& args,
            uint32_t ancestorLeft) {
  r.SetDword(at.hive, kKey, kValueUseBC2, useBC2, at.view);
  r.SetString(at.hive, kKey, kValueBC2Path, program, platform::kRegSz, at.view);
  r.SetString(at.hive, kKey, kValueBCArgs, args, platform::kRegSz, at.view);
  r.SetDword(at.hive, kKey, kValueAncestorLeft, ancestorLeft, at.view);
}

Text Outcome(const std::function<Text()>& reader) {
  try {
    return reader();
  } catch (const EVelmora& error) {
    return u"error: " + error.Message();
  }
}

Text Flag(bool value) {
  return value ? u"1" : u"0";
}

// What every reader of the settings makes of the registry: the start's decision, the program,
// the dialog's opening values and the run's orientation and arguments.
struct Readings {
  Text firstCall, wantBC2, bc2Path, setup, run;

  Text All() const {
    return u"first=" + firstCall + u" want=" + wantBC2 + u" path=" + bc2Path + u" setup=" + setup +
           u" run=" + run;
  }
};

// Two programs, two revision files and a parameter file naming them without titles, so that the
// run's side assignment moves nothing.
struct Scene {
  Scene() {
    m.files.AddFile(kUserProgram);
    m.files.AddFile(kMachineProgram);
    m.files.AddFile(u"C:\\Temp\\anc.tmp", "a");
    m.files.AddFile(u"C:\\Temp\\der.tmp", "d");
    m.files.AddFile(kParams,
                    "ANCESTOR=\"C:\\Temp\\anc.tmp\",\"\"\r\n"
                    "DERIVATIVES=\"C:\\Temp\\der.tmp\",\"\"\r\n");
  }

  Readings Read() {
    Readings r;
    r.firstCall = Outcome([&] { return Flag(IsFirstCall(m.registry)); });
    r.wantBC2 = Outcome([&] { return Flag(IsBC2Wanted(m.registry)); });
    r.bc2Path = Outcome([&] { return ResolveBC2Path(m.registry, m.files); });
    r.setup = Outcome([&] {
      std::optional<StoredSettings> s = ReadSettingsForSetup(m.registry);
      if (!s) return Text(u"none");
      return u"args=" + s->bcArgs + u",use=" + Flag(s->useBC2) + u",left=" + Flag(s->ancestorLeft);
    });
    r.run = Outcome([&] {
      ComparisonSides sides = AssignSides(m.platform, kParams, false);
      const bool ancestorLeft = sides.LeftInfo.FileFromPVCS == u"C:\\Temp\\anc.tmp";
      return u"left=" + Flag(ancestorLeft) + u",args=" + sides.BC_Args;
    });
    EXPECT_EQ(m.registry.OpenKeyCount(), 0) << "every accessor is released";
    return r;
  }
  bool MachineKeyRead() const {
    for (const Text& access : m.registry.Accesses()) {
      if (StartsWith(access, u"open HKLM\\" + kKey)) return true;
    }
    return false;
  }

  platform::MemoryPlatform m;
};

class EffectiveSettingsTest : public testing::Test, public Scene {};

TEST_F(EffectiveSettingsTest, UsersOwnChoiceWinsElseTheMachineDefaultsStandIn) {
  struct Row {
    const char* situation;
    std::function<void(MemoryRegistry&)> setup;
    Readings expected;
    bool machineRead;
  } rows[] = {
      {"no keys", [](MemoryRegistry&) {}, {u"1", u"0", u"", u"none", u"left=0,args="}, true},
      {"user only",
       [](MemoryRegistry& r) { Choose(r, kUser, 1, kUserProgram, u"/u", 1); },
       {u"0", u"1", kUserProgram, u"args=/u,use=1,left=1", u"left=1,args=/u"},
       false},
      {"machine only",
       [](MemoryRegistry& r) { Choose(r, kMachine, 1, kMachineProgram, u"/m", 1); },
       {u"0", u"1", kMachineProgram, u"args=/m,use=1,left=1", u"left=1,args=/m"},
       true},
      {"machine presets the merge tool",
       [](MemoryRegistry& r) { Choose(r, kMachine, 0, kMachineProgram, u"/m", 0); },
       {u"0", u"0", kMachineProgram, u"args=/m,use=0,left=0", u"left=0,args=/m"},
       true},
      {"both: the user's merge tool wins over the machine's program",
       [](MemoryRegistry& r) {
         r.SetDword(Hive::CurrentUser, kKey, kValueUseBC2, 0);
         Choose(r, kMachine, 1, kMachineProgram, u"/m", 1);
       },
       {u"0", u"0", u"", u"args=,use=0,left=0", u"left=0,args="},
       false},
      {"both: the user's program and orientation win",
       [](MemoryRegistry& r) {
         Choose(r, kUser, 1, kUserProgram, u"/u", 0);
         Choose(r, kMachine, 1, kMachineProgram, u"/m", 1);
       },
       {u"0", u"1", kUserProgram, u"args=/u,use=1,left=0", u"left=0,args=/u"},
       false},
      {"user key without UseBC2: every machine value stands in",
       [](MemoryRegistry& r) {
         r.SetString(Hive::CurrentUser, kKey, kValueBC2Path, kUserProgram);
         r.SetString(Hive::CurrentUser, kKey, kValueBCArgs, u"/u");
         Choose(r, kMachine, 1, kMachineProgram, u"/m", 1);
       },
       {u"0", u"1", kMachineProgram, u"args=/m,use=1,left=1", u"left=1,args=/m"},
       true},
      {"user key that cannot be opened",
       [](MemoryRegistry& r) {
         Choose(r, kUser, 0, kUserProgram, u"/u", 0);
         r.DenyOpen(Hive::CurrentUser, kKey);
         Choose(r, kMachine, 1, kMachineProgram, u"/m", 1);
       },
       {u"0", u"1", kMachineProgram, u"args=/m,use=1,left=1", u"left=1,args=/m"},
       true},
      {"machine key without UseBC2 is no preset",
       [](MemoryRegistry& r) {
         Choose(r, kMachine, 1, kMachineProgram, u"/m", 1);
         r.DeleteKey(Hive::LocalMachine, kKey);
         r.SetString(Hive::LocalMachine, kKey, kValueBC2Path, kMachineProgram);
         r.SetString(Hive::LocalMachine, kKey, kValueBCArgs, u"/m");
       },
       {u"1", u"0", u"", u"none", u"left=0,args="},
       true},
      {"machine key in the 32-bit view only is not read",
       [](MemoryRegistry& r) { Choose(r, kMachine32, 1, kMachineProgram, u"/m", 1); },
       {u"1", u"0", u"", u"none", u"left=0,args="},
       true},
      {"machine key that cannot be opened",
       [](MemoryRegistry& r) {
         Choose(r, kMachine, 1, kMachineProgram, u"/m", 1);
         r.DenyOpen(Hive::LocalMachine, kKey);
       },
       {u"1", u"0", u"", u"none", u"left=0,args="},
       true},
  };
  for (const auto& row : rows) {
    Scene t;
    row.setup(t.m.registry);
    EXPECT_EQ(ToUtf8(t.Read().All()), ToUtf8(row.expected.All())) << row.situation;
    EXPECT_EQ(t.MachineKeyRead(), row.machineRead) << row.situation;
  }
}

// The machine's program path is only the first step: a path that names no file leads on to
// Beyond Compare's own registration, as a stored one does.
TEST_F(EffectiveSettingsTest, MachinePathOfAMissingProgramLeadsOnToDiscovery) {
  Choose(m.registry, kMachine, 1, u"C:\\Gone\\BC2.exe", u"", 0);
  m.registry.SetString(Hive::CurrentUser, u"Software\\Scooter Software\\Beyond Compare", u"ExePath",
                       kUserProgram);
  EXPECT_EQ(ResolveBC2Path(m.registry, m.files), kUserProgram);
}

// A value of the wrong type reads the same in the machine-wide key as in the user's: the same
// message from the same reader, the dialog's orientation again read as false.
TEST_F(EffectiveSettingsTest, WrongTypesInTheMachineKeyAreReportedAsInTheUsersKey) {
  struct Row {
    const char16_t* name;
    uint32_t type;
    std::vector<uint8_t> data;
    const char16_t* seen;  // a part of the readings
  } rows[] = {
      {kValueUseBC2,
       platform::kRegSz,
       {'1', 0, 0, 0},
       u"first=0 want=error: Invalid data type for 'UseBC2'"},
      {kValueUseBC2,
       platform::kRegQword,
       {1, 0, 0, 0, 0, 0, 0, 0},
       u"want=error: Failed to get data for 'UseBC2'"},
      {kValueBC2Path,
       platform::kRegDword,
       {1, 0, 0, 0},
       u"path=error: Invalid data type for 'BC2Path'"},
      {kValueBCArgs,
       platform::kRegDword,
       {1, 0, 0, 0},
       u"setup=error: Invalid data type for 'BC_Args' run=error: Invalid data type for 'BC_Args'"},
      {kValueAncestorLeft,
       platform::kRegSz,
       {'1', 0, 0, 0},
       u"setup=args=,use=1,left=0 run=error: Invalid data type for 'AncestorLeft'"},
      {kValueAncestorLeft,
       platform::kRegBinary,
       {1, 0, 0, 0, 0},
       u"setup=args=,use=1,left=0 run=error: Failed to get data for 'AncestorLeft'"},
  };
  for (const auto& row : rows) {
    Text readings[2];
    int i = 0;
    for (Place at : {kUser, kMachine}) {
      Scene t;
      Choose(t.m.registry, at, 1, kMachineProgram, u"", 1);
      t.m.registry.SetValue(at.hive, kKey, row.name, row.type, row.data, at.view);
      readings[i++] = t.Read().All();
    }
    EXPECT_EQ(ToUtf8(readings[1]), ToUtf8(readings[0])) << ToUtf8(row.name);
    EXPECT_NE(readings[1].find(row.seen), Text::npos) << ToUtf8(readings[1]);
  }
}

// Records how keys are opened and created, then lets the in-memory registry do it.
class RecordingRegistry : public platform::IRegistry {
 public:
  explicit RecordingRegistry(MemoryRegistry& inner) : inner_(inner) {}
  std::unique_ptr<platform::IRegistryKey> Open(Hive hive, const Text& path, uint32_t access,
                                               RegistryView view) override {
    calls.push_back({false, hive, path, access, view});
    return inner_.Open(hive, path, access, view);
  }
  std::unique_ptr<platform::IRegistryKey> Create(Hive hive, const Text& path, uint32_t access,
                                                 RegistryView view) override {
    calls.push_back({true, hive, path, access, view});
    return inner_.Create(hive, path, access, view);
  }
  struct Call {
    bool create;
    Hive hive;
    Text path;
    uint32_t access;
    RegistryView view;
  };
  std::vector<Call> calls;

 private:
  MemoryRegistry& inner_;
};

TEST_F(EffectiveSettingsTest, MachineKeyIsOnlyEverOpenedForReadingInThe64BitView) {
  Choose(m.registry, kMachine, 1, kMachineProgram, u"/m", 1);
  RecordingRegistry recorder(m.registry);
  EXPECT_FALSE(IsFirstCall(recorder));
  EXPECT_TRUE(IsBC2Wanted(recorder));
  EXPECT_EQ(ResolveBC2Path(recorder, m.files), kMachineProgram);
  std::optional<StoredSettings> opening = ReadSettingsForSetup(recorder);
  ASSERT_TRUE(opening.has_value());
  // The dialog's OK stores the machine's values for the user.
  WriteSettings(recorder,
                {kMachineProgram, opening->bcArgs, opening->useBC2, opening->ancestorLeft});

  int machineOpens = 0;
  for (const auto& call : recorder.calls) {
    if (call.hive != Hive::LocalMachine || !EqualsIgnoreAsciiCase(call.path, kKey)) continue;
    ++machineOpens;
    EXPECT_FALSE(call.create);
    EXPECT_EQ(call.access, platform::kKeyRead);
    EXPECT_EQ(call.view, RegistryView::Wow64);
  }
  EXPECT_EQ(machineOpens, 4) << "one per reader";
  EXPECT_EQ(m.registry.Find(Hive::LocalMachine, kKey, kValueBCArgs)->data,
            (std::vector<uint8_t>{'/', 0, 'm', 0, 0, 0}));

  // From now on the user's choice is in force and the machine's key is left unread.
  recorder.calls.clear();
  m.registry.SetDword(Hive::LocalMachine, kKey, kValueUseBC2, 0, RegistryView::Wow64);
  EXPECT_TRUE(IsBC2Wanted(recorder));
  ASSERT_EQ(recorder.calls.size(), 1u);
  EXPECT_EQ(recorder.calls[0].hive, Hive::CurrentUser);
  EXPECT_EQ(m.registry.Find(Hive::CurrentUser, kKey, kValueBCArgs)->data,
            (std::vector<uint8_t>{'/', 0, 'm', 0, 0, 0}));
}

}  // namespace
}  // namespace velmora
