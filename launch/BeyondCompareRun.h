// The Beyond Compare run for one request, once its entry conditions have held: the sides, the
// command line, the first log, the start and the waits, the dispositions and the final log.
#pragma once

#include "launch/ComparisonRun.h"
#include "platform/Platform.h"
#include "request/MoveJournal.h"

namespace velmora {

class BeyondCompareRun : public IComparisonRun {
 public:
  explicit BeyondCompareRun(platform::Platform& platform) : platform_(platform) {}
  // A run that fails, or whose comparison program cannot be started, first moves every file it
  // has moved back to its name.
  void Run(const Text& bc2Path, const Text& parameterFile, bool isBC3) override;

 private:
  void Serve(const Text& bc2Path, const Text& parameterFile, bool isBC3, MoveJournal& moves);

  platform::Platform& platform_;
};

}  // namespace velmora
