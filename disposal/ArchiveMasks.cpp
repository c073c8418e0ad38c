#include "disposal/ArchiveMasks.h"

#include "disposal/ArchivePreferences.h"

#include <exception>

#include "request/ParameterFile.h"
#include "support/FileMask.h"
#include "support/Iterator.h"
#include "support/PatternMatcher.h"
#include "support/SystemUtils.h"

namespace velmora {

Text GetArchiveMasks(platform::Platform& platform, const Text& program) {
  try {
    Text path = ArchivePreferencesFile(platform, program);
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

bool IsArchiveFile(platform::Platform& platform, const Text& fileName, const Text& program) {
  for (const Text& mask : TStringEnumerator::Iterate(GetArchiveMasks(platform, program), u";", 1))
    if (MatchFileMask(fileName, mask)) return true;
  return false;
}

bool NeedsHelper(platform::Platform& platform, bool isBC3, const Text& fileName,
                 const Text& program) {
  return isBC3 && IsArchiveFile(platform, fileName, program);
}

}  // namespace velmora
