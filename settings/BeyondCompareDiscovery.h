// Beyond Compare as it is installed today: versions 3 to 5, per user or for the machine, 64-bit
// or 32-bit, and its command-line launcher in place of its main program.
#pragma once

#include "platform/Platform.h"
#include "support/Text.h"

namespace velmora {

// BComp.exe beside `program` when `program` is Beyond Compare's main program BCompare.exe
// (letters a to z folded) and that file exists; else `program` unchanged. BCompare.exe hands
// a comparison to a copy already running and returns at once; BComp.exe waits until the
// comparison is closed.
Text PreferCommandLineLauncher(platform::IFileSystem& files, const Text& program);

// The first existing file among: ExePath under "Software\Scooter Software\Beyond Compare 5",
// then 4, then 3, each per user, then for the machine in the 64-bit view, then in the 32-bit
// view; then BComp.exe in the folders "Beyond Compare 5", 4 and 3 of the 64-bit Program Files
// folder, then of the 32-bit one. The launcher is preferred as above. Empty when none is
// found. Never raises: a value of the wrong type counts as missing.
Text DiscoverInstalledBeyondCompare(platform::Platform& platform);

// The comparison program: the settings store's resolution (ResolveBC2Path); when that finds
// nothing, the installed Beyond Compare; in both cases with the launcher preferred.
Text ResolveComparisonProgram(platform::Platform& platform);

}  // namespace velmora
