// Message boxes.
#pragma once

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
};

}  // namespace velmora::platform
