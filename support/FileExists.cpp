#include "support/FileExists.h"

#include "platform/ErrorCodes.h"

namespace velmora {

bool FileExists(platform::IFileSystem& files, const Text& path) {
  if (path.empty()) return false;
  uint32_t error = 0;
  uint32_t attributes = files.Attributes(path, &error);
  if (attributes != platform::kInvalidFileAttributes)
    return (attributes & platform::kAttrDirectory) == 0;
  if (error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound ||
      error == platform::kErrorInvalidName)
    return false;
  // A search treats * and ? as wildcards and would confirm some other file.
  if (path.find_first_of(u"*?") != Text::npos) return false;
  auto entry = files.FindFirst(path);
  return entry && (entry->attributes & platform::kAttrDirectory) == 0;
}

}  // namespace velmora
