// The running process's own command line and program file.
#pragma once

#include "support/Text.h"

namespace velmora::platform {

class IProcessInfo {
 public:
  virtual ~IProcessInfo() = default;
  // The complete command line exactly as the process received it.
  virtual Text CommandLine() = 0;
  // The running module's full file path (at most 261 characters).
  virtual Text ModulePath() = 0;
};

}  // namespace velmora::platform
