// Every real Windows service in one place, handed to the core as a Platform.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32ComServer.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FileVersion.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32ProgramFolders.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32Windowing.h"

namespace velmora::platform {

struct Win32Platform {
  Win32Registry registry;
  Win32Processes processes;
  Win32ProcessInfo self;
  Win32Windowing windowing;
  Win32Shell shell;
  Win32FileSystem files;
  Win32SystemInfo system;
  Win32Environment environment;
  Win32Locale locale;
  Win32ComServer com;
  Win32Dialogs dialogs;
  Win32Clock clock;
  Win32FileVersion versions;
  Win32ProgramFolders folders;

  Platform platform{registry,    processes, self, windowing, shell, files,    system,
                    environment, locale,    com,  dialogs,   clock, versions, folders};
};

}  // namespace velmora::platform
