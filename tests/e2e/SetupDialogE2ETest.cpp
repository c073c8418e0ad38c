// The real setup dialog of Velmora.exe under Wine, read and driven through its windows the way a
// user would: its layout at 96 and 144 DPI, what OK stores after the server's registration, the
// errors it shows with the dialog left open, and the ways it is closed without storing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

#include "WineHarness.h"

namespace {

const std::string kSettings = "HKCU\\Software\\Tessmark\\Velmora";
const std::string kClassKey = "HKCR\\CLSID\\{3F990032-0766-453D-AC59-3A33A8722940}";
const std::string kServer = "C:\\PVCS\\VelmoraHelper.exe";

// One window or control as the probe read it: "name", "class", "parent", "x", "y", "w", "h",
// "visible", "checked", "tabstop", "default", "order", "text", ….
using Fields = std::map<std::string, std::string>;

struct DialogSeen {
  Fields window;
  std::map<std::string, Fields> controls;
  int Int(const std::string& control, const std::string& field) const {
    return std::atoi(controls.at(control).at(field).c_str());
  }
};

DialogSeen ParseDump(const std::string& dump) {
  DialogSeen seen;
  std::istringstream in(dump);
  std::string line;
  while (std::getline(in, line)) {
    Fields fields;
    size_t text = line.find(" text=");
    if (text != std::string::npos) fields["text"] = line.substr(text + 6);
    std::istringstream words(line.substr(0, text));
    std::string word;
    words >> word;
    const bool isWindow = word == "window";
    while (words >> word) {
      size_t eq = word.find('=');
      if (eq != std::string::npos) fields[word.substr(0, eq)] = word.substr(eq + 1);
    }
    if (isWindow) {
      seen.window = fields;
    } else {
      seen.controls[fields["name"]] = fields;
    }
  }
  return seen;
}

// The design at 96 DPI: parent, class, position, size, place in the parent's tab order, and
// caption. The label sizes itself to its caption.
struct Designed {
  const char* name;
  const char* parent;
  const char* cls;
  int x, y, w, h, order;
  const char* text;
};
const Designed kDesign[] = {
    {"gb", "window", "VelmoraGroupBox", 0, 0, 369, 170, 0, "Which comparison tool to use ? "},
    {"rbPVCS", "gb", "Button", 8, 22, 113, 17, 0, "PVCS Merge Tool"},
    {"rbBC2", "gb", "Button", 8, 42, 145, 17, 1, "The following program:"},
    {"pnl", "gb", "VelmoraPanel", 2, 63, 365, 98, 2, ""},
    {"ed", "pnl", "Edit", 6, 2, 353, 21, 0, ""},
    {"lblAdditionalCommandLine", "pnl", "Static", 8, 26, -1, -1, 1, "Additional Arguments"},
    {"edtArgs", "pnl", "Edit", 120, 24, 237, 21, 2, ""},
    {"rbAncestorLeft", "pnl", "Button", 6, 54, 223, 17, 3,
     "Ancestor on the left, derivate on the right"},
    {"rbDerivateLeft", "pnl", "Button", 6, 72, 223, 17, 4,
     "Derivate on the left, ancestor on the right"},
    {"cxGroupBox1", "window", "VelmoraPanel", 0, 170, 369, 35, 1, ""},
    {"Ja", "cxGroupBox1", "Button", 8, 4, 97, 25, 0, "OK"},
    {"Nee", "cxGroupBox1", "Button", 128, 4, 97, 25, 1, "Cancel"},
};

int Scaled(int pixels, int dpi) {
  return (pixels * dpi + 48) / 96;
}

class SetupDialog : public testing::Test {
 protected:
  SetupDialog() : wine(e2e::CurrentTestName()) {
    wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
    wine.Install("StandInGui.exe", "C:\\BC3\\BCompare.exe");
    wine.WriteFile("C:\\BC3\\readme.txt", "not a program");
    wine.Install("HelperStandIn.exe", kServer);
  }

