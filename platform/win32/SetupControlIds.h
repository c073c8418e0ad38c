// Control identifiers of the setup dialog's window, with the names the dialog's design uses.
// Test tools read the real window by them.
#pragma once

namespace velmora::platform::setup_ids {

enum : int {
  kJa = 1,   // IDOK: Enter presses it
  kNee = 2,  // IDCANCEL: Esc and the close box press it
  kGb = 100,
  kRbPVCS,
  kRbBC2,
  kPnl,
  kEd,
  kEdButton,  // what the ellipsis button of kEd (drawn in its frame) tells the dialog
  kLblAdditionalCommandLine,
  kEdtArgs,
  kRbAncestorLeft,
  kRbDerivateLeft,
  kCxGroupBox1,
};

struct ControlName {
  int id;
  const char* name;
};

inline constexpr ControlName kControlNames[] = {
    {kGb, "gb"},
    {kRbPVCS, "rbPVCS"},
    {kRbBC2, "rbBC2"},
    {kPnl, "pnl"},
    {kEd, "ed"},
    {kLblAdditionalCommandLine, "lblAdditionalCommandLine"},
    {kEdtArgs, "edtArgs"},
    {kRbAncestorLeft, "rbAncestorLeft"},
    {kRbDerivateLeft, "rbDerivateLeft"},
    {kCxGroupBox1, "cxGroupBox1"},
    {kJa, "Ja"},
    {kNee, "Nee"},
};

// The window class of the dialog itself.
inline constexpr wchar_t kDialogClass[] = L"TfrmSettings";

// Bitmap resources: the OK and Cancel images, six 16 x 16 images side by side in the order of
// the push-button states (normal, hot, pressed, disabled, defaulted, stylus hot), magenta
// transparent.
inline constexpr int kBitmapOk = 201;
inline constexpr int kBitmapCancel = 202;

}  // namespace velmora::platform::setup_ids
