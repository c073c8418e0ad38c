// An in-memory clock: sleeping only advances the time and lets a test act meanwhile.
#pragma once

#include <functional>

#include "platform/Clock.h"

namespace velmora::platform {

class MemoryClock : public IClock {
 public:
  void Sleep(uint32_t milliseconds) override {
    ++sleeps;
    elapsed += milliseconds;
    if (onSleep) onSleep();
  }

  int sleeps = 0;
  uint64_t elapsed = 0;
  std::function<void()> onSleep;
};

}  // namespace velmora::platform