  // Starts Velmora as PVCS would (in `folder` when given) and waits for the dialog.
  void Open(const std::string& commandLine = "\"C:\\PVCS\\Velmora.exe\"",
            const std::string& folder = "") {
    wine.StartLikePvcs(commandLine, folder);
    bool shown = false;
    wine.Probe({"wait", "30000"}, &shown);
    ASSERT_TRUE(shown) << "no setup dialog";
  }
  DialogSeen Dump() { return ParseDump(wine.Probe({"dump"})); }
  void Do(const std::vector<std::string>& command) {
    bool ok = false;
    wine.Probe(command, &ok);
    ASSERT_TRUE(ok) << command[0] << " " << (command.size() > 1 ? command[1] : "");
  }
  // Presses OK and reads the message box that follows.
  std::string OkAndReadBox(int waitMs = 15000) {
    Do({"click", "Ja"});
    bool found = false;
    std::string box = wine.Probe({"box", std::to_string(waitMs)}, &found);
    EXPECT_TRUE(found) << "no message box";
    return box;
  }
  bool Closed() {
    bool gone = false;
    wine.Probe({"gone", "10000"}, &gone);
    return gone;
  }
  bool NothingStored() { return wine.RegQuery(kSettings).empty(); }
  std::string ServerStarts() { return wine.ReadFile(kServer + ".cmdline"); }

