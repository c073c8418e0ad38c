#include "disposal/TempDetection.h"

#include "support/SystemUtils.h"

namespace velmora {

bool IsInTempDir(platform::Platform& platform, const Text& fileName) {
  Text temp = UpperAscii(ShortPathName(platform.files, GetTempDir(platform.environment)));
  Text directory = UpperAscii(ShortPathName(platform.files, DirectoryOf(fileName)));
  return !temp.empty() && StartsWith(directory, temp);
}

}  // namespace velmora
