// Stand-ins for the setup dialog and the Beyond Compare run while this build has neither.
// They say so plainly instead of pretending: the message reaches the user like any error.
#pragma once

#include "launch/ComparisonRun.h"
#include "settings/SetupDialog.h"

namespace velmora {

class SetupDialogNotAvailable : public ISetupDialog {
 public:
  bool Execute(const Text& bc2Path) override;
};

class ComparisonRunNotAvailable : public IComparisonRun {
 public:
  void Run(const Text& bc2Path, const Text& parameterFile, bool isBC3) override;
};

}  // namespace velmora
