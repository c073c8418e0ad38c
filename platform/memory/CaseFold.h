// Simple case folding for the in-memory platform: the upper-case form Windows compares names
// and locale texts by, for ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters.
#pragma once

#include "support/Text.h"

namespace velmora::platform {

char16_t FoldCase(char16_t c);
Text FoldCase(TextView text);

}  // namespace velmora::platform
