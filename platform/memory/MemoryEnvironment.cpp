#include "platform/memory/MemoryEnvironment.h"

#include <algorithm>

#include "platform/memory/CaseFold.h"

namespace velmora::platform {

MemoryEnvironment::MemoryEnvironment() : tempPath_(u"C:\\Temp\\") {}

void MemoryEnvironment::SetVariable(const Text& name, const Text& value) {
  variables_[FoldCase(name)] = value;
}

void MemoryEnvironment::RemoveVariable(const Text& name) {
  variables_.erase(FoldCase(name));
}

std::optional<Text> MemoryEnvironment::Variable(const Text& name) const {
  auto it = variables_.find(FoldCase(name));
  if (it == variables_.end()) return std::nullopt;
  return it->second;
}

void MemoryEnvironment::SetTempPath(const Text& path) {
  tempPath_ = path;
}
void MemoryEnvironment::FailExpand(bool fail) {
  failExpand_ = fail;
}
void MemoryEnvironment::FailTempPath(bool fail) {
  failTempPath_ = fail;
}

// Like Windows: a reference to an undefined variable is copied whole, percent signs included,
// and the scan goes on after its closing percent sign; a lone percent sign is copied.
Text MemoryEnvironment::Expand(const Text& source) const {
  Text out;
  size_t pos = 0;
  while (pos < source.size()) {
    size_t open = source.find(u'%', pos);
    size_t close = open == Text::npos ? Text::npos : source.find(u'%', open + 1);
    if (close == Text::npos) {
      out.append(source, pos, Text::npos);
      break;
    }
    out.append(source, pos, open - pos);
    auto value = Variable(source.substr(open + 1, close - open - 1));
    if (value && close > open + 1)
      out += *value;
    else
      out.append(source, open, close - open + 1);
    pos = close + 1;
  }
  return out;
}

uint32_t MemoryEnvironment::ExpandStrings(const Text& source, char16_t* buffer, uint32_t size) {
  if (failExpand_) return 0;
  Text expanded = Expand(source);
  auto needed = static_cast<uint32_t>(expanded.size() + 1);
  if (buffer != nullptr && size >= needed) {
    std::copy(expanded.begin(), expanded.end(), buffer);
    buffer[expanded.size()] = u'\0';
  }
  return needed;
}

uint32_t MemoryEnvironment::TempPath(uint32_t size, char16_t* buffer) {
  if (failTempPath_) return 0;
  auto needed = static_cast<uint32_t>(tempPath_.size() + 1);
  if (buffer == nullptr || size < needed) return needed;
  std::copy(tempPath_.begin(), tempPath_.end(), buffer);
  buffer[tempPath_.size()] = u'\0';
  return needed - 1;
}

}  // namespace velmora::platform
