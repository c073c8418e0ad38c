// One file the server owns until it is deleted: its final path and, to tell it from a file made
// later under the same name, its identity when it was accepted.
#pragma once

#include <optional>

#include "platform/FileSystem.h"
#include "support/Text.h"

namespace velmora {

struct PendingFile {
  Text path;
  // None for entries of lists written before identities were kept.
  std::optional<platform::FileIdentity> identity;

  bool operator==(const PendingFile&) const = default;
};

// The same entry: the same path (letters a to z in either case) and the same identity.
inline bool SamePending(const PendingFile& a, const PendingFile& b) {
  return a.identity == b.identity && EqualsIgnoreAsciiCase(a.path, b.path);
}

}  // namespace velmora
