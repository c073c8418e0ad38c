// What a stand-in child program writes for the tests, in UTF-8, to the file named like its own
// program file with ".cmdline" appended: its command line, and for its first two arguments
// (the two files a comparison program is given) whether they exist, their size and a digest.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <string>

#include "ToolSupport.h"

// "exists=1 size=N digest=XXXXXXXXXXXXXXXX" (FNV-1a, 64 bits) or "exists=0".
inline std::string StandInDescribe(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "exists=0";
  uint64_t hash = 1469598103934665603ull;
  uint64_t size = 0;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    for (DWORD i = 0; i < got; ++i) {
      hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    }
    size += got;
  }
  CloseHandle(file);
  char text[80];
  wsprintfA(text, "exists=1 size=%lu digest=%08lx%08lx", static_cast<unsigned long>(size),
            static_cast<unsigned long>(hash >> 32), static_cast<unsigned long>(hash & 0xFFFFFFFF));
  return text;
}

// How long the stand-in stays: VELMORA_STANDIN_MS, else the given default.
inline UINT StandInLifetimeMs(UINT fallback) {
  wchar_t value[32] = {};
  if (GetEnvironmentVariableW(L"VELMORA_STANDIN_MS", value, 32) == 0) return fallback;
  return static_cast<UINT>(_wtoi(value));
}

inline void StandInWriteRecord() {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring path = std::wstring(module) + L".cmdline";
  std::string body = ToolUtf8(GetCommandLineW());
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i <= 2 && i < argc; ++i) {
    body +=
        "\nfile" + std::to_string(i) + "=" + ToolUtf8(argv[i]) + "\n" + StandInDescribe(argv[i]);
  }
  if (argv) LocalFree(argv);
  ToolWriteFile(path.c_str(), body);
}
