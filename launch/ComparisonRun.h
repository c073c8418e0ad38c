// The Beyond Compare run once its entry conditions have held.
#pragma once

#include "support/Text.h"

namespace velmora {

class IComparisonRun {
 public:
  virtual ~IComparisonRun() = default;
  // Serves the request in `parameterFile` with the comparison program `bc2Path`; `isBC3` tells
  // whether that program is Beyond Compare 3's launcher. Errors other than a failed start
  // leave the run as exceptions.
  virtual void Run(const Text& bc2Path, const Text& parameterFile, bool isBC3) = 0;
};

}  // namespace velmora
