#include "disposal/ArchiveMasks.h"

#include <exception>

#include "request/ParameterFile.h"
#include "support/FileMask.h"
#include "support/Iterator.h"
#include "support/PatternMatcher.h"
#include "support/SystemUtils.h"

namespace velmora {

Text GetArchiveMasks(platform::Platform& platform) {
  try {
    Text path = ExpandEnvStr(platform.environment, kPreferencesFile);
    Text text = ReadTextLines(platform.files, platform.locale, path).Joined(u"\r\n");
    TPatternMatcher zip;
    // Case-sensitive, "." stops at line breaks, the group takes as little as it can.
    zip.ModifierString(u"-SIRGMX");
    zip.Pattern(u"<Zip Value=\"(.*)\"/>");
    if (zip.Search(text)) return zip.GroupText(1);
  } catch (const std::exception&) {
    // Preferences that cannot be read leave the default list.
  }
  return kDefaultArchiveMasks;
}

bool IsArchiveFile(platform::Platform& platform, const Text& fileName) {
  for (const Text& mask : TStringEnumerator::Iterate(GetArchiveMasks(platform), u";", 1))
    if (MatchFileMask(fileName, mask)) return true;
  return false;
}

bool NeedsHelper(platform::Platform& platform, bool isBC3, const Text& fileName) {
  return isBC3 && IsArchiveFile(platform, fileName);
}

}  // namespace velmora
