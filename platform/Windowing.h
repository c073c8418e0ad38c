// The hidden worker window, its message loop, window visibility, keyboard state and the setup
// dialog's window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/SetupWindow.h"

namespace velmora::platform {

enum class AppWindow {
  Owner,   // the application's hidden owner window that stands for it in the taskbar
  Worker,  // the borderless worker form
};

inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;

// The worker form's events, called by the message loop.
class IWorkerForm {
 public:
  virtual ~IWorkerForm() = default;
  virtual void FormCreate() = 0;
  virtual void FormShow() = 0;
};

class IWindowing {
 public:
  virtual ~IWindowing() = default;
  // Creates the worker (borderless, no taskbar button of its own), calls FormCreate, makes it
  // the visible main form (FormShow) and processes messages until CloseWorker is called.
  // The idle handler, while one is set, runs whenever the message queue has run empty.
  virtual void RunWorker(IWorkerForm& form) = 0;
  virtual void SetIdleHandler(std::function<void()> handler) = 0;
  virtual void CloseWorker() = 0;
  virtual void SetWorkerSize(int width, int height) = 0;
  virtual void Show(AppWindow window, int command) = 0;
  // GetAsyncKeyState: negative when the key is down now.
  virtual int16_t AsyncKeyState(int virtualKey) = 0;
  // The setup dialog's window, not yet shown. While the worker runs, the application's owner
  // window owns it and stands for it in the taskbar; otherwise it is the application's main
  // window with a taskbar button of its own.
  virtual std::unique_ptr<ISetupWindow> CreateSetupWindow() = 0;
};

}  // namespace velmora::platform
