// The application's hidden owner window, the zero-size worker form and the message loop that
// calls the idle handler whenever the queue has run empty.
#pragma once

#include <functional>

#include "platform/Windowing.h"

namespace velmora::platform {

class Win32Windowing : public IWindowing {
 public:
  void RunWorker(IWorkerForm& form) override;
  void SetIdleHandler(std::function<void()> handler) override { idle_ = std::move(handler); }
  void CloseWorker() override;
  void SetWorkerSize(int width, int height) override;
  void Show(AppWindow window, int command) override;
  int16_t AsyncKeyState(int virtualKey) override;
  std::unique_ptr<ISetupWindow> CreateSetupWindow() override;

 private:
  void CreateWindows();

  void* owner_ = nullptr;   // HWND
  void* worker_ = nullptr;  // HWND
  std::function<void()> idle_;
  bool closed_ = false;
  int workerWidth_ = 651, workerHeight_ = 338;  // as designed, until FormCreate sets them
};

}  // namespace velmora::platform
