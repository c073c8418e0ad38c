#include "platform/memory/MemoryWindowing.h"

namespace velmora::platform {

void MemoryWindowing::RunWorker(IWorkerForm& form) {
  events_.push_back(u"create");
  form.FormCreate();
  events_.push_back(u"show worker");
  form.FormShow();
  // The queue runs empty again and again while the program waits; a handler that stays
  // installed would be called each time.
  for (int round = 0; round < 10 && !closed_; ++round) {
    if (!idle_) {
      wouldHang_ = true;
      return;
    }
    auto handler = idle_;
    ++idleCalls_;
    events_.push_back(u"idle");
    handler();
  }
}

void MemoryWindowing::SetWorkerSize(int width, int height) {
  events_.push_back(u"size " + ToDecimal(width) + u"x" + ToDecimal(height));
}

void MemoryWindowing::Show(AppWindow window, int command) {
  events_.push_back((window == AppWindow::Owner ? u"owner " : u"worker ") + ToDecimal(command));
}

int16_t MemoryWindowing::AsyncKeyState(int virtualKey) {
  events_.push_back(u"key " + ToDecimal(virtualKey));
  return down_[virtualKey] ? int16_t(-32768) : int16_t(0);
}

std::unique_ptr<ISetupWindow> MemoryWindowing::CreateSetupWindow() {
  events_.push_back(u"setup window");
  setupWindows.push_back(std::make_shared<MemorySetupState>());
  return std::make_unique<MemorySetupWindow>(setupWindows.back(), setupUser, fileChoice,
                                             setupWhileBusy);
}

}  // namespace velmora::platform
