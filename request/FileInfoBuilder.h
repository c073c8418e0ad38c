// One side of a comparison from the path and title PVCS gives for it.
#pragma once

#include "platform/Platform.h"
#include "request/ComparisonCopy.h"
#include "request/FileInfo.h"
#include "support/Text.h"

namespace velmora {

// Caption and version from the title; the working file when the title names an existing file
// by its absolute path; then, for a recognised title, the comparison copy, which respects
// `context`.
TFileInfo BuildFileInfo(platform::Platform& platform, const CopyContext& context, const Text& path,
                        const Text& title);
// The same with nothing reserved and no journal; `isBC3` tells whether the comparison program
// is Beyond Compare 3's launcher.
TFileInfo BuildFileInfo(platform::Platform& platform, bool isBC3, const Text& path,
                        const Text& title);

}  // namespace velmora
