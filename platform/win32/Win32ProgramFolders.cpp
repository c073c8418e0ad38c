#include "platform/win32/Win32ProgramFolders.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace velmora::platform {

namespace {

// FOLDERID_ProgramFilesX64 and FOLDERID_ProgramFilesX86.
constexpr GUID kProgramFilesX64 = {
    0x6D809377, 0x6AF0, 0x444B, {0x89, 0x57, 0xA3, 0x77, 0x3F, 0x02, 0x20, 0x0E}};
constexpr GUID kProgramFilesX86 = {
    0x7C5A40EF, 0xA0FB, 0x4BFC, {0x87, 0x4A, 0xC0, 0xF2, 0xE0, 0xB9, 0xFA, 0x8E}};

// The shell is loaded only when a folder is asked for: a request that finds its comparison
// program in the settings never needs it.
Text KnownFolder(const GUID& id) {
  VELMORA_SYSTEM_FUNCTION(getKnownFolderPath, L"shell32.dll", SHGetKnownFolderPath);
  VELMORA_SYSTEM_FUNCTION(taskMemFree, L"ole32.dll", CoTaskMemFree);
  if (!getKnownFolderPath || !taskMemFree) return Text();
  PWSTR path = nullptr;
  Text folder;
  if (SUCCEEDED(getKnownFolderPath(id, 0, nullptr, &path)) && path) folder = FromWide(path);
  taskMemFree(path);
  while (!folder.empty() && folder.back() == u'\\') folder.pop_back();
  return folder;
}

}  // namespace

Text Win32ProgramFolders::ProgramFiles64() {
  return KnownFolder(kProgramFilesX64);
}

Text Win32ProgramFolders::ProgramFiles32() {
  return KnownFolder(kProgramFilesX86);
}

}  // namespace velmora::platform
