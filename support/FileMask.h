// File-name masks with "*", "?" and character sets, as archive mask lists use them.
#pragma once

#include "support/Text.h"

namespace velmora {

// True when the mask covers the whole text. Letters a to z match either case; sets hold
// characters up to U+00FF. Raises EVelmora "'%s' is an invalid mask at (%d)" for a malformed
// mask, with the 1-based position where the fault was found.
bool MatchFileMask(TextView text, TextView mask);

}  // namespace velmora
