// The application title and the text of the application-wide error display.
#pragma once

#include "support/Text.h"

namespace velmora {

// The program file's name without directory, cut at its first period, every letter after the
// first in lower case: C:\Tools\VELMORA.EXE gives Velmora.
Text ApplicationTitle(TextView modulePath);

// The error's message with a period appended unless it is empty or ends in a character whose
// code is that of the period or lower.
Text ErrorDisplayText(TextView message);

}  // namespace velmora
