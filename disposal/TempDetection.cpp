#include "disposal/TempDetection.h"

#include "support/PathNormal.h"
#include "support/SystemUtils.h"

namespace velmora {

bool IsInTempDir(platform::Platform& platform, const Text& fileName) {
  Text tempDir = GetTempDir(platform.environment);
  if (tempDir.empty()) return false;
  // Judged on the place the names lead to, so that "..", "/" and "\\?\" cannot fool the test.
  Text temp =
      UpperAscii(ShortPathName(platform.files, NormalisedFullPath(platform.files, tempDir)));
  Text directory = UpperAscii(
      ShortPathName(platform.files, DirectoryOf(NormalisedFullPath(platform.files, fileName))));
  return !temp.empty() && StartsWith(directory, temp);
}

}  // namespace velmora
