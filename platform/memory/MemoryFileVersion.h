// In-memory version resources: a major version per program file, set by the test; every read
// is counted, so tests can tell that one was not made.
#pragma once

#include <map>

#include "platform/FileVersion.h"

namespace velmora::platform {

class MemoryFileVersion : public IFileVersion {
 public:
  std::optional<uint32_t> MajorVersion(const Text& path) override;

  // Gives the file at `path` a version resource with this major version.
  void SetMajorVersion(const Text& path, uint32_t major);
  int Reads() const { return reads_; }

 private:
  std::map<Text, uint32_t> majors_;  // by upper-cased path
  int reads_ = 0;
};

}  // namespace velmora::platform
