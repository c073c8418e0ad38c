#include "platform/memory/MemorySetupWindow.h"

namespace velmora::platform {

ModalResult MemorySetupWindow::ShowModal(ISetupWindowEvents& events) {
  events_ = &events;
  state_->shown = true;
  state_->result = ModalResult::None;
  if (user_) user_(*this);
  if (IsOpen()) Close(ModalResult::Cancel);
  events_ = nullptr;
  return state_->result;
}

void MemorySetupWindow::Click(SetupRadio radio) {
  // A radio button excludes only the buttons of its own group.
  bool firstGroup = radio == SetupRadio::PVCS || radio == SetupRadio::BC2;
  for (int i = firstGroup ? 0 : 2, end = i + 2; i < end; ++i) state_->checked[i] = false;
  state_->checked[int(radio)] = true;
  events_->RadioClicked(radio);
}

}  // namespace velmora::platform
