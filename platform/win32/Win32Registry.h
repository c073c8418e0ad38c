// The Windows registry through RegOpenKeyExW, RegCreateKeyExW, RegQueryValueExW and
// RegSetValueExW.
#pragma once

#include "platform/Registry.h"

namespace velmora::platform {

class Win32Registry : public IRegistry {
 public:
  std::unique_ptr<IRegistryKey> Open(Hive hive, const Text& path, uint32_t access,
                                     RegistryView view) override;
  std::unique_ptr<IRegistryKey> Create(Hive hive, const Text& path, uint32_t access,
                                       RegistryView view) override;
};

}  // namespace velmora::platform
