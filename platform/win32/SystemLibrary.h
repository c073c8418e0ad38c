// Functions of system libraries that only some paths need, loaded at their first call: a
// request must not pay at start-up for the shell, the common dialogs, COM or the themed
// controls, which only the setup dialog or a hand-over to the server use.
#pragma once

#include <windows.h>

namespace velmora::platform {

// The function `name` of the system library `library` (from the system folder only, so that no
// file beside the program can stand in for it); null when it cannot be had.
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace velmora::platform

// Declares `local` as the lazily loaded `function` of `library`, resolved once.
#define VELMORA_SYSTEM_FUNCTION(local, library, function) \
  static auto* const local =                              \
      ::velmora::platform::SystemFunction<decltype(function)>(library, #function)
