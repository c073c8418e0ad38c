#include "settings/SetupForm.h"

#include "settings/Settings.h"
#include "support/ErrorDisplay.h"
#include "support/Errors.h"
#include "support/FileExists.h"
#include "support/Format.h"
#include "support/HelperContract.h"
#include "support/PathNormal.h"
#include "support/SystemUtils.h"

namespace velmora {

using platform::ModalResult;
using platform::SetupRadio;

namespace {

constexpr int kRegistrationPolls = 100;
constexpr uint32_t kRegistrationPollMs = 50;

// "un" when the server is to be unregistered.
Text UnPrefix(bool registered) {
  return registered ? Text() : Text(u"un");
}

}  // namespace

TfrmSettings::TfrmSettings(platform::Platform& platform, platform::ISetupWindow& window)
    : platform_(platform), window_(window) {}

bool TfrmSettings::Execute(platform::Platform& platform, const Text& bc2Path) {
  std::unique_ptr<platform::ISetupWindow> window = platform.windowing.CreateSetupWindow();
  TfrmSettings form(platform, *window);
  form.Fill(bc2Path);
  return window->ShowModal(form) == ModalResult::Ok;
}

void TfrmSettings::Fill(const Text& bc2Path) {
  window_.SetPath(bc2Path);
  if (auto stored = ReadSettingsForSetup(platform_.registry)) {
    window_.SetArguments(stored->bcArgs);
    SetRadio(SetupRadio::BC2, stored->useBC2);
    SetRadio(SetupRadio::PVCS, !window_.Checked(SetupRadio::BC2));
    SetRadio(SetupRadio::AncestorLeft, stored->ancestorLeft);
  }
  SetRadio(SetupRadio::DerivateLeft, !window_.Checked(SetupRadio::AncestorLeft));
}

void TfrmSettings::SetRadio(SetupRadio radio, bool selected) {
  window_.SetChecked(radio, selected);
  if (!selected) return;
  switch (radio) {
    case SetupRadio::PVCS:
      window_.SetChecked(SetupRadio::BC2, false);
      rgClick();
      break;
    case SetupRadio::BC2:
      window_.SetChecked(SetupRadio::PVCS, false);
      rgClick();
      break;
    case SetupRadio::AncestorLeft:
      window_.SetChecked(SetupRadio::DerivateLeft, false);
      break;
    case SetupRadio::DerivateLeft:
      window_.SetChecked(SetupRadio::AncestorLeft, false);
      break;
  }
}

void TfrmSettings::rgClick() {
  window_.SetPanelVisible(window_.Checked(SetupRadio::BC2));
}

void TfrmSettings::edPropertiesButtonClick() {
  std::optional<Text> chosen = window_.OpenProgramFile(window_.Path());
  if (!chosen) return;
  // Beyond Compare 3's command-line launcher wins whenever it lies in the chosen folder.
  Text launcher = DirectoryOf(*chosen) + u"BComp.exe";
  window_.SetPath(FileExists(platform_.files, launcher) ? launcher : *chosen);
}

void TfrmSettings::JaClick() {
  const Text path = window_.Path();
  if (!FileExists(platform_.files, path)) {
    throw EVelmora(Format(u"\"%s\" not found or no access.", {path}));
  }
  if (!EqualsIgnoreAsciiCase(ExtensionOf(path), u".exe")) {
    throw EVelmora(Format(u"\"%s\" is not a program file.", {path}));
  }

  // What the user chose is taken now: the window does not take input while OK waits.
  const bool useBC2 = window_.Checked(SetupRadio::BC2);
  const Text arguments = window_.Arguments();
  const bool ancestorLeft = window_.Checked(SetupRadio::AncestorLeft);
  platform::ShellResult started =
      platform_.shell.Execute(IsAdmin(platform_.system) ? u"open" : u"runas",
                              DirectoryOf(platform_.self.ModulePath()) + Text(kHelperProgram),
                              RegistrationSwitch(useBC2), Text(), platform::kSwShowNormal);
  if (started.instance <= 32) {
    throw EVelmora(
        SystemErrorMessage(started.lastError, platform_.locale.SystemErrorText(started.lastError)),
        u"EOSError");
  }
  const bool reached = WaitForRegistration(useBC2);
  // Closing the dialog meanwhile cancels the save.
  if (closedWhileWaiting_) return;
  if (!reached) {
    throw EVelmora(Format(u"Failed to %sregister the VelmoraHelper Object", {UnPrefix(useBC2)}));
  }

  // The file that was checked, named so that every later request finds it whatever the
  // current folder: full, with backslashes and without "." or "..".
  WriteSettings(platform_.registry,
                {NormalisedFullPath(platform_.files, path), arguments, useBC2, ancestorLeft});
  window_.Close(ModalResult::Ok);
}

bool TfrmSettings::WaitForRegistration(bool registered) {
  waiting_ = true;
  closedWhileWaiting_ = false;
  bool reached = false;
  for (int poll = 0; poll < kRegistrationPolls && !closedWhileWaiting_; ++poll) {
    reached = IsHelperRegistered(platform_.registry) == registered;
    if (reached) break;
    platform_.clock.Sleep(kRegistrationPollMs);
    closedWhileWaiting_ = window_.ClosedWhileBusy();
  }
  waiting_ = false;
  return reached;
}

template <typename Handler>
void TfrmSettings::Guarded(Handler handler) {
  try {
    handler();
  } catch (const EVelmora& error) {
    ShowApplicationError(platform_, error.Message());
  } catch (const std::exception& error) {
    ShowApplicationError(platform_, FromUtf8(error.what()));
  }
}

void TfrmSettings::RadioClicked(SetupRadio radio) {
  if (radio == SetupRadio::PVCS || radio == SetupRadio::BC2) rgClick();
}

void TfrmSettings::BrowseClicked() {
  if (waiting_) return;
  Guarded([this] { edPropertiesButtonClick(); });
}

void TfrmSettings::OkClicked() {
  if (waiting_) return;  // pressed again while OK waits: one save, one server start
  Guarded([this] { JaClick(); });
}

}  // namespace velmora
