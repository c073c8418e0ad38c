// Shell execution (ShellExecuteW).
#pragma once

#include <cstdint>

#include "support/Text.h"

namespace velmora::platform {

struct ShellResult {
  intptr_t instance = 0;  // 32 or less means failure
  uint32_t lastError = 0;
};

class IShell {
 public:
  virtual ~IShell() = default;
  // No owner window; "runas" asks the user for elevation.
  virtual ShellResult Execute(const Text& operation, const Text& file, const Text& parameters,
                              const Text& directory, int showCommand) = 0;
};

}  // namespace velmora::platform
