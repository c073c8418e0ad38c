// In-memory environment variables and temporary path with the Win32 sizing protocol.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "platform/Environment.h"

namespace velmora::platform {

class MemoryEnvironment : public IEnvironment {
 public:
  MemoryEnvironment();

  // IEnvironment
  uint32_t ExpandStrings(const Text& source, char16_t* buffer, uint32_t size) override;
  uint32_t TempPath(uint32_t size, char16_t* buffer) override;

  // Setup. Variable names ignore letter case, as on Windows.
  void SetVariable(const Text& name, const Text& value);
  void RemoveVariable(const Text& name);
  std::optional<Text> Variable(const Text& name) const;
  void SetTempPath(const Text& path);  // default C:\Temp\ .
  void FailExpand(bool fail = true);
  void FailTempPath(bool fail = true);

  // The expansion itself: %NAME% of defined variables replaced, others kept as written.
  Text Expand(const Text& source) const;

 private:
  std::map<Text, Text> variables_;  // by folded name
  Text tempPath_;
  bool failExpand_ = false;
  bool failTempPath_ = false;
};

}  // namespace velmora::platform
