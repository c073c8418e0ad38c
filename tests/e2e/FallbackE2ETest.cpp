// The real Velmora.exe under Wine: requests that Beyond Compare does not take up go to the
// PVCS Merge Tool, with the command line unchanged.
#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

const std::string kSettings = "HKCU\\Software\\Tessmark\\Velmora";
// Quotes, repeated blanks and an empty quoted pair must all reach the tool as they were.
const std::string kRequest =
    "\"C:\\PVCS\\Velmora.exe\"  -s   \"C:\\Temp\\my  params.tmp\"  \"\"  x\"\"y C:\\Temp\\p.tmp";

struct FallbackCase {
  const char* name;
  const char* tool;  // the stand-in installed as Velmora.exe.exe
  bool wantBC2;      // UseBC2 = 1, but no comparison program or no parameter file
  bool programExists;
};

void PrintTo(const FallbackCase& c, std::ostream* out) {
  *out << c.name;
}

class Fallback : public testing::TestWithParam<FallbackCase> {};

TEST_P(Fallback, StartsTheMergeToolWithTheCommandLineUnchanged) {
  const FallbackCase& c = GetParam();
  e2e::WineSession wine(e2e::CurrentTestName());
  wine.Install(c.tool, "C:\\PVCS\\Velmora.exe.exe");
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", c.wantBC2 ? "1" : "0");
  if (c.programExists) {
    wine.Install("StandInGui.exe", "C:\\BC\\BComp.exe");
    wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC\\BComp.exe");
  }
  // The last argument names no existing file.
  auto outcome = wine.RunLikePvcs(kRequest, 0);
  EXPECT_EQ(outcome.launcher, "0") << "Velmora ends with 0 whatever the tool's exit code (7)";
  std::string record = wine.ReadFile("C:\\PVCS\\Velmora.exe.exe.cmdline");
  EXPECT_EQ(record.substr(0, record.find('\n')), kRequest);
  EXPECT_FALSE(wine.Exists("C:\\BC\\BComp.exe.cmdline"));
  EXPECT_FALSE(wine.Exists("C:\\Temp\\Velmora.log"));
}

INSTANTIATE_TEST_SUITE_P(
    Wine, Fallback,
    testing::Values(FallbackCase{"MergeToolChosenGuiTool", "StandInGui.exe", false, true},
                    // A tool without a message queue: the wait for readiness fails at once.
                    FallbackCase{"MergeToolChosenConsoleTool", "StandInConsole.exe", false, false},
                    FallbackCase{"NoComparisonProgram", "StandInGui.exe", true, false},
                    FallbackCase{"NoParameterFile", "StandInGui.exe", true, true}),
    [](const testing::TestParamInfo<FallbackCase>& param) { return param.param.name; });

TEST(FallbackErrors, MissingToolShowsOneErrorMessage) {
  e2e::WineSession wine(e2e::CurrentTestName());
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "0");
  auto outcome = wine.RunLikePvcs(kRequest, 1);
  EXPECT_EQ(outcome.launcher, "0");
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].caption, "Error");
  EXPECT_EQ(outcome.boxes[0].icon, "error");
  const std::string prefix =
      "Failed to start \"C:\\PVCS\\Velmora.exe.exe\". System error message was:\r\r"
      "System Error.  Code: 2.\r\n";
  EXPECT_EQ(outcome.boxes[0].text.substr(0, prefix.size()), prefix);
  std::string systemText = outcome.boxes[0].text.substr(prefix.size());
  EXPECT_FALSE(systemText.empty());
  EXPECT_NE(systemText.back(), '.') << "trailing periods are removed";
  EXPECT_NE(systemText.back(), '\n');
}

TEST(FallbackErrors, UseBC2StoredAsTextIsReportedAndTheProgramEnds) {
  e2e::WineSession wine(e2e::CurrentTestName());
  wine.Install("StandInGui.exe", "C:\\PVCS\\Velmora.exe.exe");
  wine.RegAdd(kSettings, "UseBC2", "REG_SZ", "1");
  auto outcome = wine.RunLikePvcs(kRequest, 1);
  EXPECT_EQ(outcome.launcher, "0") << "the program must end after the message";
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].caption, "Velmora");
  EXPECT_EQ(outcome.boxes[0].text, "Invalid data type for 'UseBC2'");
  EXPECT_EQ(outcome.boxes[0].icon, "error");
  EXPECT_FALSE(wine.Exists("C:\\PVCS\\Velmora.exe.exe.cmdline")) << "no fallback after an error";
}

}  // namespace
