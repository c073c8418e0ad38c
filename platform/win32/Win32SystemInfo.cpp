#include "platform/win32/Win32SystemInfo.h"

#include <windows.h>

namespace velmora::platform {

static_assert(sizeof(OSVERSIONINFOW) == 276, "the wide version record is 276 bytes");

VersionReport Win32SystemInfo::Version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  VersionReport report;
  report.ok = GetVersionExW(&info) != FALSE;
  if (report.ok) {
    report.platformId = info.dwPlatformId;
    report.majorVersion = info.dwMajorVersion;
    report.minorVersion = info.dwMinorVersion;
  }
  return report;
}

AdminMembership Win32SystemInfo::AdministratorsMembership() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators))
    return AdminMembership::SidFailed;
  BOOL member = FALSE;
  // No token: the caller's effective token is tested.
  BOOL checked = CheckTokenMembership(nullptr, administrators, &member);
  FreeSid(administrators);
  if (!checked) return AdminMembership::CheckFailed;
  return member ? AdminMembership::Member : AdminMembership::NotMember;
}

}  // namespace velmora::platform
