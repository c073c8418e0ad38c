// Reads a program file's version resource as the file properties show it and writes it to a
// file: "fixed=a.b.c.d" and one "Name=value" line per string.
//   VersionProbe.exe <program file> <result file>
#include <windows.h>

#include <string>
#include <vector>

#include "ToolSupport.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(argv[1], &ignored);
  if (size == 0) return 1;
  std::vector<char> data(size);
  if (!GetFileVersionInfoW(argv[1], 0, size, data.data())) return 1;
  std::string out;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
    out += "fixed=" + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionLS)) + "\n";
  }
  for (const wchar_t* name : {L"ProductName", L"ProductVersion", L"FileVersion", L"CompanyName",
                              L"FileDescription", L"OriginalFilename"}) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* value = nullptr;
    if (VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) &&
        value) {
      out += ToolUtf8(name) + "=" + ToolUtf8(std::wstring(value, wcsnlen(value, length))) + "\n";
    }
  }
  ToolWriteFile(argv[2], out);
  return 0;
}
