// The rules by which the process's command line is split into arguments.
#pragma once

#include "support/Text.h"

namespace velmora {

class CommandLineArgs {
 public:
  // `commandLine` as the platform reports it; `modulePath` is argument 0.
  CommandLineArgs(Text commandLine, Text modulePath);

  // Tokens after the program's own; counting stops at the first token that comes out empty.
  int Count() const;
  // Argument 0 is the program file's path; arguments past the count are empty.
  Text Argument(int index) const;
  // The argument whose number equals the count: the parameter file.
  Text Last() const { return Argument(Count()); }

 private:
  Text commandLine_;
  Text modulePath_;
};

}  // namespace velmora
