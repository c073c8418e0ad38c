#include "disposal/ArchivePreferences.h"

#include "disposal/ArchiveMasks.h"
#include "support/FileExists.h"
#include "support/SystemUtils.h"

namespace velmora {

Text ArchivePreferencesFile(platform::Platform& platform, const Text& program) {
  if (!program.empty()) {
    // Anything after the last "\", "/" or ":" is the file name.
    Text folder = program.substr(0, program.find_last_of(u"\\/:") + 1);
    if (FileExists(platform.files, folder + u"BCState.xml")) return folder + u"BCPreferences.xml";
    std::optional<uint32_t> major = platform.versions.MajorVersion(program);
    if (major && *major >= 4) {
      return ExpandEnvStr(platform.environment, u"%APPDATA%\\Scooter Software\\Beyond Compare " +
                                                    ToDecimal(*major) + u"\\BCPreferences.xml");
    }
  }
  return ExpandEnvStr(platform.environment, kPreferencesFile);
}

}  // namespace velmora
