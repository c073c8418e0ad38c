// Stand-in for the setup dialog while this build has none. It says so plainly instead of
// pretending: the message reaches the user like any error.
#pragma once

#include "settings/SetupDialog.h"

namespace velmora {

class SetupDialogNotAvailable : public ISetupDialog {
 public:
  bool Execute(const Text& bc2Path) override;
};

}  // namespace velmora
