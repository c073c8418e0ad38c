// Files and directories with Windows semantics: case-insensitive names, attributes,
// 8.3 alternate names, sharing.
#pragma once

#include <cstdint>
#include <memory>
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
inline constexpr uint32_t kAttrReparsePoint = 0x400;

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

// How an entry is opened by OpenEntry.
enum class EntryAccess {
  Inspect,  // attributes only, the entry itself (a link at the end is not followed)
  Resolve,  // attributes only, through a link at the end to its target
  Delete,   // the entry itself, for deletion; fails while another process holds it open
            // without sharing deletion
};

// Which file an open handle refers to, whatever its path: the volume's serial number and the
// file's ID on it (GetFileInformationByHandle). A file deleted and made again under the same
// name gets another ID.
struct FileIdentity {
  uint32_t volumeSerial = 0;
  uint64_t fileId = 0;
  bool operator==(const FileIdentity&) const = default;
};

// A lock on a file, held by this process until the object is destroyed (or the process ends).
class IFileLock {
 public:
  virtual ~IFileLock() = default;
};

// An entry held open by handle, so that what is judged is what gets deleted.
class IOpenEntry {
 public:
  virtual ~IOpenEntry() = default;
  // GetFinalPathNameByHandleW: the path with every link and junction resolved, in the plain
  // form (C:\... or \\server\share\...), without the \\?\ prefix; empty on failure.
  virtual Text FinalPath() = 0;
  // The attributes of the opened entry.
  virtual uint32_t Attributes() = 0;
  // The opened entry's identity; none when it cannot be read.
  virtual std::optional<FileIdentity> Identity() = 0;
  // Deletes the entry through the handle (opened with EntryAccess::Delete), clearing its
  // read-only attribute first. 0 on success, else the error code.
  virtual uint32_t Delete() = 0;
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
  // Opens a file or folder (CreateFileW with FILE_FLAG_BACKUP_SEMANTICS, sharing everything);
  // null on failure, with the error code in `error`.
  virtual std::unique_ptr<IOpenEntry> OpenEntry(const Text& path, EntryAccess access,
                                                uint32_t* error) = 0;
  // Replaces a file as one step: writes `freshPath`, flushes it to disk, then moves it over
  // `path`. A failure at any point leaves the old file as it was. 0 on success, else the error
  // code.
  virtual uint32_t ReplaceWhole(const Text& path, const std::vector<uint8_t>& bytes,
                                const Text& freshPath) = 0;
  // The same, written beside it as `path` with ".new" appended.
  uint32_t ReplaceWhole(const Text& path, const std::vector<uint8_t>& bytes) {
    return ReplaceWhole(path, bytes, path + u".new");
  }
  // FindFirstFileW / FindNextFileW: every entry of a folder that matches the pattern's last
  // element ("*" and "?" as Windows reads them).
  virtual std::vector<FoundEntry> FindAll(const Text& pattern) = 0;
  // Opens (creating it when missing) `path` shared with no one, so that only one process at a
  // time holds it; waits up to `waitMs` while another process does. Null on failure, with the
  // error code in `error` (a sharing violation while another process holds it).
  virtual std::unique_ptr<IFileLock> Lock(const Text& path, uint32_t waitMs, uint32_t* error) = 0;
  // CreateDirectoryW; 0 on success, else the error code (183 when it exists).
  virtual uint32_t CreateFolder(const Text& path) = 0;
};

}  // namespace velmora::platform
