// What a user installs, under Wine: the programs' version resources.
#include <gtest/gtest.h>

#include "WineHarness.h"

namespace {

TEST(Release, ProgramsCarryTheProjectVersion) {
  e2e::WineSession wine(e2e::CurrentTestName());
  wine.Install("VersionProbe.exe", "C:\\e2e\\VersionProbe.exe");
  const std::string version = VELMORA_VERSION;
  ASSERT_EQ(wine.Wine({"C:\\e2e\\VersionProbe.exe", "C:\\PVCS\\Velmora.exe", "C:\\e2e\\v.txt"}, 60),
            0);
  std::string seen = wine.ReadFile("C:\\e2e\\v.txt");
  EXPECT_NE(seen.find("fixed=" + version + ".0\n"), std::string::npos) << seen;
  EXPECT_NE(seen.find("ProductName=Velmora\n"), std::string::npos) << seen;
  EXPECT_NE(seen.find("ProductVersion=" + version + "\n"), std::string::npos) << seen;
  EXPECT_NE(seen.find("FileVersion=" + version + "\n"), std::string::npos) << seen;
  EXPECT_NE(seen.find("CompanyName=Tessmark\n"), std::string::npos) << seen;
  EXPECT_NE(seen.find("OriginalFilename=Velmora.exe\n"), std::string::npos) << seen;
}

}  // namespace
