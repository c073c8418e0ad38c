// Files and directories with Windows semantics: case-insensitive names, attributes,
// 8.3 alternate names, sharing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "support/Text.h"

namespace velmora::platform {

inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
inline constexpr uint32_t kAttrReadOnly = 0x1;
inline constexpr uint32_t kAttrHidden = 0x2;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
inline constexpr uint32_t kAttrNormal = 0x80;
inline constexpr uint32_t kAttrNotContentIndexed = 0x2000;

// One entry found by FindFirstFileW.
struct FoundEntry {
  uint32_t attributes = 0;
  Text fileName;       // the long name as stored on disk
  Text alternateName;  // the 8.3 name, empty when the long name needs none
};

// Who else may use a file while it is open.
enum class Sharing {
  ReadOnly,   // FILE_SHARE_READ: others may read, none may write
  ReadWrite,  // FILE_SHARE_READ | FILE_SHARE_WRITE
  Exclusive,  // no sharing
};

struct ReadResult {
  bool ok = false;
  uint32_t error = 0;
  std::vector<uint8_t> bytes;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // GetFileAttributesW; kInvalidFileAttributes on failure, with the error code in `error`.
  virtual uint32_t Attributes(const Text& path, uint32_t* error = nullptr) = 0;
  // SetFileAttributesW; 0 on success, else the error code.
  virtual uint32_t SetAttributes(const Text& path, uint32_t attributes) = 0;
  // FindFirstFileW / FindClose.
  virtual std::optional<FoundEntry> FindFirst(const Text& path) = 0;
  // MoveFileW; 0 on success, else the error code.
  virtual uint32_t Move(const Text& from, const Text& to) = 0;
  // DeleteFileW; 0 on success, else the error code.
  virtual uint32_t Delete(const Text& path) = 0;
  // Opens an existing file with read access and the given sharing, and reads it whole.
  virtual ReadResult ReadWhole(const Text& path, Sharing sharing) = 0;
  // Creates or replaces a file, open to no other process while it is written.
  // 0 on success, else the error code.
  virtual uint32_t WriteWhole(const Text& path, const std::vector<uint8_t>& bytes) = 0;
  // GetFullPathNameW: the path made absolute against the current directory, "." and ".."
  // resolved; the path as given when that fails.
  virtual Text FullPathName(const Text& path) = 0;
};

}  // namespace velmora::platform
