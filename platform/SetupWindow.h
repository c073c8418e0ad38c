// The setup dialog's window: its controls' state, the user's actions on them, and the modal
// loop. The dialog's logic lives in the core; this is only what the user sees and does.
#pragma once

#include <optional>

#include "support/Text.h"

namespace velmora::platform {

enum class SetupRadio {
  PVCS,          // "PVCS Merge Tool"
  BC2,           // "The following program:"
  AncestorLeft,  // "Ancestor on the left, derivate on the right"
  DerivateLeft,  // "Derivate on the left, ancestor on the right"
};

// How the dialog was closed.
enum class ModalResult { None = 0, Ok = 1, Cancel = 2 };

// What the user does that the dialog's logic answers. Called from inside ShowModal.
class ISetupWindowEvents {
 public:
  virtual ~ISetupWindowEvents() = default;
  // The user clicked a radio button; the window has already checked it and unchecked the
  // others of its group.
  virtual void RadioClicked(SetupRadio radio) = 0;
  // The path's ellipsis button, or Ctrl+Enter in the path.
  virtual void BrowseClicked() = 0;
  // The OK button, or Enter.
  virtual void OkClicked() = 0;
};

class ISetupWindow {
 public:
  virtual ~ISetupWindow() = default;
  virtual Text Path() = 0;
  virtual void SetPath(const Text& path) = 0;
  virtual Text Arguments() = 0;
  virtual void SetArguments(const Text& arguments) = 0;
  // Checking in code touches only this button: no click event, no other button unchecked.
  virtual bool Checked(SetupRadio radio) = 0;
  virtual void SetChecked(SetupRadio radio, bool checked) = 0;
  virtual bool PanelVisible() = 0;
  virtual void SetPanelVisible(bool visible) = 0;
  // Shows the window modally until Close is called, or the user cancels (Cancel, Esc or the
  // close box: the result is Cancel). The window is hidden again when this returns.
  virtual ModalResult ShowModal(ISetupWindowEvents& events) = 0;
  virtual void Close(ModalResult result) = 0;
  // While the dialog's logic waits (OK waiting for the server's registration): handles what the
  // user has done meanwhile, without waiting. Only closing the window (Cancel, Esc or the close
  // box) is acted on; other input is dropped. True when the window has been closed.
  virtual bool ClosedWhileBusy() = 0;
  // The file-open dialog for programs, owned by this window: path and file must exist,
  // resizable, not added to recent documents, filter "Program Files (*.exe)|*.exe". None when
  // the user cancels.
  virtual std::optional<Text> OpenProgramFile(const Text& initialFile) = 0;
};

}  // namespace velmora::platform
