// The application title.
#pragma once

#include "support/Text.h"

namespace velmora {

// The program file's name without directory, cut at its first period, every letter after the
// first in lower case: C:\Tools\VELMORA.EXE gives Velmora.
Text ApplicationTitle(TextView modulePath);

}  // namespace velmora
