// In-memory worker window and message loop: records what was shown or hidden and runs the
// idle handler the way an idle message queue would.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Windowing.h"
#include "platform/memory/MemorySetupWindow.h"
#include "support/Text.h"

namespace velmora::platform {

class MemoryWindowing : public IWindowing {
 public:
  void RunWorker(IWorkerForm& form) override;
  void SetIdleHandler(std::function<void()> handler) override { idle_ = std::move(handler); }
  void CloseWorker() override { closed_ = true; }
  void SetWorkerSize(int width, int height) override;
  void Show(AppWindow window, int command) override;
  int16_t AsyncKeyState(int virtualKey) override;
  std::unique_ptr<ISetupWindow> CreateSetupWindow() override;

  void PressKey(int virtualKey) { down_[virtualKey] = true; }

  // "create", "size 0x0", "show worker", "owner 0", "worker 0", "idle" … in order.
  const std::vector<Text>& Events() const { return events_; }
  int IdleCalls() const { return idleCalls_; }
  bool Closed() const { return closed_; }
  // The loop was left with no idle handler and the worker still open: on Windows the program
  // would go on running with no visible window.
  bool WouldHang() const { return wouldHang_; }

  // The user of the next setup windows, and the file they pick when browsing (none: cancel).
  MemorySetupWindow::User setupUser;
  std::optional<Text> fileChoice;
  // What the user does while the dialog waits, each time it looks.
  MemorySetupWindow::User setupWhileBusy;
  // Every setup window created, in order.
  std::vector<std::shared_ptr<MemorySetupState>> setupWindows;

 private:
  std::function<void()> idle_;
  bool closed_ = false;
  bool wouldHang_ = false;
  int idleCalls_ = 0;
  std::map<int, bool> down_;
  std::vector<Text> events_;
};

}  // namespace velmora::platform
