#include "platform/win32/Win32Dialogs.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/ComApartment.h"
#include "platform/win32/SystemLibrary.h"
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

ShellResult Win32Shell::Execute(const Text& operation, const Text& file, const Text& parameters,
                                const Text& directory, int showCommand) {
  VELMORA_SYSTEM_FUNCTION(shellExecute, L"shell32.dll", ShellExecuteW);
  ShellResult result;
  if (!shellExecute) {
    result.lastError = GetLastError();
    return result;
  }
  EnterComApartment();  // the shell may hand the start to a COM extension
  HINSTANCE instance = shellExecute(nullptr, Wide(operation).c_str(), Wide(file).c_str(),
                                    Wide(parameters).c_str(), Wide(directory).c_str(), showCommand);
  result.instance = reinterpret_cast<intptr_t>(instance);
  result.lastError = result.instance <= 32 ? GetLastError() : 0;
  return result;
}

}  // namespace velmora::platform
