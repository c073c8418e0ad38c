// Waiting on the calling thread (Sleep).
#pragma once

#include <cstdint>

namespace velmora::platform {

class IClock {
 public:
  virtual ~IClock() = default;
  // Suspends the calling thread; no messages are processed meanwhile.
  virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace velmora::platform
