#include "platform/win32/Win32SetupWindow.h"

#include <commdlg.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <utility>
#include <vector>

#include "platform/win32/ComApartment.h"
#include "platform/win32/SetupControlIds.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Text.h"

namespace velmora::platform {

using namespace setup_ids;

namespace {

constexpr wchar_t kGroupClass[] = L"VelmoraGroupBox";
constexpr wchar_t kPanelClass[] = L"VelmoraPanel";
constexpr wchar_t kCaption[] = L"PVCS Merge Tool Setup";

// The design's sizes at 96 DPI.
constexpr int kClientWidth = 369, kClientHeight = 205, kMinClientWidth = 249;
constexpr int kButtonBarHeight = 35;
constexpr int kPanelHeight = 98, kPanelInset = 2, kPanelBottomGap = 9;
constexpr int kEditHeight = 21, kEllipsisWidth = 17;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

// The radio buttons and the label as designed at 96 DPI: the font check measures their
// captions against the same widths the layout gives them.
struct Designed {
  int id;
  const wchar_t* caption;
  int x, y, width, height;
};
constexpr Designed kRadioPvcs{kRbPVCS, L"PVCS Merge Tool", 8, 22, 113, 17};
constexpr Designed kRadioBc2{kRbBC2, L"The following program:", 8, 42, 145, 17};
constexpr Designed kRadioAncestorLeft{
    kRbAncestorLeft, L"Ancestor on the left, derivate on the right", 6, 54, 223, 17};
constexpr Designed kRadioDerivateLeft{
    kRbDerivateLeft, L"Derivate on the left, ancestor on the right", 6, 72, 223, 17};
constexpr Designed kRadios[] = {kRadioPvcs, kRadioBc2, kRadioAncestorLeft, kRadioDerivateLeft};
// The label sizes itself to its caption and must end before the arguments field.
constexpr wchar_t kArgumentsCaption[] = L"Additional Arguments";
constexpr int kLabelX = 8, kLabelY = 26, kArgumentsX = 120, kArgumentsY = 24, kArgumentsWidth = 237;
constexpr int kRadioMarkWidth = 18;  // the mark and its gap before the caption

int RadioId(SetupRadio radio) {
  switch (radio) {
    case SetupRadio::PVCS:
      return kRbPVCS;
    case SetupRadio::BC2:
      return kRbBC2;
    case SetupRadio::AncestorLeft:
      return kRbAncestorLeft;
    case SetupRadio::DerivateLeft:
      break;
  }
  return kRbDerivateLeft;
}

// Group boxes and panels hold controls of their own; they pass the controls' notifications on
// to the dialog. A group box draws its frame and caption as the theme (or the classic look)
// does.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(GetParent(window), message, wParam, lParam);
    case WM_SETFONT:
      SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(window, GWLP_USERDATA);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      wchar_t cls[32] = {};
      GetClassNameW(window, cls, 32);
      if (lstrcmpW(cls, kGroupClass) == 0) {
        RECT client;
        GetClientRect(window, &client);
        HGDIOBJ oldFont =
            SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrW(window, GWLP_USERDATA)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT frame = client;
        frame.top = metrics.tmHeight / 2;
        VELMORA_SYSTEM_FUNCTION(openTheme, L"uxtheme.dll", OpenThemeData);
        VELMORA_SYSTEM_FUNCTION(drawTheme, L"uxtheme.dll", DrawThemeBackground);
        VELMORA_SYSTEM_FUNCTION(closeTheme, L"uxtheme.dll", CloseThemeData);
        HTHEME theme =
            openTheme && drawTheme && closeTheme ? openTheme(window, L"Button") : nullptr;
        if (theme) {
          drawTheme(theme, dc, BP_GROUPBOX, GBS_NORMAL, &frame, nullptr);
          closeTheme(theme);
        } else {
          DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        }
        wchar_t caption[128] = {};
        int length = GetWindowTextW(window, caption, 128);
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption, length, &extent);
        int left = MulDiv(8, GetDeviceCaps(dc, LOGPIXELSX), 96);
        RECT text{left, 0, left + extent.cx, metrics.tmHeight};
        FillRect(dc, &text, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, caption, length, &text, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
        SelectObject(dc, oldFont);
      }
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The path edit with its ellipsis button at its right end, drawn in the edit's own frame so the
// two are one control. Clicking the button, or Ctrl+Enter in the edit, asks the dialog to
// browse. The subclass data holds the button's width; a window property its pressed state.
constexpr wchar_t kPressedProperty[] = L"VelmoraEllipsisPressed";
constexpr WPARAM kHitEllipsis = HTOBJECT;

void Browse(HWND edit) {
  SendMessageW(GetAncestor(edit, GA_ROOT), WM_COMMAND, MAKEWPARAM(kEdButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(edit));
}

// The button's rectangle in window coordinates: the right end, inside the edit's border.
RECT EllipsisRect(HWND edit, int width) {
  RECT window, client;
  GetWindowRect(edit, &window);
  GetClientRect(edit, &client);
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT button{client.right - window.left, client.top - window.top,
              client.right - window.left + width, client.bottom - window.top};
  return button;
}

void PaintEllipsis(HWND edit, int width) {
  HDC dc = GetWindowDC(edit);
  RECT button = EllipsisRect(edit, width);
  bool pressed = GetPropW(edit, kPressedProperty) != nullptr;
  DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  if (pressed) OffsetRect(&button, 1, 1);
  DrawTextW(dc, L"...", 3, &button, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  ReleaseDC(edit, dc);
}

void SetPressed(HWND edit, int width, bool pressed) {
  if (pressed) {
    SetPropW(edit, kPressedProperty, reinterpret_cast<HANDLE>(1));
  } else {
    RemovePropW(edit, kPressedProperty);
  }
  PaintEllipsis(edit, width);
}

LRESULT CALLBACK PathEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) {
  // Only installed when comctl32 was had, so these are there too.
  VELMORA_SYSTEM_FUNCTION(defSubclassProc, L"comctl32.dll", DefSubclassProc);
  VELMORA_SYSTEM_FUNCTION(removeSubclass, L"comctl32.dll", RemoveWindowSubclass);
  const int width = static_cast<int>(data);
  auto ctrlEnter = [](WPARAM key) { return key == VK_RETURN && GetKeyState(VK_CONTROL) < 0; };
  switch (message) {
    case WM_NCCALCSIZE: {
      LRESULT result = defSubclassProc(edit, message, wParam, lParam);
      RECT* client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                            : reinterpret_cast<RECT*>(lParam);
      client->right -= width;
      return result;
    }
    case WM_NCPAINT: {
      LRESULT result = defSubclassProc(edit, message, wParam, lParam);
      PaintEllipsis(edit, width);
      return result;
    }
    case WM_NCHITTEST: {
      POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT window;
      GetWindowRect(edit, &window);
      RECT button = EllipsisRect(edit, width);
      OffsetRect(&button, window.left, window.top);
      if (PtInRect(&button, point)) return kHitEllipsis;
      break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam != kHitEllipsis) break;
      SetFocus(edit);
      SetCapture(edit);
      SetPressed(edit, width, true);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == edit && GetPropW(edit, kPressedProperty)) {
        ReleaseCapture();  // WM_CAPTURECHANGED releases the button
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(edit, &point);
        if (SendMessageW(edit, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) == kHitEllipsis) {
          Browse(edit);
        }
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (GetPropW(edit, kPressedProperty)) SetPressed(edit, width, false);
      break;
    case WM_GETDLGCODE: {
      LRESULT code = defSubclassProc(edit, message, wParam, lParam);
      auto* msg = reinterpret_cast<MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && ctrlEnter(msg->wParam)) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (ctrlEnter(wParam)) {
        Browse(edit);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\n') return 0;  // Ctrl+Enter's line feed: nothing to type
      break;
    case WM_NCDESTROY:
      RemovePropW(edit, kPressedProperty);
      removeSubclass(edit, PathEditProc, 0);
      break;
  }
  return defSubclassProc(edit, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  // The dialog: the dialog manager's window procedure under a class name of its own.
  wc.lpfnWndProc = DefDlgProcW;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.lpszClassName = kDialogClass;
  RegisterClassExW(&wc);
  wc.lpfnWndProc = ContainerProc;
  wc.cbWndExtra = 0;
  wc.lpszClassName = kGroupClass;
  RegisterClassExW(&wc);
  wc.lpszClassName = kPanelClass;
  RegisterClassExW(&wc);
}

// A dialog template without controls: the controls are created with pixel positions.
std::vector<WORD> DialogTemplate(DWORD exStyle) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = kDialogStyle;
  header->dwExtendedStyle = exStyle;
  words.push_back(0);  // no menu
  for (const wchar_t* c = kDialogClass; *c; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  for (const wchar_t* c = kCaption; *c; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  return words;
}

// 8 points (11 pixels high at 96 DPI) of the face the layout was designed for. Where that face
// is drawn wider than designed (a substitute, or the bitmap face at another DPI), the layout
// would clip the captions; the shell's dialog face, which scales, takes its place then.
HFONT DialogFont(int dpi) {
  auto create = [dpi](const wchar_t* face) {
    return CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
  };
  HFONT font = create(L"MS Sans Serif");
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  auto fits = [&](const wchar_t* caption, int width) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &extent);
    return extent.cx <= MulDiv(width, dpi, 96);
  };
  bool allFit = fits(kArgumentsCaption, kArgumentsX - kLabelX - 2);
  for (const auto& radio : kRadios)
    allFit = allFit && fits(radio.caption, radio.width - kRadioMarkWidth);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  if (allFit) return font;
  DeleteObject(font);
  return create(L"MS Shell Dlg");
}

HIMAGELIST ButtonImages(HINSTANCE instance, int bitmapId) {
  VELMORA_SYSTEM_FUNCTION(imageListCreate, L"comctl32.dll", ImageList_Create);
  VELMORA_SYSTEM_FUNCTION(imageListAddMasked, L"comctl32.dll", ImageList_AddMasked);
  if (!imageListCreate || !imageListAddMasked) return nullptr;
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return nullptr;
  HIMAGELIST images = imageListCreate(16, 16, ILC_COLOR24 | ILC_MASK, 6, 0);
  if (images) imageListAddMasked(images, bitmap, RGB(255, 0, 255));
  DeleteObject(bitmap);
  return images;
}

Text WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, buffer.data(), length + 1);
  return FromWide(buffer.data(), wcslen(buffer.data()));
}

}  // namespace

Win32SetupWindow::Win32SetupWindow(HWND owner) {
  VELMORA_SYSTEM_FUNCTION(initCommonControls, L"comctl32.dll", InitCommonControlsEx);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  if (initCommonControls) initCommonControls(&controls);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClasses(instance);
  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  font_ = DialogFont(dpi_);
  okImages_ = ButtonImages(instance, kBitmapOk);
  cancelImages_ = ButtonImages(instance, kBitmapCancel);

  DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
  if (!owner) exStyle |= WS_EX_APPWINDOW;
  std::vector<WORD> dialogTemplate = DialogTemplate(exStyle);
  dialog_ =
      CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                                 owner, DialogProc, reinterpret_cast<LPARAM>(this));
}

