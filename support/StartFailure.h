// The message shown when a child program cannot be started.
#pragma once

#include <cstdint>

#include "support/Text.h"

namespace velmora {

// "Failed to start "<program>". System error message was:", two CRs, then the system error
// message for `code` built from `systemText`.
Text StartFailureText(const Text& program, uint32_t code, TextView systemText);

}  // namespace velmora
