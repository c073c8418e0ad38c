// VelmoraHelper.exe: the deferred-deletion COM server. A GUI-subsystem program that never
// shows a window.
//   /regserver, /unregserver  register or unregister it; exit code 0, else the error code
//   -Embedding                started by COM for a client
//   no arguments              finishes what an earlier run left pending, then ends
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "app/win32/helper/ModulePath.h"
#include "app/win32/helper/Registration.h"
#include "app/win32/helper/ServerProcess.h"
#include "helper/DeferredDeletion.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"

namespace {

enum class Mode { Register, Unregister, Embedding, Resume, Unknown };

// Switches start with "/" or "-" and are read regardless of letter case.
Mode ModeOf(int argc, wchar_t** argv) {
  if (argc < 2) return Mode::Resume;
  const wchar_t* arg = argv[1];
  if (arg[0] != L'/' && arg[0] != L'-') return Mode::Unknown;
  ++arg;
  if (lstrcmpiW(arg, L"regserver") == 0) return Mode::Register;
  if (lstrcmpiW(arg, L"unregserver") == 0) return Mode::Unregister;
  if (lstrcmpiW(arg, L"embedding") == 0 || lstrcmpiW(arg, L"automation") == 0)
    return Mode::Embedding;
  return Mode::Unknown;
}

int Serve(bool activated) {
  // Nothing may escape as an abort: that could put a window on the user's screen.
  try {
    velmora::platform::Win32FileSystem files;
    velmora::platform::Win32Environment environment;
    // The process ID names this process's own files beside the pending list.
    velmora::DeferredDeletion work(files, environment, velmora::ToDecimal(GetCurrentProcessId()));
    velmora::helper::ServerProcess server(work);
    return server.Run(activated);
  } catch (...) {
    return 1;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Mode mode = argv ? ModeOf(argc, argv) : Mode::Unknown;
  if (argv) LocalFree(argv);

  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int code = 0;
  switch (mode) {
    case Mode::Register:
      code = static_cast<int>(velmora::helper::RegisterServer(velmora::helper::ModulePath()));
      break;
    case Mode::Unregister:
      code = static_cast<int>(velmora::helper::UnregisterServer());
      break;
    case Mode::Embedding:
      code = Serve(true);
      break;
    case Mode::Resume:
      code = Serve(false);
      break;
    case Mode::Unknown:
      code = ERROR_INVALID_PARAMETER;
      break;
  }
  CoUninitialize();
  return code;
}
