// Reads message boxes of other processes the way a user sees them: caption, text and the icon
// they show, and answers them with OK.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "ToolSupport.h"

inline std::wstring TextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

// Visible top-level windows of other processes with this window class, in z-order.
inline std::vector<HWND> OtherProcessWindows(const std::wstring& windowClass) {
  struct Search {
    const std::wstring& windowClass;
    std::vector<HWND> found;
  } search{windowClass, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t cls[64] = {};
        GetClassNameW(window, cls, 64);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != GetCurrentProcessId() && IsWindowVisible(window) && s->windowClass == cls) {
          s->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Visible message boxes of other processes: dialogs whose text is in the static control
// 0xFFFF (file dialogs and other dialogs are not message boxes).
inline std::vector<HWND> FindBoxes() {
  std::vector<HWND> boxes;
  for (HWND dialog : OtherProcessWindows(L"#32770")) {
    if (GetDlgItem(dialog, 0xFFFF)) boxes.push_back(dialog);
  }
  return boxes;
}

// A 32-bit top-down bitmap selected into a memory device context.
class Canvas {
 public:
  Canvas(int width, int height) : count_(static_cast<size_t>(width) * height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  DWORD* Bits() const { return bits_; }
  std::vector<DWORD> Pixels() const {
    GdiFlush();
    return std::vector<DWORD>(bits_, bits_ + count_);
  }

 private:
  size_t count_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  DWORD* bits_ = nullptr;
};

// Copies what the screen shows at a place into 32-bit pixels.
inline std::vector<DWORD> Capture(HDC source, int x, int y, int width, int height) {
  Canvas canvas(width, height);
  BitBlt(canvas.Dc(), 0, 0, width, height, source, x, y, SRCCOPY);
  return canvas.Pixels();
}

// Draws one of the system's message icons on the background colour found in a corner.
inline std::vector<DWORD> Render(LPCWSTR id, int width, int height, DWORD background) {
  Canvas canvas(width, height);
  std::fill(canvas.Bits(), canvas.Bits() + static_cast<size_t>(width) * height, background);
  DrawIconEx(canvas.Dc(), 0, 0, LoadIconW(nullptr, id), width, height, 0, nullptr, DI_NORMAL);
  return canvas.Pixels();
}

inline long long Distance(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  long long sum = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                      static_cast<int>((b[i] >> shift) & 0xFF));
    }
  }
  return sum;
}

// The icon a message box shows, told by its pixels: icon handles belong to the process that
// loaded them, so the box's icon is compared on screen with the system's four message icons.
inline std::string IconKind(HWND box) {
  HWND found = nullptr;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child)) {
          *reinterpret_cast<HWND*>(param) = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  if (!found) return "none";
  RECT rect{};
  GetClientRect(found, &rect);
  int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
  if (rect.right < width || rect.bottom < height) return "none";
  // Read from the screen: another process's window surface is not ours to read.
  RECT onScreen{};
  GetWindowRect(found, &onScreen);
  HDC dc = GetDC(nullptr);
  std::vector<DWORD> shown = Capture(dc, onScreen.left, onScreen.top, width, height);
  ReleaseDC(nullptr, dc);
  DWORD background = shown.empty() ? 0 : shown[0];
  struct Kind {
    LPCWSTR id;
    const char* name;
  } kinds[] = {{IDI_HAND, "error"},
               {IDI_EXCLAMATION, "warning"},
               {IDI_ASTERISK, "information"},
               {IDI_QUESTION, "question"}};
  const char* best = "other";
  long long bestDistance = -1;
  for (const auto& kind : kinds) {
    long long d = Distance(shown, Render(kind.id, width, height, background));
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = kind.name;
    }
  }
  return best;
}

// "caption=...", "text=...", "icon=..." and "---", then presses OK.
inline std::string ReadAndAnswerBox(HWND box) {
  Sleep(100);  // let the box finish drawing its controls
  HWND text = GetDlgItem(box, 0xFFFF);
  std::string record = "caption=" + ToolUtf8(TextOf(box)) + "\n";
  record += "text=" + ToolUtf8(text ? TextOf(text) : L"") + "\n";
  record += "icon=" + IconKind(box) + "\n---\n";
  SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return record;
}
