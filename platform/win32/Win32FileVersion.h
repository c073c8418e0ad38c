// Version resources read through the system's version library.
#pragma once

#include "platform/FileVersion.h"

namespace velmora::platform {

class Win32FileVersion : public IFileVersion {
 public:
  std::optional<uint32_t> MajorVersion(const Text& path) override;
};

}  // namespace velmora::platform
