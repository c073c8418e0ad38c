// The comparison copy: the side's file moved to a name with the extension of the file it
// stands for, so that Beyond Compare picks the right format.
#pragma once

#include "platform/Platform.h"
#include "request/FileInfo.h"

namespace velmora {

// Sets FileForBC and UseHelper and may move FileFromPVCS on disk. A working file (ReadOnly
// false) is the user's own data: it is never moved nor handed to the deferred-deletion server.
// A failed move leaves the side on the PVCS file's own name. Raises only for an invalid
// archive mask.
void PrepareComparisonCopy(platform::Platform& platform, bool isBC3, TFileInfo& info);

}  // namespace velmora
