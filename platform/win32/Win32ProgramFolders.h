// The Program Files folders from the shell's known folders.
#pragma once

#include "platform/ProgramFolders.h"

namespace velmora::platform {

class Win32ProgramFolders : public IProgramFolders {
 public:
  Text ProgramFiles64() override;
  Text ProgramFiles32() override;
};

}  // namespace velmora::platform
