#include "launch/BeyondCompareRun.h"

#include "disposal/DisposeFile.h"
#include "disposal/TempDetection.h"
#include "launch/CommandLine.h"
#include "launch/ProcessLaunch.h"
#include "launch/RunLog.h"
#include "request/ParameterFile.h"
#include "request/SideAssignment.h"

namespace velmora {

void BeyondCompareRun::Run(const Text& bc2Path, const Text& parameterFile, bool isBC3) {
  platform::Platform& p = platform_;
  ComparisonSides sides = AssignSides(p, parameterFile, isBC3);
  const TFileInfo& left = sides.LeftInfo;
  const TFileInfo& right = sides.RightInfo;
  Text commandLine = BuildCommandLine(bc2Path, left, right, sides.BC_Args);

  // The first log is on disk before the start, so a failed start still leaves one.
  Text logPath = RunLogPath(parameterFile);
  RunLog log = AssembleRunLog(ReadTextLines(p.files, p.locale, parameterFile).ToVector(), left,
                              right, commandLine);
  SaveRunLog(p.files, p.locale, logPath, log);

  LaunchResult launched = LaunchAndWait(p.processes, p.locale, commandLine);
  if (!launched.started) {
    // The comparison copies stay as they are; the first log is the final one.
    p.dialogs.ErrorDialog(LaunchFailureText(p.locale, bc2Path, launched.error));
    return;
  }
  log.push_back(TimingLine(launched.elapsedSeconds, launched.readyResult, launched.endResult));
  auto inTempDir = [&p](const Text& fileName) { return IsInTempDir(p, fileName); };
  log.push_back(DisposeFile(p.files, p.com, left, inTempDir));
  log.push_back(DisposeFile(p.files, p.com, right, inTempDir));
  SaveRunLog(p.files, p.locale, logPath, log);
}

}  // namespace velmora
