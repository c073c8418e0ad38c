// Windows version and membership of the built-in Administrators group.
#pragma once

#include <cstdint>

namespace velmora::platform {

// What GetVersionExW reports for a wide version record whose size field is 276.
struct VersionReport {
  bool ok = false;
  uint32_t platformId = 0;
  uint32_t majorVersion = 0;
  uint32_t minorVersion = 0;
};

// How the test of the caller's token for S-1-5-32-544 went.
enum class AdminMembership {
  SidFailed,    // AllocateAndInitializeSid failed
  CheckFailed,  // CheckTokenMembership failed
  Member,
  NotMember,
};

class ISystemInfo {
 public:
  virtual ~ISystemInfo() = default;
  virtual VersionReport Version() = 0;
  // Builds the Administrators SID, tests the effective token with CheckTokenMembership and
  // frees the SID in every case.
  virtual AdminMembership AdministratorsMembership() = 0;
};

}  // namespace velmora::platform
