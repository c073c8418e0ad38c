// In-memory Windows version and Administrators membership; counts calls so tests can tell
// what was asked.
#pragma once

#include "platform/SystemInfo.h"

namespace velmora::platform {

class MemorySystemInfo : public ISystemInfo {
 public:
  // Reports Windows 10 (NT platform) and a user who is not an administrator.
  MemorySystemInfo();

  // ISystemInfo
  VersionReport Version() override;
  AdminMembership AdministratorsMembership() override;

  // Setup.
  void SetVersion(const VersionReport& report) { version_ = report; }
  void SetMembership(AdminMembership membership) { membership_ = membership; }

  // Inspection.
  int VersionCalls() const { return versionCalls_; }
  int MembershipCalls() const { return membershipCalls_; }

 private:
  VersionReport version_;
  AdminMembership membership_ = AdminMembership::NotMember;
  int versionCalls_ = 0;
  int membershipCalls_ = 0;
};

}  // namespace velmora::platform
