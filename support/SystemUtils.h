// Windows version and elevation, environment expansion, the temporary directory, short (8.3)
// paths, and attribute-aware deletion. None of these functions raises: failures show in the
// results.
#pragma once

#include <cstdint>

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "support/Text.h"

namespace velmora {

// True on the NT platform with a major version above 5.
bool IsVistaOrLater(platform::ISystemInfo& system);

// Whether the caller's token is in the Administrators group; always true before Vista. The
// first answer, failures included, is kept for the rest of the process.
bool IsAdmin(platform::ISystemInfo& system);
// Forgets the kept answer, so that tests can start afresh.
void ResetIsAdminCache();

// %NAME% references of defined variables replaced; empty when the expansion fails.
Text ExpandEnvStr(platform::IEnvironment& environment, const Text& text);

// The user's temporary directory as the system reports it, trailing backslash included;
// empty on failure.
Text GetTempDir(platform::IEnvironment& environment);

// The 8.3 name of the path's last element, else its long name as stored, else empty. One
// name, never a path.
Text ShortFileName(platform::IFileSystem& files, const Text& path);

// The path with every element after the first replaced by its ShortFileName; elements that
// cannot be found become empty. The first part (drive or nothing) stays as written.
Text ShortPathName(platform::IFileSystem& files, const Text& path);

// Whether the file has all (or any) of the mask's attributes. A failed query counts as all
// bits set, so a missing file has every attribute.
bool FileHasAttr(platform::IFileSystem& files, const Text& fileName, uint32_t mask, bool all);

// Clears the mask's attributes together with every attribute above 0x100; 0 on success, else
// the system's error code.
uint32_t ClearFileAttr(platform::IFileSystem& files, const Text& fileName, uint32_t mask);

// Deletes the file, first clearing its read-only attribute when asked; true when deleted.
bool DeleteFileEx(platform::IFileSystem& files, const Text& fileName, bool clearReadOnly);

}  // namespace velmora
