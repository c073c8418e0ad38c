// Message boxes and shell execution.
#pragma once

#include "platform/Dialogs.h"
#include "platform/Shell.h"

namespace velmora::platform {

class Win32Dialogs : public IDialogs {
 public:
  void ErrorBox(const Text& caption, const Text& text) override;
  void ErrorDialog(const Text& text) override;
};

class Win32Shell : public IShell {
 public:
  ShellResult Execute(const Text& operation, const Text& file, const Text& parameters,
                      const Text& directory, int showCommand) override;
};

}  // namespace velmora::platform
