// Windows version and Administrators membership through the Win32 API.
#pragma once

#include "platform/SystemInfo.h"

namespace velmora::platform {

class Win32SystemInfo : public ISystemInfo {
 public:
  VersionReport Version() override;
  AdminMembership AdministratorsMembership() override;
};

}  // namespace velmora::platform