Win32SetupWindow::~Win32SetupWindow() {
  VELMORA_SYSTEM_FUNCTION(imageListDestroy, L"comctl32.dll", ImageList_Destroy);
  if (dialog_) DestroyWindow(dialog_);
  if (font_) DeleteObject(font_);
  if (okImages_) imageListDestroy(okImages_);
  if (cancelImages_) imageListDestroy(cancelImages_);
}

HWND Win32SetupWindow::Control(int id) const {
  auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

HWND Win32SetupWindow::Add(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style,
                           DWORD exStyle, int id) {
  HWND control = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  controls_[id] = control;
  return control;
}

void Win32SetupWindow::CreateControls() {
  SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // Created in tab order: the z-order of each parent's children is its tab order.
  const DWORD container = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_GROUP;
  HWND gb = Add(dialog_, kGroupClass, L"Which comparison tool to use ? ", container,
                WS_EX_CONTROLPARENT, kGb);
  Add(gb, L"Button", kRadioPvcs.caption, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, kRbPVCS);
  Add(gb, L"Button", kRadioBc2.caption, BS_AUTORADIOBUTTON, 0, kRbBC2);
  HWND pnl = Add(gb, kPanelClass, L"", container, WS_EX_CONTROLPARENT, kPnl);
  Add(pnl, L"Edit", L"", ES_AUTOHSCROLL | WS_GROUP | WS_TABSTOP, WS_EX_CLIENTEDGE, kEd);
  Add(pnl, L"Static", kArgumentsCaption, SS_LEFT | SS_NOPREFIX, 0, kLblAdditionalCommandLine);
  Add(pnl, L"Edit", L"", ES_AUTOHSCROLL | WS_GROUP | WS_TABSTOP, WS_EX_CLIENTEDGE, kEdtArgs);
  Add(pnl, L"Button", kRadioAncestorLeft.caption, BS_AUTORADIOBUTTON | WS_GROUP, 0,
      kRbAncestorLeft);
  Add(pnl, L"Button", kRadioDerivateLeft.caption, BS_AUTORADIOBUTTON, 0, kRbDerivateLeft);
  SendMessageW(Control(kRbDerivateLeft), BM_SETCHECK, BST_CHECKED, 0);
  HWND bar = Add(dialog_, kPanelClass, L"", container, WS_EX_CONTROLPARENT, kCxGroupBox1);
  Add(bar, L"Button", L"OK", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, kJa);
  Add(bar, L"Button", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, kNee);
  ScaleParts();
  SendMessageW(dialog_, DM_SETDEFID, kJa, 0);
  KeepTabStopOnChecked();

  // The client area as designed, centred on the screen's work area.
  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, GetWindowLongW(dialog_, GWL_STYLE), FALSE,
                     GetWindowLongW(dialog_, GWL_EXSTYLE));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

// What depends on the DPI besides the places: the ellipsis button's width and the images' margin.
void Win32SetupWindow::ScaleParts() {
  VELMORA_SYSTEM_FUNCTION(setWindowSubclass, L"comctl32.dll", SetWindowSubclass);
  HWND ed = Control(kEd);
  if (setWindowSubclass) {
    setWindowSubclass(ed, PathEditProc, 0, static_cast<DWORD_PTR>(Scale(kEllipsisWidth)));
  }
  SetWindowPos(ed, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (auto [id, images] : {std::pair{kJa, okImages_}, std::pair{kNee, cancelImages_}}) {
    if (!images) continue;
    BUTTON_IMAGELIST list{images, {Scale(4), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    SendMessageW(Control(id), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
  }
}

// Moved to a monitor of another DPI: the font, the parts and the places follow it.
void Win32SetupWindow::ChangeDpi(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  HFONT old = font_;
  font_ = DialogFont(dpi_);
  SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  for (const auto& [id, control] : controls_) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }
  if (old) DeleteObject(old);
  ScaleParts();
  SetWindowPos(dialog_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  InvalidateRect(dialog_, nullptr, TRUE);
}

void Win32SetupWindow::Layout() {
  RECT client;
  GetClientRect(dialog_, &client);
  auto place = [&](int id, int x, int y, int width, int height) {
    MoveWindow(Control(id), x, y, width, height, TRUE);
  };
  int barHeight = Scale(kButtonBarHeight);
  int gbWidth = client.right, gbHeight = client.bottom - barHeight;
  place(kGb, 0, 0, gbWidth, gbHeight);
  for (const auto& radio : kRadios) {
    place(radio.id, Scale(radio.x), Scale(radio.y), Scale(radio.width), Scale(radio.height));
  }
  int pnlWidth = gbWidth - 2 * Scale(kPanelInset);
  int pnlHeight = Scale(kPanelHeight);
  place(kPnl, Scale(kPanelInset), gbHeight - Scale(kPanelBottomGap) - pnlHeight, pnlWidth,
        pnlHeight);
  place(kEd, Scale(6), Scale(2), pnlWidth - Scale(12), Scale(kEditHeight));
  // The label sizes itself to its caption.
  HWND label = Control(kLblAdditionalCommandLine);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, font_);
  SIZE extent{};
  GetTextExtentPoint32W(dc, kArgumentsCaption, lstrlenW(kArgumentsCaption), &extent);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  place(kLblAdditionalCommandLine, Scale(kLabelX), Scale(kLabelY), extent.cx, extent.cy);
  place(kEdtArgs, Scale(kArgumentsX), Scale(kArgumentsY), Scale(kArgumentsWidth),
        Scale(kEditHeight));
  place(kCxGroupBox1, 0, gbHeight, client.right, barHeight);
  place(kJa, Scale(8), Scale(4), Scale(97), Scale(25));
  place(kNee, Scale(128), Scale(4), Scale(97), Scale(25));
}

// The checked radio button of each group is the one Tab stops at.
void Win32SetupWindow::KeepTabStopOnChecked() {
  auto keep = [&](int first, int second) {
    bool secondChecked = SendMessageW(Control(second), BM_GETCHECK, 0, 0) == BST_CHECKED;
    auto set = [](HWND window, bool on) {
      LONG style = GetWindowLongW(window, GWL_STYLE);
      SetWindowLongW(window, GWL_STYLE, on ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    };
    set(Control(first), !secondChecked);
    set(Control(second), secondChecked);
  };
  keep(kRbPVCS, kRbBC2);
  keep(kRbAncestorLeft, kRbDerivateLeft);
}

// OK looks like the default button unless a push button has the focus (Enter presses that
// one). The dialog manager finds buttons only among its direct children, and these live in
// the button bar.
void Win32SetupWindow::KeepDefaultButton() {
  HWND focus = GetFocus();
  bool buttonFocused = focus == Control(kJa) || focus == Control(kNee);
  for (int id : {kJa, kNee}) {
    HWND button = Control(id);
    bool isDefault = id == kJa ? !buttonFocused : focus == button;
    bool shownDefault = (GetWindowLongW(button, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
    if (isDefault != shownDefault) {
      SendMessageW(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
  }
}

INT_PTR CALLBACK Win32SetupWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32SetupWindow*>(lParam);
    SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
    self->dialog_ = dialog;
    self->CreateControls();
    return FALSE;
  }
  auto* self = reinterpret_cast<Win32SetupWindow*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
  return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR Win32SetupWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      Close(ModalResult::Cancel);
      return TRUE;
    case WM_SIZE:
      if (!controls_.empty()) Layout();
      return TRUE;
    case WM_DPICHANGED:
      ChangeDpi(LOWORD(wParam), *reinterpret_cast<RECT*>(lParam));
      return TRUE;
    case WM_GETMINMAXINFO: {
      // Never narrower than designed minimum, never lower than designed: lower would put
      // the panel over the radio buttons above it.
      RECT frame{0, 0, Scale(kMinClientWidth), Scale(kClientHeight)};
      AdjustWindowRectEx(&frame, GetWindowLongW(dialog_, GWL_STYLE), FALSE,
                         GetWindowLongW(dialog_, GWL_EXSTYLE));
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = frame.right - frame.left;
      info->ptMinTrackSize.y = frame.bottom - frame.top;
      return TRUE;
    }
  }
  return FALSE;
}

void Win32SetupWindow::Command(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kJa:
      if (events_) events_->OkClicked();
      break;
    case kNee:
      Close(ModalResult::Cancel);
      break;
    case kEdButton:
      if (events_) events_->BrowseClicked();
      break;
    case kRbPVCS:
    case kRbBC2:
    case kRbAncestorLeft:
    case kRbDerivateLeft: {
      KeepTabStopOnChecked();
      if (!events_) break;
      SetupRadio radio = id == kRbPVCS           ? SetupRadio::PVCS
                         : id == kRbBC2          ? SetupRadio::BC2
                         : id == kRbAncestorLeft ? SetupRadio::AncestorLeft
                                                 : SetupRadio::DerivateLeft;
      events_->RadioClicked(radio);
      break;
    }
  }
}

Text Win32SetupWindow::Path() {
  return WindowText(Control(kEd));
}

void Win32SetupWindow::SetPath(const Text& path) {
  SetWindowTextW(Control(kEd), Wide(path).c_str());
}

Text Win32SetupWindow::Arguments() {
  return WindowText(Control(kEdtArgs));
}

void Win32SetupWindow::SetArguments(const Text& arguments) {
  SetWindowTextW(Control(kEdtArgs), Wide(arguments).c_str());
}

bool Win32SetupWindow::Checked(SetupRadio radio) {
  return SendMessageW(Control(RadioId(radio)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32SetupWindow::SetChecked(SetupRadio radio, bool checked) {
  SendMessageW(Control(RadioId(radio)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  KeepTabStopOnChecked();
}

bool Win32SetupWindow::PanelVisible() {
  return IsWindowVisible(Control(kPnl)) != FALSE;
}

void Win32SetupWindow::SetPanelVisible(bool visible) {
  ShowWindow(Control(kPnl), visible ? SW_SHOW : SW_HIDE);
}

ModalResult Win32SetupWindow::ShowModal(ISetupWindowEvents& events) {
  if (!dialog_) return ModalResult::Cancel;
  events_ = &events;
  result_ = ModalResult::None;
  HWND owner = GetWindow(dialog_, GW_OWNER);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(dialog_, SW_SHOWNORMAL);
  SetForegroundWindow(dialog_);
  if (HWND first = GetNextDlgTabItem(dialog_, nullptr, FALSE)) SetFocus(first);

  MSG msg;
  while (result_ == ModalResult::None) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      result_ = ModalResult::Cancel;
      break;
    }
    if (!IsDialogMessageW(dialog_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    KeepDefaultButton();
  }
  // The owner comes back before the dialog goes, so activation returns to it.
  if (owner) EnableWindow(owner, TRUE);
  ShowWindow(dialog_, SW_HIDE);
  events_ = nullptr;
  return result_;
}

void Win32SetupWindow::Close(ModalResult result) {
  result_ = result;
}

bool Win32SetupWindow::ClosedWhileBusy() {
  MSG msg;
  while (result_ == ModalResult::None && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      result_ = ModalResult::Cancel;
      break;
    }
    // Typing and clicking wait until OK has done its work; Esc, the Cancel button and the
    // window's own frame (its close box and system menu) still close the window.
    bool key = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
               msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSKEYUP &&
               msg.message != WM_SYSCHAR;
    if (key && msg.wParam != VK_ESCAPE) continue;
    bool mouse = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
    if (mouse && msg.hwnd != Control(kNee)) continue;
    if (!IsDialogMessageW(dialog_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return result_ != ModalResult::None;
}

std::optional<Text> Win32SetupWindow::OpenProgramFile(const Text& initialFile) {
  std::vector<wchar_t> file(32768, L'\0');
  std::wstring initial = Wide(initialFile);
  if (initial.size() < file.size()) std::copy(initial.begin(), initial.end(), file.begin());
  static const wchar_t kFilter[] = L"Program Files (*.exe)\0*.exe\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = dialog_;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_DONTADDTORECENT |
              OFN_EXPLORER | OFN_HIDEREADONLY;
  VELMORA_SYSTEM_FUNCTION(getOpenFileName, L"comdlg32.dll", GetOpenFileNameW);
  EnterComApartment();  // the dialog's shell view needs COM
  if (!getOpenFileName || !getOpenFileName(&ofn)) return std::nullopt;
  return FromWide(file.data(), wcslen(file.data()));
}

}  // namespace velmora::platform