  e2e::WineSession wine;
};

void ExpectDesignedLayout(const DialogSeen& seen, int dpi) {
  EXPECT_EQ(seen.window.at("class"), "TfrmSettings");
  EXPECT_EQ(seen.window.at("text"), "PVCS Merge Tool Setup");
  EXPECT_EQ(seen.window.at("clientw"), std::to_string(Scaled(369, dpi)));
  EXPECT_EQ(seen.window.at("clienth"), std::to_string(Scaled(205, dpi)));
  for (const char* flag : {"toolwindow", "sizable", "sysmenu"})
    EXPECT_EQ(seen.window.at(flag), "1");
  for (const char* flag : {"minimizebox", "maximizebox"}) EXPECT_EQ(seen.window.at(flag), "0");
  // Centred on the work area.
  auto at = [&](const char* f) { return std::atoi(seen.window.at(f).c_str()); };
  EXPECT_NEAR(at("x"), at("workx") + (at("workw") - at("w")) / 2, 1);
  EXPECT_NEAR(at("y"), at("worky") + (at("workh") - at("h")) / 2, 1);
  // Scaling rounds each number on its own, so docked places may be off by one at 144 DPI.
  const int slack = dpi == 96 ? 0 : 1;
  for (const auto& d : kDesign) {
    SCOPED_TRACE(d.name);
    ASSERT_TRUE(seen.controls.count(d.name));
    const Fields& c = seen.controls.at(d.name);
    EXPECT_EQ(c.at("parent"), d.parent);
    EXPECT_EQ(c.at("class"), d.cls);
    EXPECT_EQ(c.at("order"), std::to_string(d.order));
    EXPECT_EQ(c.at("text"), d.text);
    EXPECT_NEAR(seen.Int(d.name, "x"), Scaled(d.x, dpi), slack);
    EXPECT_NEAR(seen.Int(d.name, "y"), Scaled(d.y, dpi), slack);
    if (d.w >= 0) {
      EXPECT_NEAR(seen.Int(d.name, "w"), Scaled(d.w, dpi), slack);
      EXPECT_NEAR(seen.Int(d.name, "h"), Scaled(d.h, dpi), slack);
    }
  }
  // The label ends before the arguments field begins.
  EXPECT_LT(seen.Int("lblAdditionalCommandLine", "x") + seen.Int("lblAdditionalCommandLine", "w"),
            seen.Int("edtArgs", "x"));
  // Visible siblings never overlap and every control lies inside its parent.
  for (const auto& [name, c] : seen.controls) {
    if (c.at("visible") != "1") continue;
    int x = seen.Int(name, "x"), y = seen.Int(name, "y");
    int right = x + seen.Int(name, "w"), bottom = y + seen.Int(name, "h");
    const std::string& parent = c.at("parent");
    int parentW =
        parent == "window" ? std::atoi(seen.window.at("clientw").c_str()) : seen.Int(parent, "w");
    int parentH =
        parent == "window" ? std::atoi(seen.window.at("clienth").c_str()) : seen.Int(parent, "h");
    EXPECT_TRUE(x >= 0 && y >= 0 && right <= parentW && bottom <= parentH) << name;
    for (const auto& [other, o] : seen.controls) {
      if (other <= name || o.at("parent") != parent || o.at("visible") != "1") continue;
      int ox = seen.Int(other, "x"), oy = seen.Int(other, "y");
      bool apart = right <= ox || ox + seen.Int(other, "w") <= x || bottom <= oy ||
                   oy + seen.Int(other, "h") <= y;
      EXPECT_TRUE(apart) << name << " overlaps " << other;
    }
  }
}

TEST_F(SetupDialog, StandAloneMatchesTheDesignAndOkStoresTheChoiceAfterRegistering) {
  wine.WriteFile(kServer + ".mode", "delay=800");
  ASSERT_NO_FATAL_FAILURE(Open());
  DialogSeen seen = Dump();
  ExpectDesignedLayout(seen, 96);
  EXPECT_EQ(seen.window.at("appwindow"), "1") << "its own taskbar button";
  EXPECT_EQ(seen.window.at("owned"), "0");
  // First use: neither tool chosen, the panel shown, derivative on the left, OK the default.
  const auto& c = seen.controls;
  EXPECT_EQ(c.at("rbPVCS").at("checked"), "0");
  EXPECT_EQ(c.at("rbBC2").at("checked"), "0");
  EXPECT_EQ(c.at("pnl").at("visible"), "1");
  EXPECT_EQ(c.at("rbAncestorLeft").at("checked"), "0");
  EXPECT_EQ(c.at("rbDerivateLeft").at("checked"), "1");
  EXPECT_EQ(c.at("rbDerivateLeft").at("tabstop"), "1");
  EXPECT_EQ(c.at("Ja").at("default"), "1");
  wine.Screenshot("setup-96dpi-panel-shown");

  Do({"click", "rbPVCS"});
  seen = Dump();
  EXPECT_EQ(seen.controls.at("pnl").at("visible"), "0");
  EXPECT_EQ(seen.controls.at("ed").at("visible"), "0");
  EXPECT_EQ(seen.window.at("clienth"), "205") << "the window keeps its size";
  wine.Screenshot("setup-96dpi-panel-hidden");

  Do({"click", "rbBC2"});
  Do({"settext", "ed", "C:\\BC3\\BComp.exe"});
  Do({"settext", "edtArgs", "/solo %TEMP%"});
  Do({"click", "rbAncestorLeft"});
  wine.Screenshot("setup-96dpi-filled");
  seen = Dump();
  EXPECT_EQ(seen.controls.at("pnl").at("visible"), "1");
  EXPECT_EQ(seen.controls.at("rbPVCS").at("checked"), "0");
  EXPECT_EQ(seen.controls.at("rbBC2").at("checked"), "1");
  EXPECT_EQ(seen.controls.at("rbDerivateLeft").at("checked"), "0");
  Do({"click", "Ja"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");

  EXPECT_NE(ServerStarts().find("/regserver"), std::string::npos) << ServerStarts();
  EXPECT_NE(wine.RegQuery(kClassKey).find("LocalServer32"), std::string::npos);
  std::string stored = wine.RegQuery(kSettings);
  EXPECT_NE(stored.find("BC2Path    REG_SZ    C:\\BC3\\BComp.exe"), std::string::npos) << stored;
  EXPECT_NE(stored.find("BC_Args    REG_SZ    /solo %TEMP%"), std::string::npos) << stored;
  EXPECT_NE(stored.find("UseBC2    REG_DWORD    0x1"), std::string::npos) << stored;
  EXPECT_NE(stored.find("AncestorLeft    REG_DWORD    0x1"), std::string::npos) << stored;
}

TEST_F(SetupDialog, ResizingMovesOnlyTheDockedPartsAndStopsAtTheMinimumWidth) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"resize", "600", "300"});
  DialogSeen seen = Dump();
  EXPECT_EQ(seen.window.at("clientw"), "600");
  EXPECT_EQ(seen.window.at("clienth"), "300");
  EXPECT_EQ(seen.Int("gb", "w"), 600);
  EXPECT_EQ(seen.Int("gb", "h"), 265);
  EXPECT_EQ(seen.Int("pnl", "y"), 265 - 9 - 98) << "docked to the bottom of the group box";
  EXPECT_EQ(seen.Int("pnl", "w"), 596);
  EXPECT_EQ(seen.Int("ed", "w"), 584) << "the path field widens with the window";
  EXPECT_EQ(seen.Int("edtArgs", "w"), 237);
  EXPECT_EQ(seen.Int("cxGroupBox1", "y"), 265);
  EXPECT_EQ(seen.Int("cxGroupBox1", "w"), 600);
  EXPECT_EQ(seen.Int("rbBC2", "y"), 42);
  EXPECT_EQ(seen.Int("Nee", "x"), 128);
  Do({"resize", "100", "205"});
  seen = Dump();
  EXPECT_EQ(seen.window.at("clientw"), "249");
  EXPECT_EQ(seen.Int("ed", "w"), 249 - 4 - 12);
  Do({"click", "Nee"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
}

TEST_F(SetupDialog, At150PercentTheLayoutScalesWithoutOverlaps) {
  wine.RegAdd("HKCU\\Control Panel\\Desktop", "LogPixels", "REG_DWORD", "144");
  ASSERT_NO_FATAL_FAILURE(Open());
  DialogSeen seen = Dump();
  ASSERT_EQ(seen.window.at("dpi"), "144");
  ExpectDesignedLayout(seen, 144);
  wine.Screenshot("setup-150pct-panel-shown");
  Do({"click", "rbPVCS"});
  EXPECT_EQ(Dump().controls.at("pnl").at("visible"), "0");
  wine.Screenshot("setup-150pct-panel-hidden");
  Do({"close"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
}

TEST_F(SetupDialog, FirstRequestOpensTheDialogInsteadAndTouchesNoFile) {
  const std::string temp = e2e::WineSession::TempDir();
  const std::string params = "ANCESTOR=" + temp +
                             "\\pvc1.tmp,Velmora.cpp;1.2\r\nDERIVATIVES=" + temp +
                             "\\pvc2.tmp,Velmora.cpp;1.3\r\n";
  wine.WriteFile(temp + "\\pvc4711.tmp", params);
  wine.WriteFile(temp + "\\pvc1.tmp", "one");
  wine.WriteFile(temp + "\\pvc2.tmp", "two");
  ASSERT_NO_FATAL_FAILURE(Open("\"C:\\PVCS\\Velmora.exe\" -r " + temp + "\\pvc4711.tmp"));
  DialogSeen seen = Dump();
  EXPECT_EQ(seen.window.at("owned"), "1") << "the application window stands for it";
  EXPECT_EQ(seen.window.at("appwindow"), "0");
  wine.Screenshot("setup-from-request");
  Do({"click", "Nee"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc4711.tmp"), params);
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc1.tmp"), "one");
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc2.tmp"), "two");
  EXPECT_FALSE(wine.Exists(temp + "\\Velmora.log"));
  EXPECT_FALSE(wine.Exists("C:\\BC3\\BComp.exe.cmdline"));
  EXPECT_TRUE(NothingStored());
}

TEST_F(SetupDialog, CtrlAndShiftHeldOpenTheDialogForAConfiguredUser) {
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe");
  const std::string temp = e2e::WineSession::TempDir();
  wine.WriteFile(temp + "\\pvc4711.tmp", "ANCESTOR=" + temp + "\\pvc1.tmp,a\r\n");
  Do({"hold", "ctrl+shift"});
  ASSERT_NO_FATAL_FAILURE(Open("\"C:\\PVCS\\Velmora.exe\" " + temp + "\\pvc4711.tmp"));
  Do({"release"});
  DialogSeen seen = Dump();
  EXPECT_EQ(seen.controls.at("rbBC2").at("checked"), "1");
  EXPECT_EQ(seen.controls.at("ed").at("text"), "C:\\BC3\\BComp.exe");
  Do({"key", "edtArgs", "esc"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_FALSE(wine.Exists("C:\\BC3\\BComp.exe.cmdline")) << "the request was dropped";
  EXPECT_FALSE(wine.Exists(temp + "\\Velmora.log"));
}

// Defaults stored for the whole machine fill the dialog of a user without a choice of their own;
// OK stores them for the user, and the machine's key stays as it was.
TEST_F(SetupDialog, CtrlAndShiftShowTheMachineDefaultsAndOkStoresThemForTheUser) {
  const std::string machine = "HKLM\\Software\\Tessmark\\Velmora";
  wine.RegAdd(machine, "UseBC2", "REG_DWORD", "1", "/reg:64");
  wine.RegAdd(machine, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe", "/reg:64");
  wine.RegAdd(machine, "BC_Args", "REG_SZ", "/solo", "/reg:64");
  wine.RegAdd(machine, "AncestorLeft", "REG_DWORD", "1", "/reg:64");
  const std::string temp = e2e::WineSession::TempDir();
  wine.WriteFile(temp + "\\pvc4711.tmp", "ANCESTOR=" + temp + "\\pvc1.tmp,a\r\n");
  Do({"hold", "ctrl+shift"});
  ASSERT_NO_FATAL_FAILURE(Open("\"C:\\PVCS\\Velmora.exe\" " + temp + "\\pvc4711.tmp"));
  Do({"release"});
  DialogSeen seen = Dump();
  EXPECT_EQ(seen.controls.at("rbPVCS").at("checked"), "0");
  EXPECT_EQ(seen.controls.at("rbBC2").at("checked"), "1");
  EXPECT_EQ(seen.controls.at("pnl").at("visible"), "1");
  EXPECT_EQ(seen.controls.at("ed").at("text"), "C:\\BC3\\BComp.exe");
  EXPECT_EQ(seen.controls.at("edtArgs").at("text"), "/solo");
  EXPECT_EQ(seen.controls.at("rbAncestorLeft").at("checked"), "1");
  EXPECT_EQ(seen.controls.at("rbDerivateLeft").at("checked"), "0");
  EXPECT_TRUE(NothingStored()) << "opening stores nothing";
  Do({"click", "Ja"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_FALSE(wine.Exists("C:\\BC3\\BComp.exe.cmdline")) << "the request was dropped";

  EXPECT_NE(ServerStarts().find("/regserver"), std::string::npos) << ServerStarts();
  std::string stored = wine.RegQuery(kSettings);
  EXPECT_NE(stored.find("BC2Path    REG_SZ    C:\\BC3\\BComp.exe"), std::string::npos) << stored;
  EXPECT_NE(stored.find("BC_Args    REG_SZ    /solo"), std::string::npos) << stored;
  EXPECT_NE(stored.find("UseBC2    REG_DWORD    0x1"), std::string::npos) << stored;
  EXPECT_NE(stored.find("AncestorLeft    REG_DWORD    0x1"), std::string::npos) << stored;
  std::string kept = wine.RegQuery(machine);
  EXPECT_NE(kept.find("BC_Args    REG_SZ    /solo"), std::string::npos) << kept;
  EXPECT_NE(kept.find("UseBC2    REG_DWORD    0x1"), std::string::npos) << kept;
}

TEST_F(SetupDialog, PathChecksShowTheirMessageAndLeaveTheDialogAsItWas) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbBC2"});
  Do({"settext", "edtArgs", "/x"});
  struct Row {
    std::string path, message;
  } rows[] = {
      {"", "\"\" not found or no access."},
      {"C:\\BC3\\Gone.exe", "\"C:\\BC3\\Gone.exe\" not found or no access."},
      {"C:\\BC3", "\"C:\\BC3\" not found or no access."},
      {"C:\\BC3\\readme.txt", "\"C:\\BC3\\readme.txt\" is not a program file."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    Do({"settext", "ed", row.path});
    std::string box = OkAndReadBox();
    EXPECT_NE(box.find("caption=Velmora\ntext=" + row.message + "\nicon=error"), std::string::npos)
        << box;
    DialogSeen seen = Dump();
    EXPECT_EQ(seen.controls.at("ed").at("text"), row.path);
    EXPECT_EQ(seen.controls.at("edtArgs").at("text"), "/x");
    EXPECT_EQ(seen.controls.at("rbBC2").at("checked"), "1");
  }
  Do({"click", "Nee"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_TRUE(NothingStored());
  EXPECT_EQ(ServerStarts(), "") << "no server for a path that fails its checks";
}

TEST_F(SetupDialog, MissingServerShowsTheSystemErrorAndStoresNothing) {
  wine.Remove(kServer);
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbBC2"});
  Do({"settext", "ed", "C:\\BC3\\BComp.exe"});
  std::string box = OkAndReadBox();
  EXPECT_NE(box.find("text=System Error.  Code: 2.\r\n"), std::string::npos) << box;
  EXPECT_NE(box.find("icon=error"), std::string::npos) << box;
  EXPECT_EQ(Dump().controls.at("ed").at("text"), "C:\\BC3\\BComp.exe") << "still open";
  Do({"close"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_TRUE(NothingStored());
}

TEST_F(SetupDialog, RegistrationThatNeverShowsFailsAfterFiveSecondsAndStoresNothing) {
  wine.WriteFile(kServer + ".mode", "never");
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbBC2"});
  Do({"settext", "ed", "C:\\BC3\\BComp.exe"});
  std::string box = OkAndReadBox(20000);
  EXPECT_NE(box.find("text=Failed to register the VelmoraHelper Object.\n"), std::string::npos)
      << box;
  EXPECT_NE(ServerStarts().find("/regserver"), std::string::npos);
  EXPECT_TRUE(Dump().controls.count("Ja")) << "still open";
  Do({"click", "Nee"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_TRUE(NothingStored());
}

// Closing the dialog while OK waits for the registration cancels the save, also when the
// registration shows afterwards.
TEST_F(SetupDialog, ClosingWhileOkWaitsStoresNothingWhenTheRegistrationShowsLater) {
  wine.WriteFile(kServer + ".mode", "delay=3000");
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbBC2"});
  Do({"settext", "ed", "C:\\BC3\\BComp.exe"});
  Do({"click", "Ja"});
  // OK is at work once it has started the server, which registers three seconds later.
  ASSERT_TRUE(e2e::WineSession::WaitUntil(
      [&] { return ServerStarts().find("/regserver") != std::string::npos; }, 20));
  Do({"close"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  ASSERT_TRUE(e2e::WineSession::WaitUntil([&] { return !wine.RegQuery(kClassKey).empty(); }, 30))
      << "the server registered";
  EXPECT_TRUE(NothingStored());
}

// OK pressed again while the first one waits does nothing: one server start, one message.
TEST_F(SetupDialog, OkPressedAgainWhileItWaitsDoesNothing) {
  wine.WriteFile(kServer + ".mode", "never");
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbBC2"});
  Do({"settext", "ed", "C:\\BC3\\BComp.exe"});
  Do({"click", "Ja"});
  ASSERT_TRUE(e2e::WineSession::WaitUntil(
      [&] { return ServerStarts().find("/regserver") != std::string::npos; }, 20));
  Do({"click", "Ja"});
  bool found = false;
  std::string box = wine.Probe({"box", "20000"}, &found);
  ASSERT_TRUE(found) << "no message box";
  EXPECT_NE(box.find("text=Failed to register the VelmoraHelper Object.\n"), std::string::npos)
      << box;
  Do({"click", "Nee"});
  EXPECT_TRUE(Closed()) << "no second wait, no second message";
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  const std::string starts = ServerStarts();
  EXPECT_EQ(std::count(starts.begin(), starts.end(), '\n'), 1) << starts;
  EXPECT_TRUE(NothingStored());
}

// The real server registers and unregisters itself for the dialog's save.
TEST_F(SetupDialog, SavingWithTheRealServerRegistersAndUnregistersIt) {
  wine.Install("VelmoraHelper.exe", kServer);
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbBC2"});
  Do({"settext", "ed", "C:\\BC3\\BComp.exe"});
  Do({"click", "Ja"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_NE(wine.RegQuery(kClassKey).find("LocalServer32"), std::string::npos);
  EXPECT_NE(wine.RegQuery(kSettings).find("UseBC2    REG_DWORD    0x1"), std::string::npos);

  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbPVCS"});
  Do({"click", "Ja"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_EQ(wine.RegQuery(kClassKey), "");
  EXPECT_NE(wine.RegQuery(kSettings).find("UseBC2    REG_DWORD    0x0"), std::string::npos);
}

// Whatever form the path is typed in, OK stores the full name of the file it checked, so that a
// request started in any folder finds the program.
TEST_F(SetupDialog, OkStoresTheFullPathOfTheCheckedFile) {
  for (const std::string typed :
       {"C:/BC3/BComp.exe", "BC3\\BComp.exe", "C:\\BC2\\..\\BC3\\.\\BComp.exe"}) {
    SCOPED_TRACE(typed);
    ASSERT_NO_FATAL_FAILURE(Open("\"C:\\PVCS\\Velmora.exe\"", "C:\\"));
    Do({"click", "rbBC2"});
    Do({"settext", "ed", typed});
    Do({"click", "Ja"});
    EXPECT_TRUE(Closed());
    EXPECT_EQ(wine.FinishLikePvcs(), "0");
    std::string stored = wine.RegQuery(kSettings, "BC2Path");
    EXPECT_NE(stored.find("BC2Path    REG_SZ    C:\\BC3\\BComp.exe\r\n"), std::string::npos)
        << stored;
  }
}

// Cancel, Esc and the close box: nothing stored, no server started.
class SetupDialogClosed : public SetupDialog,
                          public testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(SetupDialogClosed, WithoutSaving) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbBC2"});
  Do({"settext", "ed", "C:\\BC3\\BComp.exe"});
  Do(GetParam());
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
  EXPECT_TRUE(NothingStored());
  EXPECT_EQ(ServerStarts(), "");
}

INSTANTIATE_TEST_SUITE_P(Wine, SetupDialogClosed,
                         testing::Values(std::vector<std::string>{"click", "Nee"},
                                         std::vector<std::string>{"key", "ed", "esc"},
                                         std::vector<std::string>{"close"}),
                         [](const testing::TestParamInfo<std::vector<std::string>>& param) {
                           return param.param[0] == "click" ? std::string("CancelButton")
                                  : param.param[0] == "key" ? std::string("EscKey")
                                                            : std::string("CloseBox");
                         });

TEST_F(SetupDialog, CtrlEnterInThePathBrowsesAndPrefersTheLauncher) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Do({"click", "rbBC2"});
  Do({"settext", "ed", "C:\\BC3\\readme.txt"});
  Do({"key", "ed", "ctrl+enter"});
  Do({"openfile", "C:\\BC3\\BCompare.exe", "15000"});
  bool ok = false;
  for (int i = 0; i < 20 && !ok; ++i) {
    ok = Dump().controls.at("ed").at("text") == "C:\\BC3\\BComp.exe";
  }
  EXPECT_TRUE(ok) << Dump().controls.at("ed").at("text");
  Do({"click", "Nee"});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(wine.FinishLikePvcs(), "0");
}

}  // namespace
