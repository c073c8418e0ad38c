#include "platform/memory/MemorySystemInfo.h"

namespace velmora::platform {

MemorySystemInfo::MemorySystemInfo() : version_{true, 2, 10, 0} {}

VersionReport MemorySystemInfo::Version() {
  ++versionCalls_;
  return version_;
}

AdminMembership MemorySystemInfo::AdministratorsMembership() {
  ++membershipCalls_;
  return membership_;
}

}  // namespace velmora::platform
