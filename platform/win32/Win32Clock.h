// Sleep on the calling thread.
#pragma once

#include "platform/Clock.h"

namespace velmora::platform {

class Win32Clock : public IClock {
 public:
  void Sleep(uint32_t milliseconds) override;
};

}  // namespace velmora::platform
