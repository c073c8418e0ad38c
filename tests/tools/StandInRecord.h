// What a stand-in child program writes for the tests: its command line, in UTF-8, to the file
// named like its own program file with ".cmdline" appended.
#pragma once

#include <windows.h>

#include <string>

inline std::string StandInUtf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

inline void StandInWriteRecord() {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring path = std::wstring(module) + L".cmdline";
  std::string body = StandInUtf8(GetCommandLineW());
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
  CloseHandle(file);
}
