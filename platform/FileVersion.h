// The version resource of a program file.
#pragma once

#include <cstdint>
#include <optional>

#include "support/Text.h"

namespace velmora::platform {

class IFileVersion {
 public:
  virtual ~IFileVersion() = default;
  // The major part of the file version in the file's fixed version information; none when the
  // file has no version resource or cannot be read.
  virtual std::optional<uint32_t> MajorVersion(const Text& path) = 0;
};

}  // namespace velmora::platform
