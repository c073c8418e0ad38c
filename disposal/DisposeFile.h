// What becomes of one side's file once the comparison program has ended.
#pragma once

#include <functional>

#include "platform/ComServer.h"
#include "platform/FileSystem.h"
#include "request/FileInfo.h"
#include "support/Text.h"

namespace velmora {

// Disposes of the side's comparison file and returns the run log's line about it:
// - a working file (ReadOnly false) or a file outside the temporary directory is left alone,
//   unless Velmora moved it (Moved): then it is moved back, and stays when that fails;
// - with UseHelper the file goes to the deferred-deletion server (a failure is logged);
// - otherwise it is moved back to the PVCS name, or deleted when that move fails.
// `isInTempDir` tells whether a path lies in the user's temporary directory.
Text DisposeFile(platform::IFileSystem& files, platform::IComServer& com, const TFileInfo& info,
                 const std::function<bool(const Text&)>& isInTempDir);

}  // namespace velmora
