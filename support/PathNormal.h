// The place a file name leads to, whatever way it is written: relative, with "." and "..",
// with forward slashes or with the "\\?\" prefix.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "support/Text.h"

namespace velmora {

// The name without a "\\?\" prefix ("\\?\UNC\server\share" becomes "\\server\share"), with
// forward slashes turned into backslashes, made full by GetFullPathNameW: the current folder
// for a relative name, "." and ".." resolved. The name as given stays what the log shows.
Text NormalisedFullPath(platform::IFileSystem& files, const Text& path);

// Whether two names lead to the same file: their normalised full paths have the same folder in
// short (8.3) form, letters a to z folded, and file names equal without regard to case. The
// files need not exist.
bool SameFileName(platform::IFileSystem& files, platform::ILocale& locale, const Text& a,
                  const Text& b);

}  // namespace velmora
