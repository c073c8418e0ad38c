#include "launch/BeyondCompareRun.h"

#include "disposal/DisposeFile.h"
#include "disposal/TempDetection.h"
#include "launch/CommandLine.h"
#include "launch/LauncherExitCode.h"
#include "launch/ProcessLaunch.h"
#include "request/ParameterFile.h"
#include "request/SideAssignment.h"
#include "support/Errors.h"
#include "support/Format.h"

namespace velmora {
namespace {

// What follows an error's text: after an empty line, every file that stays under the name
// Velmora gave it, one a line.
Text FilesNotMovedBack(const std::vector<Text>& lines) {
  Text text = u"\r\n";
  for (const Text& line : lines) text += u"\r\n" + line;
  return text;
}

}  // namespace

Text NotMovedBackLine(platform::ILocale& locale, const MoveJournal::Refused& refused) {
  return Format(
      u"Cannot move file \"%s\" back to \"%s\". %s",
      {refused.move.to, refused.move.from, TrimSystemText(locale.SystemErrorText(refused.error))});
}

void BeyondCompareRun::Run(const Text& bc2Path, const Text& parameterFile, bool isBC3) {
  RunState state;
  // PVCS finds its files under its own names again before the error is shown; a file that
  // cannot go back is named in the error.
  try {
    Serve(bc2Path, parameterFile, isBC3, state);
  } catch (const EVelmora& error) {
    std::vector<Text> notMovedBack = PutFilesBack(state);
    if (notMovedBack.empty()) throw;
    throw EVelmora(ErrorDisplayText(error.Message()) + FilesNotMovedBack(notMovedBack),
                   error.Kind());
  } catch (const std::exception& error) {
    std::vector<Text> notMovedBack = PutFilesBack(state);
    if (notMovedBack.empty()) throw;
    throw EVelmora(ErrorDisplayText(FromUtf8(error.what())) + FilesNotMovedBack(notMovedBack));
  } catch (...) {
    PutFilesBack(state);
    throw;
  }
}

void BeyondCompareRun::Serve(const Text& bc2Path, const Text& parameterFile, bool isBC3,
                             RunState& state) {
  platform::Platform& p = platform_;
  // The log is written after the copies are made: no copy may take its name.
  state.logPath = RunLogPath(parameterFile);
  ComparisonSides sides =
      AssignSides(p, parameterFile, isBC3, {state.logPath}, &state.moves, bc2Path);
  const TFileInfo& left = sides.LeftInfo;
  const TFileInfo& right = sides.RightInfo;
  Text commandLine = BuildCommandLine(bc2Path, left, right, sides.BC_Args);

  // The first log is on disk before the start, so a failed start still leaves one.
  RunLog& log = state.log;
  log = AssembleRunLog(ReadTextLines(p.files, p.locale, parameterFile).ToVector(), left, right,
                       commandLine);
  SaveRunLog(p.files, p.locale, p.clock, state.logPath, log);
  state.logSaved = true;

  // Only BComp.exe's exit code is read: it tells when the launcher refused the comparison.
  LaunchResult launched = LaunchAndWait(p.processes, p.locale, commandLine, isBC3);
  if (!launched.started) {
    // The first log is the final one; the copies go back before the error is shown.
    std::vector<Text> notMovedBack = PutFilesBack(state);
    Text text = LaunchFailureText(p.locale, bc2Path, launched.error);
    if (!notMovedBack.empty()) text += FilesNotMovedBack(notMovedBack);
    p.dialogs.ErrorDialog(text);
    return;
  }
  log.push_back(TimingLine(launched.elapsedSeconds, launched.readyResult, launched.endResult));
  if (launched.exitCode) {
    if (auto refused = LauncherExitCodeLine(*launched.exitCode)) log.push_back(*refused);
  }
  auto inTempDir = [&p](const Text& fileName) { return IsInTempDir(p, fileName); };
  // Each disposition takes its side's file over from the journal.
  state.moves.Forget(left.FileForBC);
  log.push_back(DisposeFile(p.files, p.com, left, inTempDir));
  state.moves.Forget(right.FileForBC);
  log.push_back(DisposeFile(p.files, p.com, right, inTempDir));
  SaveRunLog(p.files, p.locale, p.clock, state.logPath, log);
}

std::vector<Text> BeyondCompareRun::PutFilesBack(RunState& state) {
  std::vector<Text> lines;
  for (const MoveJournal::Refused& refused : state.moves.Undo(platform_.files))
    lines.push_back(NotMovedBackLine(platform_.locale, refused));
  if (lines.empty() || !state.logSaved) return lines;
  state.log.insert(state.log.end(), lines.begin(), lines.end());
  try {
    SaveRunLog(platform_.files, platform_.locale, platform_.clock, state.logPath, state.log);
  } catch (const EVelmora&) {
    // The error shown names the files all the same.
  }
  return lines;
}

}  // namespace velmora
