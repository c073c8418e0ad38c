// The setup dialog's real window: a resizable tool window with themed common controls, laid out
// in pixels at 96 DPI and scaled to the screen's DPI.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>

#include "platform/SetupWindow.h"

namespace velmora::platform {

class Win32SetupWindow : public ISetupWindow {
 public:
  // With an owner, the owner stands for the dialog in the taskbar; without one, the dialog is
  // the application's main window with a taskbar button of its own.
  explicit Win32SetupWindow(HWND owner);
  ~Win32SetupWindow() override;
  Win32SetupWindow(const Win32SetupWindow&) = delete;
  Win32SetupWindow& operator=(const Win32SetupWindow&) = delete;

  Text Path() override;
  void SetPath(const Text& path) override;
  Text Arguments() override;
  void SetArguments(const Text& arguments) override;
  bool Checked(SetupRadio radio) override;
  void SetChecked(SetupRadio radio, bool checked) override;
  bool PanelVisible() override;
  void SetPanelVisible(bool visible) override;
  ModalResult ShowModal(ISetupWindowEvents& events) override;
  void Close(ModalResult result) override;
  bool ClosedWhileBusy() override;
  std::optional<Text> OpenProgramFile(const Text& initialFile) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  HWND Add(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle,
           int id);
  void ScaleParts();
  void ChangeDpi(int dpi, const RECT& suggested);
  void Layout();
  void Command(int id, int code);
  void KeepTabStopOnChecked();
  void KeepDefaultButton();
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  HWND Control(int id) const;

  HWND dialog_ = nullptr;
  std::map<int, HWND> controls_;
  HFONT font_ = nullptr;
  HIMAGELIST okImages_ = nullptr;
  HIMAGELIST cancelImages_ = nullptr;
  int dpi_ = 96;
  ISetupWindowEvents* events_ = nullptr;
  ModalResult result_ = ModalResult::None;
};

}  // namespace velmora::platform
