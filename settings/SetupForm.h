// The setup dialog: the user chooses between the PVCS Merge Tool and a comparison program, its
// path, extra arguments and the orientation. OK registers (or unregisters) the deferred-deletion
// server, waits until that shows in the registry, and only then stores the settings.
#pragma once

#include "platform/Platform.h"
#include "settings/SetupDialog.h"

namespace velmora {

class TfrmSettings : public platform::ISetupWindowEvents {
 public:
  // Creates the dialog, fills it from the settings, shows it modally and destroys it; true when
  // it was closed with OK. An unreadable argument or choice value raises before it is shown.
  static bool Execute(platform::Platform& platform, const Text& bc2Path);

  void rgClick();
  void edPropertiesButtonClick();
  void JaClick();
  // True as soon as the server's registration state equals `registered`; false after 100
  // polls 50 ms apart, or as soon as the user has closed the dialog.
  bool WaitForRegistration(bool registered);

 private:
  TfrmSettings(platform::Platform& platform, platform::ISetupWindow& window);
  void Fill(const Text& bc2Path);
  // Selecting in code unchecks the group's other button and runs the click handler, exactly
  // as a click does; unselecting runs nothing.
  void SetRadio(platform::SetupRadio radio, bool selected);

  // The user's actions; an error is shown and the dialog stays open.
  void RadioClicked(platform::SetupRadio radio) override;
  void BrowseClicked() override;
  void OkClicked() override;
  template <typename Handler>
  void Guarded(Handler handler);

  platform::Platform& platform_;
  platform::ISetupWindow& window_;
  bool waiting_ = false;             // OK is waiting for the server's registration
  bool closedWhileWaiting_ = false;  // and the user closed the dialog meanwhile
};

// The setup dialog as the start-up code sees it.
class SetupDialog : public ISetupDialog {
 public:
  explicit SetupDialog(platform::Platform& platform) : platform_(platform) {}
  bool Execute(const Text& bc2Path) override { return TfrmSettings::Execute(platform_, bc2Path); }

 private:
  platform::Platform& platform_;
};

}  // namespace velmora
