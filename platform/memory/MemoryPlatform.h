// Every in-memory service in one place, handed to the core as a Platform.
#pragma once

#include "platform/Platform.h"
#include "platform/memory/MemoryClock.h"
#include "platform/memory/MemoryDialogs.h"
#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryFileVersion.h"
#include "platform/memory/MemoryLocale.h"
#include "platform/memory/MemoryProcesses.h"
#include "platform/memory/MemoryProgramFolders.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemInfo.h"
#include "platform/memory/MemoryWindowing.h"

namespace velmora::platform {

struct MemoryPlatform {
  MemoryRegistry registry;
  MemoryProcesses processes;
  MemoryProcessInfo self;
  MemoryWindowing windowing;
  MemoryShell shell;
  MemoryFileSystem files;
  MemorySystemInfo system;
  MemoryEnvironment environment;
  MemoryLocale locale;
  MemoryComServer com;
  MemoryDialogs dialogs;
  MemoryClock clock;
  MemoryFileVersion versions;
  MemoryProgramFolders folders;

  Platform platform{registry,    processes, self, windowing, shell, files,    system,
                    environment, locale,    com,  dialogs,   clock, versions, folders};
};

}  // namespace velmora::platform
