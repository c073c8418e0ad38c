#include "support/ErrorDisplay.h"

#include "support/ApplicationTitle.h"
#include "support/Errors.h"

namespace velmora {

void ShowApplicationError(platform::Platform& platform, const Text& message) {
  platform.dialogs.ErrorBox(ApplicationTitle(platform.self.ModulePath()),
                            ErrorDisplayText(message));
}

}  // namespace velmora
