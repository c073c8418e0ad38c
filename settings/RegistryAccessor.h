// One registry accessor for one operation: a root hive, at most one open key, typed reads and
// writes that raise the system's messages. The open key is closed when the accessor goes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Registry.h"

namespace velmora {

// A string value's bytes (UTF-16 little-endian) as text, up to the first NUL.
Text RegistryStringText(const std::vector<uint8_t>& data);

class RegistryAccessor {
 public:
  RegistryAccessor(platform::IRegistry& registry, uint32_t access);

  // Machine-wide keys are read in the view a 32-bit program sees, so that 32-bit installations
  // of the comparison programs are found as they would be by a 32-bit build.
  void SetRoot(platform::Hive hive);
  // The same with the view named, for keys that live in one view whatever this build is.
  void SetRoot(platform::Hive hive, platform::RegistryView view);
  platform::Hive Root() const { return root_; }

  // Opens `path` from the root of the hive, closing any key open before. With `canCreate` the
  // key and missing parents are created. False when it cannot be opened.
  bool OpenKey(const Text& path, bool canCreate);
  void CloseKey() { key_.reset(); }
  bool HasOpenKey() const { return key_ != nullptr; }

  // True when the open key holds a value of that name, whatever its type.
  bool ValueExists(const Text& name);
  // REG_SZ or REG_EXPAND_SZ (not expanded), up to the first NUL. A missing value, no open key
  // or a value without data reads as the empty text.
  Text ReadString(const Text& name);
  // At most 4 bytes of REG_DWORD; any number other than 0 is true.
  bool ReadBool(const Text& name);
  void WriteString(const Text& name, const Text& value);
  void WriteBool(const Text& name, bool value);

 private:
  platform::IRegistry& registry_;
  uint32_t access_;
  platform::Hive root_ = platform::Hive::CurrentUser;
  platform::RegistryView view_ = platform::RegistryView::Native;
  std::unique_ptr<platform::IRegistryKey> key_;
};

}  // namespace velmora
