#include <gtest/gtest.h>

#include "launch/ProcessLaunch.h"
#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryPlatform.h"

namespace velmora {
namespace {

using platform::MemoryProcesses;

// A clock that moves on by a fixed step each time it is read, so the run's length is known.
class SteppingLocale : public platform::MemoryLocale {
 public:
  explicit SteppingLocale(int64_t step) : step_(step) {}
  platform::LocalTime Now() override {
    platform::LocalTime now = MemoryLocale::Now();
    Advance(step_);
    return now;
  }

 private:
  int64_t step_;
};

const Text kProgram = u"C:\\BC3\\BComp.exe";
const Text kCommandLine = u"\"C:\\BC3\\BComp.exe\" \"C:\\Temp\\a.c\" \"C:\\Temp\\b.c\"";

TEST(ProcessLaunch, StartsHiddenWithoutApplicationNameAndWaitsInOrder) {
  MemoryProcesses processes;
  processes.AddProgram(kProgram, {0, 0, nullptr});
  SteppingLocale locale(1'234'567);

  LaunchResult result = LaunchAndWait(processes, locale, kCommandLine);

  ASSERT_EQ(processes.Starts().size(), 1u);
  const auto& started = *processes.Starts()[0];
  EXPECT_FALSE(started.start.applicationName.has_value());
  EXPECT_EQ(started.start.commandLine, kCommandLine);
  EXPECT_EQ(started.start.startupFlags, 0x81u);
  EXPECT_EQ(started.start.showWindow, 0);
  EXPECT_EQ(started.start.creationFlags, 0x20u);
  EXPECT_EQ(started.events, (std::vector<Text>{u"ready", u"ended", u"closed"}));
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.elapsedSeconds, u"1,234.567");
}

TEST(ProcessLaunch, WaitResultsAreSigned) {
  struct Row {
    const char* name;
    MemoryProcesses::Program program;
    int32_t ready, ended;
  } rows[] = {
      {"ready and ended", {0, 0, nullptr}, 0, 0},
      {"not ready in the platform's sense", {platform::kWaitFailed, 0, nullptr}, -1, 0},
      {"both waits failed", {platform::kWaitFailed, platform::kWaitFailed, nullptr}, -1, -1},
  };
  for (const auto& r : rows) {
    MemoryProcesses processes;
    processes.AddProgram(kProgram, r.program);
    platform::MemoryLocale locale;
    LaunchResult result = LaunchAndWait(processes, locale, kCommandLine);
    EXPECT_EQ(result.readyResult, r.ready) << r.name;
    EXPECT_EQ(result.endResult, r.ended) << r.name;
    // A failed readiness wait still goes on to wait for the end.
    EXPECT_EQ(processes.Starts()[0]->events, (std::vector<Text>{u"ready", u"ended", u"closed"}))
        << r.name;
  }
}

TEST(ProcessLaunch, FailedStartIsReportedWithTheSystemText) {
  struct Row {
    uint32_t error;
    Text expected;
  } rows[] = {
      {platform::kErrorFileNotFound,
       u"Failed to start \"C:\\BC3\\BComp.exe\". System error message was:\r\r"
       u"System Error.  Code: 2.\r\nThe system cannot find the file specified"},
      {platform::kErrorBadExeFormat,
       u"Failed to start \"C:\\BC3\\BComp.exe\". System error message was:\r\r"
       u"System Error.  Code: 193.\r\n%1 is not a valid Win32 application"},
  };
  for (const auto& r : rows) {
    MemoryProcesses processes;
    processes.FailStarts(r.error);
    platform::MemoryLocale locale;
    LaunchResult result = LaunchAndWait(processes, locale, kCommandLine);
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.error, r.error);
    EXPECT_TRUE(processes.Starts()[0]->events.empty());
    EXPECT_EQ(LaunchFailureText(locale, kProgram, result.error), r.expected);
  }
  platform::MemoryLocale locale;
  EXPECT_EQ(LaunchFailureText(locale, kProgram, 0),
            u"Failed to start \"C:\\BC3\\BComp.exe\". System error message was:\r\r"
            u"A call to an OS function failed");
}

}  // namespace
}  // namespace velmora
