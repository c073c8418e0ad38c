// The real Velmora.exe under Wine with defaults an administrator stored for the whole machine in
// HKLM's 64-bit view: they serve a user who has chosen nothing, without a dialog and without
// storing anything for the user, until the user's own choice takes over.
#include <gtest/gtest.h>

#include <functional>

#include "WineHarness.h"

namespace {

const std::string kUser = "HKCU\\Software\\Tessmark\\Velmora";
const std::string kMachine = "HKLM\\Software\\Tessmark\\Velmora";
const std::string kRequest = "\"C:\\PVCS\\Velmora.exe\" -r ";

const std::string kMergeTool = "C:\\PVCS\\Velmora.exe.exe";

struct MachineCase {
  const char* name;
  std::function<void(const e2e::WineSession&)> settings;
  std::string started;  // the program that receives the request
  bool ancestorLeft;    // for a comparison program: the orientation and extra arguments
  std::string args;
  bool userKey;  // a per-user key exists afterwards
};

void PrintTo(const MachineCase& c, std::ostream* out) {
  *out << c.name;
}

// The machine's preset: Beyond Compare 3, ancestor on the left, extra arguments.
void PresetProgram(const e2e::WineSession& wine) {
  wine.RegAdd(kMachine, "UseBC2", "REG_DWORD", "1", "/reg:64");
  wine.RegAdd(kMachine, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe", "/reg:64");
  wine.RegAdd(kMachine, "BC_Args", "REG_SZ", "/solo \"/x=a b\"", "/reg:64");
  wine.RegAdd(kMachine, "AncestorLeft", "REG_DWORD", "1", "/reg:64");
}

class MachineDefaults : public testing::TestWithParam<MachineCase> {};

TEST_P(MachineDefaults, DecideTheRequestOfAUserWithoutAChoice) {
  const MachineCase& c = GetParam();
  e2e::WineSession wine(e2e::CurrentTestName());
  const std::string temp = e2e::WineSession::TempDir();
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.Install("StandInGui.exe", "C:\\BC2\\BC2.exe");
  wine.Install("StandInGui.exe", kMergeTool);
  c.settings(wine);
  wine.WriteFile(temp + "\\pvc4710.tmp", "ancestor\r\n");
  wine.WriteFile(temp + "\\pvc4711.tmp", "derivative\r\n");
  const std::string parameterFile = temp + "\\pvc4712.tmp";
  wine.WriteFile(parameterFile, "ANCESTOR=\"" + temp +
                                    "\\pvc4710.tmp\",\"File 1: main.c 1.4\"\r\n"
                                    "DERIVATIVES=\"" +
                                    temp + "\\pvc4711.tmp\",\"File 2: main.c 1.5\"\r\n");

  // A setup dialog would drop the request and leave every program unstarted.
  auto outcome = wine.RunLikePvcs(kRequest + parameterFile, 0);
  ASSERT_EQ(outcome.launcher, "0");
  for (std::string program : {"C:\\BC3\\BComp.exe", "C:\\BC2\\BC2.exe", kMergeTool.c_str()}) {
    std::string record = wine.ReadFile(program + ".cmdline");
    EXPECT_EQ(!record.empty(), c.started == program) << program;
  }
  std::string record = wine.ReadFile(c.started + ".cmdline");
  std::string seen = record.substr(0, record.find('\n'));
  if (c.started == kMergeTool) {
    EXPECT_EQ(seen, kRequest + parameterFile) << "the request goes on unchanged";
  } else {
    auto side = [&](const char* number, const char* revision) {
      return std::make_pair("\"" + temp + "\\pvc" + number + ".c\"",
                            "\"main.c (Rev. " + std::string(revision) + ")\"");
    };
    auto ancestor = side("4710", "1.4"), derivative = side("4711", "1.5");
    auto left = c.ancestorLeft ? ancestor : derivative;
    auto right = c.ancestorLeft ? derivative : ancestor;
    EXPECT_EQ(seen, "\"" + c.started + "\" " + left.first + " " + right.first +
                        " /title1=" + left.second + " /title2=" + right.second + " /lro /rro" +
                        (c.args.empty() ? "" : " " + c.args));
  }
  EXPECT_EQ(!wine.RegQuery(kUser).empty(), c.userKey);
  EXPECT_NE(wine.RegQuery(kMachine, "UseBC2").find("REG_DWORD"), std::string::npos)
      << "the machine's key stays";
}

INSTANTIATE_TEST_SUITE_P(
    Wine, MachineDefaults,
    testing::Values(MachineCase{"ProgramPreset", PresetProgram, "C:\\BC3\\BComp.exe", true,
                                "/solo \"/x=a b\"", false},
                    // The 32-bit view's program is not looked at: the key lives in the 64-bit view.
                    MachineCase{"MergeToolPreset",
                                [](const e2e::WineSession& wine) {
                                  wine.RegAdd(kMachine, "UseBC2", "REG_DWORD", "0", "/reg:64");
                                  wine.RegAdd(kMachine, "UseBC2", "REG_DWORD", "1", "/reg:32");
                                  wine.RegAdd(kMachine, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe",
                                              "/reg:32");
                                },
                                kMergeTool, false, "", false},
                    MachineCase{"UsersOwnChoiceWins",
                                [](const e2e::WineSession& wine) {
                                  PresetProgram(wine);
                                  wine.RegAdd(kUser, "UseBC2", "REG_DWORD", "1");
                                  wine.RegAdd(kUser, "BC2Path", "REG_SZ", "C:\\BC2\\BC2.exe");
                                },
                                "C:\\BC2\\BC2.exe", false, "", true}),
    [](const testing::TestParamInfo<MachineCase>& param) { return param.param.name; });

}  // namespace
