// The program's entry: decides between the stand-alone setup dialog and the worker.
#pragma once

#include "launch/ComparisonRun.h"
#include "platform/Platform.h"
#include "settings/SetupDialog.h"

namespace velmora {

// Returns the process exit code: 0 on every normal end.
int ProgramMain(platform::Platform& platform, ISetupDialog& setup, IComparisonRun& comparison);

}  // namespace velmora
