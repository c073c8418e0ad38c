// Whether a file lies in the user's temporary directory or below it.
#pragma once

#include "platform/Platform.h"
#include "support/Text.h"

namespace velmora {

// Compares the short (8.3) forms of the temporary directory and of the file's directory, both
// taken from their normalised full paths (NormalisedFullPath), folding only a to z; the file
// itself need not exist. False when the temporary directory is unknown.
bool IsInTempDir(platform::Platform& platform, const Text& fileName);

}  // namespace velmora
