// Which comparison copies Beyond Compare 3 opens as archives and so keeps open after the
// comparison: those matching the archive masks of its preferences.
#pragma once

#include "platform/Platform.h"
#include "support/Text.h"

namespace velmora {

inline constexpr char16_t kPreferencesFile[] =
    u"%APPDATA%\\Scooter Software\\Beyond Compare 3\\BCPreferences.xml";
inline constexpr char16_t kDefaultArchiveMasks[] = u"*.zip;*.jar;*.ear;*.war;*.bcpkg";

// The ";"-separated masks of the first <Zip Value="..."/> element on one line of the
// preferences file of the comparison program `program` (ArchivePreferencesFile; Beyond
// Compare 3's file when `program` is empty), read afresh; the default list when the file or
// the element cannot be read. Never raises.
Text GetArchiveMasks(platform::Platform& platform, const Text& program = Text());

// True when the full path matches one of the masks. An invalid mask raises EVelmora.
bool IsArchiveFile(platform::Platform& platform, const Text& fileName,
                   const Text& program = Text());

// True when the comparison program is Beyond Compare's launcher BComp.exe and the file is an
// archive; the preferences (and the program's version) are read only for the launcher.
bool NeedsHelper(platform::Platform& platform, bool isBC3, const Text& fileName,
                 const Text& program = Text());

}  // namespace velmora
