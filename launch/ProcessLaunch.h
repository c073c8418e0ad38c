// Starting the comparison program hidden and waiting until it has ended.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Locale.h"
#include "platform/Processes.h"
#include "support/Text.h"

namespace velmora {

struct LaunchResult {
  bool started = false;
  uint32_t error = 0;                // the system's error code when the start failed
  int32_t readyResult = 0;           // the wait until ready for input; -1 when undeterminable
  int32_t endResult = 0;             // the wait until the process ended
  Text elapsedSeconds;               // how long it ran, ",0.000" with the user's separators
  std::optional<uint32_t> exitCode;  // read only when asked for and the process has ended
};

// What the process start is given: the program is the command line's first token, the first
// window starts hidden, no busy cursor, normal priority.
platform::ProcessStart ComparisonProcessStart(const Text& commandLine);

// Starts the program, waits until it is ready for input, then until it has ended, and closes
// its handles. The clock is read right before the start and right after the handles are closed.
// With `readExitCode` the exit code of the ended process is read before its handles are closed.
LaunchResult LaunchAndWait(platform::IProcesses& processes, platform::ILocale& locale,
                           const Text& commandLine, bool readExitCode = false);

// The text of the error dialog for a failed start of `programPath`.
Text LaunchFailureText(platform::ILocale& locale, const Text& programPath, uint32_t error);

}  // namespace velmora
