// The Windows build of the platform services' own tests, run for real under Wine.
#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

// Runs one of the Windows test programs and expects every one of its tests to pass.
void RunWindowsTests(const std::string& program) {
  e2e::WineSession wine("Windows." + program);
  wine.Install(program, "C:\\e2e\\" + program);
  int code = wine.Wine({"C:\\e2e\\" + program, "--gtest_output=xml:C:\\e2e\\results.xml"}, 150);
  std::string results = wine.ReadFile("C:\\e2e\\results.xml");
  EXPECT_EQ(code, 0) << results;
  EXPECT_NE(results.find("failures=\"0\""), std::string::npos) << results;
}

TEST(WindowsBuild, PlatformServicesPassUnderWine) {
  RunWindowsTests("velmora_win32_tests.exe");
}

TEST(WindowsBuild, CoreUnitTestsPassUnderWine) {
  RunWindowsTests("velmora_unit_tests_win.exe");
}

}  // namespace
