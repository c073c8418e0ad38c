// In-memory Program Files folders, as a 64-bit Windows with English folder names has them.
#pragma once

#include "platform/ProgramFolders.h"

namespace velmora::platform {

class MemoryProgramFolders : public IProgramFolders {
 public:
  Text programFiles64 = u"C:\\Program Files";
  Text programFiles32 = u"C:\\Program Files (x86)";

  Text ProgramFiles64() override { return programFiles64; }
  Text ProgramFiles32() override { return programFiles32; }
};

}  // namespace velmora::platform
