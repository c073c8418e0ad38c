// The application-wide error display.
#pragma once

#include "platform/Platform.h"
#include "support/Text.h"

namespace velmora {

// A message box with the message and its period rule, the error icon, one OK button and the
// application title as caption.
void ShowApplicationError(platform::Platform& platform, const Text& message);

}  // namespace velmora
