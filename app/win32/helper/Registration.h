// "/regserver" and "/unregserver": the server's entries under HKEY_CLASSES_ROOT and the user's
// logon entry.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::helper {

// Registers the type library (TypeLib\{…} and Interface\{…} with the type-library marshaller)
// and the user's logon entry (HKCU\…\CurrentVersion\Run, value "VelmoraHelper": the program
// without arguments, which finishes what a logoff left pending and ends), then makes CLSID\{…}
// with its LocalServer32 appear in one step, so that the class key's presence means the server
// is ready. 0 on success, else the error code.
DWORD RegisterServer(const std::wstring& modulePath);

// Removes the class key first and in one step (renamed, then deleted), so that an
// unregistration cut short reads as absent, never as present and broken; then the logon entry
// and the type library's and the interface's entries. Entries already missing count as
// removed. 0 on success, else the error code.
DWORD UnregisterServer();

}  // namespace velmora::helper
