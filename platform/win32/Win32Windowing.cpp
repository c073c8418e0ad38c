#include "platform/win32/Win32Windowing.h"

#include <windows.h>

#include "platform/win32/Win32SetupWindow.h"

namespace velmora::platform {

namespace {

constexpr wchar_t kOwnerClass[] = L"VelmoraApplication";
constexpr wchar_t kWorkerClass[] = L"TfrmInvisible";

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kOwnerClass;
  RegisterClassExW(&wc);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWorkerClass;
  RegisterClassExW(&wc);
}

HWND AsHwnd(void* window) {
  return static_cast<HWND>(window);
}

}  // namespace

void Win32Windowing::RunWorker(IWorkerForm& form) {
  form.FormCreate();
  // The worker has no pixels to show, so it is never mapped: showing it only to hide it again
  // would make some window systems wait for the hide to take effect (seconds under X11 without
  // a window manager). Its show event runs all the same.
  form.FormShow();

  MSG msg;
  while (!closed_) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) break;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    if (idle_) {
      auto handler = idle_;  // the handler may remove itself
      handler();
      continue;
    }
    WaitMessage();
  }
  if (IsWindow(AsHwnd(worker_))) DestroyWindow(AsHwnd(worker_));
  if (IsWindow(AsHwnd(owner_))) DestroyWindow(AsHwnd(owner_));
  worker_ = owner_ = nullptr;
}

// The windows exist only once something is to be seen: a request whose windows all stay
// hidden never creates one, and so never loads the window system's driver.
void Win32Windowing::CreateWindows() {
  if (owner_) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClasses(instance);
  // The owner stands for the program in the taskbar while it is visible; it never is during a
  // request, and the worker it owns gets no taskbar button of its own.
  owner_ = CreateWindowExW(0, kOwnerClass, L"Velmora",
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
  worker_ = CreateWindowExW(0, kWorkerClass, L"Invisible Form", WS_POPUP, 0, 0, workerWidth_,
                            workerHeight_, AsHwnd(owner_), nullptr, instance, nullptr);
}

void Win32Windowing::CloseWorker() {
  closed_ = true;
  if (worker_ && IsWindow(AsHwnd(worker_))) DestroyWindow(AsHwnd(worker_));
  PostQuitMessage(0);
}

void Win32Windowing::SetWorkerSize(int width, int height) {
  workerWidth_ = width;
  workerHeight_ = height;
  if (worker_) {
    SetWindowPos(AsHwnd(worker_), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Windowing::Show(AppWindow window, int command) {
  if (command == SW_HIDE && !owner_) return;  // a window never created is hidden already
  CreateWindows();
  HWND hwnd = AsHwnd(window == AppWindow::Owner ? owner_ : worker_);
  if (hwnd) ShowWindow(hwnd, command);
}

int16_t Win32Windowing::AsyncKeyState(int virtualKey) {
  return GetAsyncKeyState(virtualKey);
}

std::unique_ptr<ISetupWindow> Win32Windowing::CreateSetupWindow() {
  return std::make_unique<Win32SetupWindow>(AsHwnd(owner_));
}

}  // namespace velmora::platform
