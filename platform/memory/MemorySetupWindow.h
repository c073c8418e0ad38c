// An in-memory setup window: holds the controls' state as the real window would, and lets a
// test act as the user while the window is shown.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/SetupWindow.h"

namespace velmora::platform {

// What a setup window shows; kept after the window is gone so tests can look at it.
struct MemorySetupState {
  Text path;
  Text arguments;
  // PVCS, BC2, AncestorLeft, DerivateLeft; as designed, only the last one is checked.
  bool checked[4] = {false, false, false, true};
  bool panelVisible = true;
  bool shown = false;
  ModalResult result = ModalResult::None;
  std::vector<Text> browsedFrom;  // the file-open dialog's initial file names
};

class MemorySetupWindow : public ISetupWindow {
 public:
  // Acts on the window while it is shown; when it returns with the window still open, the
  // user closes it with the close box. `whileBusy` acts each time the dialog's logic, while it
  // waits, looks at what the user did.
  using User = std::function<void(MemorySetupWindow&)>;
  MemorySetupWindow(std::shared_ptr<MemorySetupState> state, User user,
                    std::optional<Text> fileChoice, User whileBusy = nullptr)
      : state_(std::move(state)),
        user_(std::move(user)),
        fileChoice_(std::move(fileChoice)),
        whileBusy_(std::move(whileBusy)) {}

  Text Path() override { return state_->path; }
  void SetPath(const Text& path) override { state_->path = path; }
  Text Arguments() override { return state_->arguments; }
  void SetArguments(const Text& arguments) override { state_->arguments = arguments; }
  bool Checked(SetupRadio radio) override { return state_->checked[int(radio)]; }
  void SetChecked(SetupRadio radio, bool checked) override {
    state_->checked[int(radio)] = checked;
  }
  bool PanelVisible() override { return state_->panelVisible; }
  void SetPanelVisible(bool visible) override { state_->panelVisible = visible; }
  ModalResult ShowModal(ISetupWindowEvents& events) override;
  void Close(ModalResult result) override { state_->result = result; }
  bool ClosedWhileBusy() override {
    if (whileBusy_) whileBusy_(*this);
    return !IsOpen();
  }
  std::optional<Text> OpenProgramFile(const Text& initialFile) override {
    state_->browsedFrom.push_back(initialFile);
    return fileChoice_;
  }

  // The user's actions.
  void Click(SetupRadio radio);
  void Type(const Text& path) { SetPath(path); }
  void TypeArguments(const Text& arguments) { SetArguments(arguments); }
  void ClickBrowse() { events_->BrowseClicked(); }
  void ClickOk() { events_->OkClicked(); }
  void Cancel() { Close(ModalResult::Cancel); }
  bool IsOpen() const { return state_->result == ModalResult::None; }
  const MemorySetupState& State() const { return *state_; }

 private:
  std::shared_ptr<MemorySetupState> state_;
  User user_;
  std::optional<Text> fileChoice_;
  User whileBusy_;
  ISetupWindowEvents* events_ = nullptr;
};

}  // namespace velmora::platform
