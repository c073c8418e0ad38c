// Environment variables and the user's temporary directory, with the Win32 sizing protocol.
#pragma once

#include <cstdint>

#include "support/Text.h"

namespace velmora::platform {

class IEnvironment {
 public:
  virtual ~IEnvironment() = default;
  // ExpandEnvironmentStringsW: the characters needed or stored, terminating NUL included;
  // 0 on failure. With `size` too small nothing is stored.
  virtual uint32_t ExpandStrings(const Text& source, char16_t* buffer, uint32_t size) = 0;
  // GetTempPathW: with a buffer too small (or none), the size needed including the NUL;
  // otherwise the characters stored without the NUL. The path ends with a backslash.
  virtual uint32_t TempPath(uint32_t size, char16_t* buffer) = 0;
};

}  // namespace velmora::platform
