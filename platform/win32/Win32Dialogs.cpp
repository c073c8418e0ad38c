#include "platform/win32/Win32Dialogs.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/Win32Text.h"

namespace velmora::platform {

namespace {

// No owner window: the box is centred on the screen and stays modal for this task.
void ShowBox(const Text& caption, const Text& text) {
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(),
              MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

void Win32Dialogs::ErrorBox(const Text& caption, const Text& text) {
  ShowBox(caption, text);
}

void Win32Dialogs::ErrorDialog(const Text& text) {
  ShowBox(u"Error", text);
}

std::optional<Text> Win32Dialogs::OpenProgramFile(const Text& initialFile) {
  std::vector<wchar_t> file(32768, L'\0');
  std::wstring initial = Wide(initialFile);
  if (initial.size() < file.size()) std::copy(initial.begin(), initial.end(), file.begin());
  static const wchar_t kFilter[] = L"Program Files (*.exe)\0*.exe\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_DONTADDTORECENT |
              OFN_EXPLORER | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return FromWide(file.data(), wcslen(file.data()));
}

ShellResult Win32Shell::Execute(const Text& operation, const Text& file, const Text& parameters,
                                const Text& directory, int showCommand) {
  HINSTANCE instance =
      ShellExecuteW(nullptr, Wide(operation).c_str(), Wide(file).c_str(), Wide(parameters).c_str(),
                    Wide(directory).c_str(), showCommand);
  ShellResult result;
  result.instance = reinterpret_cast<intptr_t>(instance);
  result.lastError = result.instance <= 32 ? GetLastError() : 0;
  return result;
}

}  // namespace velmora::platform
