// What the exit code of Beyond Compare's launcher BComp.exe says. Codes 0 to 99 are results of
// the comparison; from 100 on, BComp.exe reports that it could not do what it was asked.
#pragma once

#include <cstdint>
#include <optional>

#include "support/Text.h"

namespace velmora {

// "BComp.exe returned exit code <code> - <meaning>" for a code of 100 or more; none below.
std::optional<Text> LauncherExitCodeLine(uint32_t exitCode);

}  // namespace velmora
