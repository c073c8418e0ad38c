#include "platform/memory/MemoryFileVersion.h"

namespace velmora::platform {

std::optional<uint32_t> MemoryFileVersion::MajorVersion(const Text& path) {
  ++reads_;
  auto it = majors_.find(UpperAscii(path));
  if (it == majors_.end()) return std::nullopt;
  return it->second;
}

void MemoryFileVersion::SetMajorVersion(const Text& path, uint32_t major) {
  majors_[UpperAscii(path)] = major;
}

}  // namespace velmora::platform
