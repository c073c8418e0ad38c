// The Beyond Compare run for one request, once its entry conditions have held: the sides, the
// command line, the first log, the start and the waits, the dispositions and the final log.
#pragma once

#include <vector>

#include "launch/ComparisonRun.h"
#include "launch/RunLog.h"
#include "platform/Platform.h"
#include "request/MoveJournal.h"

namespace velmora {

// "Cannot move file "<copy>" back to "<PVCS name>". <reason>": a file that stays under the name
// Velmora gave it after a run that failed.
Text NotMovedBackLine(platform::ILocale& locale, const MoveJournal::Refused& refused);

class BeyondCompareRun : public IComparisonRun {
 public:
  explicit BeyondCompareRun(platform::Platform& platform) : platform_(platform) {}
  // A run that fails, or whose comparison program cannot be started, first moves every file it
  // has moved back to its name. A file that cannot go back is named, with its current name, in
  // the error shown and, once the run has saved its log, in the log too.
  void Run(const Text& bc2Path, const Text& parameterFile, bool isBC3) override;

 private:
  struct RunState {
    MoveJournal moves;
    Text logPath;
    RunLog log;
    bool logSaved = false;  // the log on disk is this run's
  };
  void Serve(const Text& bc2Path, const Text& parameterFile, bool isBC3, RunState& state);
  // Undoes the journal's moves; one line for each file that stays under Velmora's name, also
  // added to the log when there is one.
  std::vector<Text> PutFilesBack(RunState& state);

  platform::Platform& platform_;
};

}  // namespace velmora
