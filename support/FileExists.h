// Whether a path names an existing file (not a directory).
#pragma once

#include "platform/FileSystem.h"

namespace velmora {

// Present and not a directory. When the attributes cannot be read for another reason than a
// missing file or path or an invalid name (a locked file, denied access), a directory search
// decides. The empty text never names a file.
bool FileExists(platform::IFileSystem& files, const Text& path);

}  // namespace velmora
