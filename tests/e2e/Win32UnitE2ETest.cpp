// The Windows build of the platform services' own tests, run for real under Wine.
#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

TEST(Win32Services, WindowsSideTestsPassUnderWine) {
  e2e::WineSession wine("Win32Services");
  wine.Install("velmora_win32_tests.exe", "C:\\e2e\\velmora_win32_tests.exe");
  int code = wine.Wine({"C:\\e2e\\velmora_win32_tests.exe",
                        "--gtest_output=xml:C:\\e2e\\win32_tests.xml"},
                       120);
  EXPECT_EQ(code, 0) << wine.ReadFile("C:\\e2e\\win32_tests.xml");
  EXPECT_NE(wine.ReadFile("C:\\e2e\\win32_tests.xml").find("failures=\"0\""), std::string::npos);
}

}  // namespace
