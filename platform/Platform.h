// Every Windows service the core uses, one interface each.
#pragma once

#include "platform/Clock.h"
#include "platform/ComServer.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/FileVersion.h"
#include "platform/Locale.h"
#include "platform/ProcessInfo.h"
#include "platform/Processes.h"
#include "platform/ProgramFolders.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/Windowing.h"

namespace velmora::platform {

struct Platform {
  IRegistry& registry;
  IProcesses& processes;
  IProcessInfo& self;
  IWindowing& windowing;
  IShell& shell;
  IFileSystem& files;
  ISystemInfo& system;
  IEnvironment& environment;
  ILocale& locale;
  IComServer& com;
  IDialogs& dialogs;
  IClock& clock;
  IFileVersion& versions;
  IProgramFolders& folders;
};

}  // namespace velmora::platform
