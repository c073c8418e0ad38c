// Environment variables and the temporary directory through the Win32 API.
#pragma once

#include "platform/Environment.h"

namespace velmora::platform {

class Win32Environment : public IEnvironment {
 public:
  uint32_t ExpandStrings(const Text& source, char16_t* buffer, uint32_t size) override;
  uint32_t TempPath(uint32_t size, char16_t* buffer) override;
};

}  // namespace velmora::platform
