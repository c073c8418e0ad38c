// Windows registry: keys opened or created under a hive, typed values queried and set.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "support/Text.h"

namespace velmora::platform {

enum class Hive { CurrentUser, LocalMachine, ClassesRoot };

// Which view of the machine-wide hive a key is opened in: the program's own, the one a 32-bit
// program sees (KEY_WOW64_32KEY), or the one a 64-bit program sees (KEY_WOW64_64KEY).
enum class RegistryView { Native, Wow32, Wow64 };

inline constexpr uint32_t kKeyRead = 0x20019;
inline constexpr uint32_t kKeyAllAccess = 0xF003F;

inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;
inline constexpr uint32_t kRegQword = 11;

// Outcome of RegQueryValueExW with a buffer of a given size.
struct RegistryQuery {
  enum class Status { Ok, NotFound, MoreData, Failed };
  Status status = Status::NotFound;
  uint32_t type = kRegNone;
  uint32_t size = 0;          // the value's full data size in bytes
  std::vector<uint8_t> data;  // filled only with status Ok
};

class IRegistryKey {
 public:
  virtual ~IRegistryKey() = default;
  // Queries a value with room for at most `maxBytes` bytes of data.
  virtual RegistryQuery Query(const Text& name, uint32_t maxBytes) = 0;
  // Returns 0 on success, else the system's error code.
  virtual uint32_t Set(const Text& name, uint32_t type, const std::vector<uint8_t>& data) = 0;
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // Opens an existing key; null when it cannot be opened with that access.
  virtual std::unique_ptr<IRegistryKey> Open(Hive hive, const Text& path, uint32_t access,
                                             RegistryView view) = 0;
  // Opens a key, creating it and any missing parents (non-volatile); null on failure.
  virtual std::unique_ptr<IRegistryKey> Create(Hive hive, const Text& path, uint32_t access,
                                               RegistryView view) = 0;
};

}  // namespace velmora::platform
