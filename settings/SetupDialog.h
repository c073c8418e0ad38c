// The setup dialog as the start-up code sees it.
#pragma once

#include "support/Text.h"

namespace velmora {

class ISetupDialog {
 public:
  virtual ~ISetupDialog() = default;
  // Shows the dialog modally with the given program path; true when it was closed with OK.
  virtual bool Execute(const Text& bc2Path) = 0;
};

}  // namespace velmora
