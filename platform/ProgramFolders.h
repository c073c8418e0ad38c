// The folders programs are installed in.
#pragma once

#include "support/Text.h"

namespace velmora::platform {

class IProgramFolders {
 public:
  virtual ~IProgramFolders() = default;
  // The Program Files folder of 64-bit programs (FOLDERID_ProgramFilesX64) and of 32-bit ones
  // (FOLDERID_ProgramFilesX86), without a trailing backslash; empty when the system has none.
  virtual Text ProgramFiles64() = 0;
  virtual Text ProgramFiles32() = 0;
};

}  // namespace velmora::platform
