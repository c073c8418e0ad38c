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
  MoveJournal moves;
  try {
    Serve(bc2Path, parameterFile, isBC3, moves);
  } catch (...) {
    // PVCS finds its files under its own names again before the error is shown.
    moves.Undo(platform_.files);
    throw;
  }
}

void BeyondCompareRun::Serve(const Text& bc2Path, const Text& parameterFile, bool isBC3,
                             MoveJournal& moves) {
  platform::Platform& p = platform_;
  // The log is written after the copies are made: no copy may take its name.
  Text logPath = RunLogPath(parameterFile);
  ComparisonSides sides = AssignSides(p, parameterFile, isBC3, {logPath}, &moves);
  const TFileInfo& left = sides.LeftInfo;
  const TFileInfo& right = sides.RightInfo;
  Text commandLine = BuildCommandLine(bc2Path, left, right, sides.BC_Args);

  // The first log is on disk before the start, so a failed start still leaves one.
  RunLog log = AssembleRunLog(ReadTextLines(p.files, p.locale, parameterFile).ToVector(), left,
                              right, commandLine);
  SaveRunLog(p.files, p.locale, p.clock, logPath, log);

  LaunchResult launched = LaunchAndWait(p.processes, p.locale, commandLine);
  if (!launched.started) {
    // The first log is the final one; the copies go back before the error is shown.
    moves.Undo(p.files);
    p.dialogs.ErrorDialog(LaunchFailureText(p.locale, bc2Path, launched.error));
    return;
  }
  log.push_back(TimingLine(launched.elapsedSeconds, launched.readyResult, launched.endResult));
  auto inTempDir = [&p](const Text& fileName) { return IsInTempDir(p, fileName); };
  // Each disposition takes its side's file over from the journal.
  moves.Forget(left.FileForBC);
  log.push_back(DisposeFile(p.files, p.com, left, inTempDir));
  moves.Forget(right.FileForBC);
  log.push_back(DisposeFile(p.files, p.com, right, inTempDir));
  SaveRunLog(p.files, p.locale, p.clock, logPath, log);
}

}  // namespace velmora
