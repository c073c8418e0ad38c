// A stand-in for the deferred-deletion server's registration: "/regserver" creates the class key
// (with its local-server entry), "/unregserver" removes it. What it does is read from the file
// named like its program with ".mode" appended: "delay=<ms>" acts after that long, "never" does
// nothing; without the file it acts at once. Its command line goes to "<program>.cmdline".
#include <windows.h>

#include <string>

#include "ToolSupport.h"

namespace {

const wchar_t kClassKey[] = L"CLSID\\{3F990032-0766-453D-AC59-3A33A8722940}";

std::wstring ModulePath() {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  return module;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring self = ModulePath();
  std::wstring commandLine = GetCommandLineW();
  // Appends, so a test sees every start.
  std::string record = ToolReadFile((self + L".cmdline").c_str()) + ToolUtf8(commandLine) + "\n";
  ToolWriteFile((self + L".cmdline").c_str(), record);

  std::string mode = ToolReadFile((self + L".mode").c_str());
  if (mode.rfind("never", 0) == 0) return 0;
  if (mode.rfind("delay=", 0) == 0) Sleep(static_cast<DWORD>(atoi(mode.c_str() + 6)));

  if (commandLine.find(L"/unregserver") != std::wstring::npos) {
    return RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey) == ERROR_SUCCESS ? 0 : 1;
  }
  if (commandLine.find(L"/regserver") == std::wstring::npos) return 2;
  HKEY key = nullptr;
  std::wstring server = std::wstring(kClassKey) + L"\\LocalServer32";
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, server.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(self.c_str()),
                 static_cast<DWORD>((self.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return 0;
}
