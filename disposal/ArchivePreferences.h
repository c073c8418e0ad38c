// Which preferences file holds the archive masks of the Beyond Compare that runs.
#pragma once

#include "platform/Platform.h"
#include "support/Text.h"

namespace velmora {

// For the comparison program `program`: BCPreferences.xml in the program's own folder when
// BCState.xml lies there (a portable install); else, when the program's version resource gives
// a major version N of 4 or more, BCPreferences.xml in "%APPDATA%\Scooter Software\Beyond
// Compare N"; else (version 3, no version resource, an empty `program`) Beyond Compare 3's
// file. Environment references are expanded. Never raises.
Text ArchivePreferencesFile(platform::Platform& platform, const Text& program);

}  // namespace velmora
