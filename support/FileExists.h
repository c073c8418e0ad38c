// The existence test for files: present and not a directory.
#pragma once

#include "platform/FileSystem.h"
#include "support/Text.h"

namespace velmora {

// True when the attributes show an entry that is not a directory. When they cannot be read
// for another reason than a missing file or folder or an invalid name (a locked file, denied
// access), a directory search decides. Relative paths follow the current directory. Never
// raises; a path that cannot be confirmed counts as absent.
bool FileExists(platform::IFileSystem& files, const Text& path);

}  // namespace velmora
