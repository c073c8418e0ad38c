// Child programs through CreateProcessW and waits with the results of WaitForInputIdle and
// WaitForSingleObject that answer messages sent to this thread meanwhile; the process's own
// command line and module path.
#pragma once

#include "platform/ProcessInfo.h"
#include "platform/Processes.h"

namespace velmora::platform {

class Win32Processes : public IProcesses {
 public:
  StartResult Start(const ProcessStart& start) override;
};

class Win32ProcessInfo : public IProcessInfo {
 public:
  Text CommandLine() override;
  Text ModulePath() override;
};

}  // namespace velmora::platform
