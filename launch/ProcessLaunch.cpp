#include "launch/ProcessLaunch.h"

#include "launch/ElapsedTime.h"
#include "support/StartFailure.h"

namespace velmora {

using namespace platform;

ProcessStart ComparisonProcessStart(const Text& commandLine) {
  ProcessStart start;
  start.applicationName.reset();
  start.commandLine = commandLine;
  start.startupFlags = kStartfUseShowWindow | kStartfForceOffFeedback;
  start.showWindow = kSwHide;
  start.creationFlags = kNormalPriorityClass;
  return start;
}

LaunchResult LaunchAndWait(IProcesses& processes, ILocale& locale, const Text& commandLine,
                           bool readExitCode) {
  LaunchResult result;
  LocalTime startTime = locale.Now();
  StartResult started = processes.Start(ComparisonProcessStart(commandLine));
  if (!started.process) {
    result.error = started.error;
    return result;
  }
  result.started = true;
  // The waits return DWORDs; the log shows them signed, so WAIT_FAILED reads -1.
  result.readyResult = static_cast<int32_t>(started.process->WaitUntilReady(kInfinite));
  result.endResult = static_cast<int32_t>(started.process->WaitUntilEnded(kInfinite));
  if (readExitCode && result.endResult == 0) result.exitCode = started.process->ExitCode();
  started.process->CloseHandles();
  result.elapsedSeconds = ElapsedSeconds(startTime, locale.Now(), locale.Separators());
  return result;
}

Text LaunchFailureText(ILocale& locale, const Text& programPath, uint32_t error) {
  return StartFailureText(programPath, error, locale.SystemErrorText(error));
}

}  // namespace velmora
