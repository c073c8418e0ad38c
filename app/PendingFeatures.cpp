#include "app/PendingFeatures.h"

#include "support/Errors.h"

namespace velmora {

bool SetupDialogNotAvailable::Execute(const Text&) {
  throw EVelmora(u"The setup dialog is not available in this version of Velmora");
}

}  // namespace velmora
