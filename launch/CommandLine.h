// The comparison program's command line: program, both files, both titles, the read-only
// switches and the user's extra arguments.
#pragma once

#include "request/FileInfo.h"
#include "support/Text.h"

namespace velmora {

// "/lro" for a read-only left side, else empty.
Text LeftReadOnlySwitch(const TFileInfo& left);
// "/rro" for a read-only right side, else empty.
Text RightReadOnlySwitch(const TFileInfo& right);

// A caption or version as it may stand inside a quoted title: each double quote becomes an
// apostrophe, so that the text cannot close the title and add switches of its own.
Text TitleSafe(TextView text);

// The template "%s" "%s" "%s" /title1="%s%s" /title2="%s%s" %s %s %s filled with the program
// path, both files, both titles and versions, both switches and `bcArgs`, then trimmed of
// characters up to 32 at both ends. Both files are made TitleSafe too; the program path and
// `bcArgs` go in as they are.
Text BuildCommandLine(const Text& programPath, const TFileInfo& left, const TFileInfo& right,
                      const Text& bcArgs);

}  // namespace velmora
