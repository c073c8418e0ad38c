// "/regserver" and "/unregserver": the server's entries under HKEY_CLASSES_ROOT.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::helper {

// Registers the type library (TypeLib\{…} and Interface\{…} with the type-library marshaller),
// then makes CLSID\{…} with its LocalServer32 appear in one step, so that the class key's
// presence means the server is ready. 0 on success, else the error code.
DWORD RegisterServer(const std::wstring& modulePath);

// Removes the type library's and the interface's entries, then the class key last, so that
// its absence means everything is gone. Entries already missing count as removed.
// 0 on success, else the error code.
DWORD UnregisterServer();

}  // namespace velmora::helper
