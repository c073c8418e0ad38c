#include "support/FileExists.h"

#include "platform/ErrorCodes.h"

namespace velmora {

bool FileExists(platform::IFileSystem& files, const Text& path) {
  using namespace platform;
  if (path.empty()) return false;
  uint32_t error = 0;
  uint32_t attributes = files.Attributes(path, &error);
  if (attributes != kInvalidFileAttributes) return (attributes & kAttrDirectory) == 0;
  if (error == kErrorFileNotFound || error == kErrorPathNotFound || error == kErrorInvalidName) {
    return false;
  }
  auto found = files.FindFirst(path);
  return found && (found->attributes & kAttrDirectory) == 0;
}

}  // namespace velmora
