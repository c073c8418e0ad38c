// How long the comparison program ran, by the local clock, as the log shows it.
#pragma once

#include <cstdint>

#include "platform/Locale.h"
#include "support/Text.h"

namespace velmora {

// The absolute difference of two local times in milliseconds. Absolute, because a clock set
// back during the run must still give a positive duration.
int64_t ElapsedMilliseconds(const platform::LocalTime& start, const platform::LocalTime& end);

// Milliseconds as seconds in the pattern ",0.000": at least one integer digit, digits grouped
// by thousands, exactly three decimals, with the user's separators.
Text FormatSeconds(int64_t milliseconds, platform::NumberSeparators separators);

// Both steps together.
Text ElapsedSeconds(const platform::LocalTime& start, const platform::LocalTime& end,
                    platform::NumberSeparators separators);

}  // namespace velmora
