// Message boxes and the file-open dialog.
#pragma once

#include <optional>

#include "support/Text.h"

namespace velmora::platform {

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // A modal message box with the error icon and one OK button.
  virtual void ErrorBox(const Text& caption, const Text& text) = 0;
  // The toolkit's modal error dialog: caption "Error", error icon, one OK button, centred on
  // the screen.
  virtual void ErrorDialog(const Text& text) = 0;
  // A file-open dialog for programs ("Program Files (*.exe)|*.exe"); path and file must exist,
  // resizable, not added to recent documents. None when the user cancels.
  virtual std::optional<Text> OpenProgramFile(const Text& initialFile) = 0;
};

}  // namespace velmora::platform
