// Reads and drives the setup dialog of another process the way a user would: one command a
// run, its result written to a file.
//   DialogProbe.exe <result file> wait <ms>              the dialog is shown
//   DialogProbe.exe <result file> gone <ms>              the dialog has closed
//   DialogProbe.exe <result file> dump                   the window and every control
//   DialogProbe.exe <result file> click <control>
//   DialogProbe.exe <result file> settext <control> <text>
//   DialogProbe.exe <result file> key <control> <esc|enter|ctrl+enter>  keys typed in a control
//   DialogProbe.exe <result file> close                  the close box
//   DialogProbe.exe <result file> resize <width> <height>  the client area's new size
//   DialogProbe.exe <result file> box <ms>               reads a message box and presses OK
//   DialogProbe.exe <result file> openfile <path> <ms>   picks a file in the file-open dialog
//   DialogProbe.exe <result file> hold <keys>|release    holds Ctrl and Shift down (ctrl+shift)
// Exit code 0 when the command did its work, 1 when its window was not found in time.
#include <windows.h>

#include <string>
#include <vector>

#include "MessageBoxReader.h"
#include "platform/win32/SetupControlIds.h"

namespace {

using namespace velmora::platform::setup_ids;

HWND FindDialog() {
  std::vector<HWND> found = OtherProcessWindows(kDialogClass);
  return found.empty() ? nullptr : found.front();
}

// A visible dialog of another process that is no message box and not the setup dialog.
HWND FindFileDialog() {
  for (HWND dialog : OtherProcessWindows(L"#32770")) {
    if (!GetDlgItem(dialog, 0xFFFF)) return dialog;
  }
  return nullptr;
}

template <typename Find>
HWND WaitFor(Find find, DWORD limit) {
  DWORD start = GetTickCount();
  do {
    if (HWND window = find()) return window;
    Sleep(50);
  } while (GetTickCount() - start < limit);
  return nullptr;
}

std::string NameOf(HWND window) {
  int id = GetDlgCtrlID(window);
  for (const auto& control : kControlNames) {
    if (control.id == id) return control.name;
  }
  return "id" + std::to_string(id);
}

HWND FindControl(HWND dialog, const std::string& name) {
  for (const auto& control : kControlNames) {
    if (name != control.name) continue;
    struct Search {
      int id;
      HWND found;
    } search{control.id, nullptr};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(param);
          if (GetDlgCtrlID(child) != s->id) return TRUE;
          s->found = child;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  return nullptr;
}

// A control's text as it holds it: GetWindowText does not ask controls of other processes.
std::wstring ControlText(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

std::string Flag(bool on) {
  return on ? "1" : "0";
}

// One line per control, depth first in each parent's z-order (its tab order).
void DumpChildren(HWND parent, const std::string& parentName, std::string& out) {
  int order = 0;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    bool button = _wcsicmp(cls, L"Button") == 0;
    std::string name = NameOf(child);
    out += "control name=" + name + " class=" + ToolUtf8(cls) + " parent=" + parentName +
           " x=" + std::to_string(rect.left) + " y=" + std::to_string(rect.top) +
           " w=" + std::to_string(rect.right - rect.left) +
           " h=" + std::to_string(rect.bottom - rect.top) +
           " visible=" + Flag(IsWindowVisible(child)) + " enabled=" + Flag(IsWindowEnabled(child)) +
           " checked=" + Flag(button && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED) +
           " tabstop=" + Flag(style & WS_TABSTOP) + " group=" + Flag(style & WS_GROUP) +
           " default=" + Flag(button && (style & 0xF) == BS_DEFPUSHBUTTON) +
           " order=" + std::to_string(order++) + " text=" + ToolUtf8(ControlText(child)) + "\n";
    DumpChildren(child, name, out);
  }
}

std::string Dump(HWND dialog) {
  RECT client, outer;
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &outer);
  LONG style = GetWindowLongW(dialog, GWL_STYLE);
  LONG exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  wchar_t cls[64] = {};
  GetClassNameW(dialog, cls, 64);
  std::string out =
      "window class=" + ToolUtf8(cls) + " clientw=" + std::to_string(client.right) +
      " clienth=" + std::to_string(client.bottom) + " x=" + std::to_string(outer.left) +
      " y=" + std::to_string(outer.top) + " w=" + std::to_string(outer.right - outer.left) +
      " h=" + std::to_string(outer.bottom - outer.top) + " workx=" + std::to_string(work.left) +
      " worky=" + std::to_string(work.top) + " workw=" + std::to_string(work.right - work.left) +
      " workh=" + std::to_string(work.bottom - work.top) + " dpi=" + std::to_string(dpi) +
      " toolwindow=" + Flag(exStyle & WS_EX_TOOLWINDOW) +
      " appwindow=" + Flag(exStyle & WS_EX_APPWINDOW) + " sizable=" + Flag(style & WS_THICKFRAME) +
      " sysmenu=" + Flag(style & WS_SYSMENU) + " minimizebox=" + Flag(style & WS_MINIMIZEBOX) +
      " maximizebox=" + Flag(style & WS_MAXIMIZEBOX) +
      " owned=" + Flag(GetWindow(dialog, GW_OWNER) != nullptr) +
      " enabled=" + Flag(IsWindowEnabled(dialog)) + " text=" + ToolUtf8(TextOf(dialog)) + "\n";
  DumpChildren(dialog, "window", out);
  return out;
}

void Press(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

// Gives the control the keyboard focus, as a click into it would.
void Focus(HWND dialog, HWND control) {
  DWORD target = GetWindowThreadProcessId(dialog, nullptr);
  DWORD self = GetCurrentThreadId();
  AttachThreadInput(self, target, TRUE);
  SetForegroundWindow(dialog);
  SetActiveWindow(dialog);
  SetFocus(control);
  AttachThreadInput(self, target, FALSE);
  Sleep(100);
}

// The virtual keys of a chord such as "ctrl+enter".
std::vector<WORD> KeysOf(const std::string& chord) {
  std::vector<WORD> keys;
  size_t start = 0;
  while (start <= chord.size()) {
    size_t end = chord.find('+', start);
    std::string part =
        chord.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part == "ctrl") keys.push_back(VK_CONTROL);
    if (part == "shift") keys.push_back(VK_SHIFT);
    if (part == "enter") keys.push_back(VK_RETURN);
    if (part == "esc") keys.push_back(VK_ESCAPE);
    if (part == "tab") keys.push_back(VK_TAB);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return keys;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  std::string command = ToolUtf8(argv[2]);
  auto arg = [&](int i) { return i < argc ? ToolUtf8(argv[i]) : std::string(); };
  auto number = [&](int i) { return static_cast<DWORD>(i < argc ? _wtoi(argv[i]) : 0); };
  std::string result;
  bool ok = true;

  if (command == "hold" || command == "release") {
    for (WORD key : KeysOf(command == "hold" ? arg(3) : "ctrl+shift"))
      Press(key, command != "hold");
  } else if (command == "box") {
    HWND box =
        WaitFor([] { return FindBoxes().empty() ? nullptr : FindBoxes().front(); }, number(3));
    if (box) result = ReadAndAnswerBox(box);
    ok = box != nullptr;
  } else if (command == "openfile") {
    HWND files = WaitFor(FindFileDialog, number(4));
    if (files) {
      Sleep(300);
      SetDlgItemTextW(files, 0x47C, ToolWide(arg(3)).c_str());  // the file name box
      SetDlgItemTextW(files, 0x480, ToolWide(arg(3)).c_str());
      PostMessageW(files, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    ok = files != nullptr;
  } else if (command == "gone") {
    DWORD start = GetTickCount();
    while (FindDialog() && GetTickCount() - start < number(3)) Sleep(50);
    ok = FindDialog() == nullptr;
  } else {
    HWND dialog = WaitFor(FindDialog, command == "wait" ? number(3) : 5000);
    ok = dialog != nullptr;
    if (dialog && command == "dump") {
      result = Dump(dialog);
    } else if (dialog && command == "close") {
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (dialog && command == "resize") {
      RECT frame{0, 0, static_cast<LONG>(number(3)), static_cast<LONG>(number(4))};
      AdjustWindowRectEx(&frame, GetWindowLongW(dialog, GWL_STYLE), FALSE,
                         GetWindowLongW(dialog, GWL_EXSTYLE));
      SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (dialog && command != "wait") {
      HWND control = FindControl(dialog, arg(3));
      ok = control != nullptr;
      if (control && command == "click") {
        PostMessageW(control, BM_CLICK, 0, 0);
      } else if (control && command == "settext") {
        std::wstring text = ToolWide(arg(4));
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_ABORTIFHUNG, 5000, &ignored);
      } else if (control && command == "key") {
        Focus(dialog, control);
        std::vector<WORD> keys = KeysOf(arg(4));
        for (WORD key : keys) Press(key, false);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) Press(*key, true);
      }
    }
    Sleep(200);  // let the dialog answer before the next command looks at it
  }
  ToolWriteFile(argv[1], result);
  return ok ? 0 : 1;
}
