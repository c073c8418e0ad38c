// Finds message boxes of other processes, writes their caption, text and icon kind to a file
// and answers them with OK, the way a user would.
//   UiProbe.exe <result file> <time limit in ms> <number of boxes to answer>
// Each box becomes one record: "caption=...", "text=...", "icon=error|other|none", "---".
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring TextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::vector<HWND> FindBoxes() {
  std::vector<HWND> boxes;
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(window, cls, 64);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != GetCurrentProcessId() && IsWindowVisible(window) &&
            std::wstring(cls) == L"#32770") {
          reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

// The icon a message box shows, from its icon control: MB_ICONERROR shows the system's hand
// icon. The control's id differs between implementations, so it is found by its style.
std::string IconKind(HWND box) {
  struct Search {
    HICON shown = nullptr;
    bool found = false;
  } search;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child)) {
          auto* s = reinterpret_cast<Search*>(param);
          s->found = true;
          s->shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (!search.found || !search.shown) return "none";
  HICON hand = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_HAND));
  return search.shown == hand ? "error" : "other";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  DWORD limit = static_cast<DWORD>(_wtoi(argv[2]));
  int wanted = _wtoi(argv[3]);
  std::string records;
  int answered = 0;
  DWORD start = GetTickCount();
  while (answered < wanted && GetTickCount() - start < limit) {
    for (HWND box : FindBoxes()) {
      Sleep(100);  // let the box finish drawing its controls
      HWND text = GetDlgItem(box, 0xFFFF);
      records += "caption=" + Utf8(TextOf(box)) + "\n";
      records += "text=" + Utf8(text ? TextOf(text) : L"") + "\n";
      records += "icon=" + IconKind(box) + "\n---\n";
      SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      ++answered;
      Sleep(200);
      break;
    }
    Sleep(50);
  }
  HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, records.data(), static_cast<DWORD>(records.size()), &written, nullptr);
    CloseHandle(file);
  }
  return answered == wanted ? 0 : 1;
}
