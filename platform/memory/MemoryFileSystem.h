// An in-memory file system with Windows semantics, for tests: drives such as C: and UNC shares,
// case-insensitive names that keep their stored case, 8.3 alternate names, attributes, files
// held open by other processes, and injectable failures.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace velmora::platform {

class MemoryFileSystem : public IFileSystem {
 public:
  // Starts with the empty drive C: and C:\ as the current directory.
  MemoryFileSystem();
  ~MemoryFileSystem() override;

  // IFileSystem
  uint32_t Attributes(const Text& path, uint32_t* error = nullptr) override;
  uint32_t SetAttributes(const Text& path, uint32_t attributes) override;
  std::optional<FoundEntry> FindFirst(const Text& path) override;
  uint32_t Move(const Text& from, const Text& to) override;
  uint32_t Delete(const Text& path) override;
  ReadResult ReadWhole(const Text& path, Sharing sharing) override;
  uint32_t WriteWhole(const Text& path, const std::vector<uint8_t>& bytes) override;
  Text FullPathName(const Text& path) override;
  std::unique_ptr<IOpenEntry> OpenEntry(const Text& path, EntryAccess access,
                                        uint32_t* error) override;
  uint32_t ReplaceWhole(const Text& path, const std::vector<uint8_t>& bytes,
                        const Text& freshPath) override;
  using IFileSystem::ReplaceWhole;
  uint32_t CreateFolder(const Text& path) override;
  std::vector<FoundEntry> FindAll(const Text& pattern) override;
  // Locks are held by lock objects; every other holder counts as another process.
  std::unique_ptr<IFileLock> Lock(const Text& path, uint32_t waitMs, uint32_t* error) override;

  // Setup. Missing parent folders (and drives or shares) are created on the way.
  void AddDirectory(const Text& path);
  void AddFile(const Text& path, const std::vector<uint8_t>& bytes,
               uint32_t attributes = kAttrArchive);
  void AddFile(const Text& path, std::string_view bytes = {}, uint32_t attributes = kAttrArchive);
  // Gives an existing file or folder its 8.3 name; an empty name removes it.
  void SetAlternateName(const Text& path, const Text& shortName);
  // Another process holds the file open without sharing: opening, moving and deleting it fail
  // with a sharing violation; its attributes can still be read and set.
  void Lock(const Text& path);
  // Another process has the file open for writing (sharing read and write): reading it with
  // write sharing denied, writing, moving and deleting it fail with a sharing violation.
  void LockForWriting(const Text& path);
  void Unlock(const Text& path);
  // Every access to the entry itself fails with access denied; a search of its folder still
  // finds it.
  void DenyAccess(const Text& path);
  // Makes every move (or delete) fail with `error`; 0 ends that.
  void FailMoves(uint32_t error = kFailDefault);
  void FailDeletes(uint32_t error = kFailDefault);
  // Makes moves (or deletes) of one source path fail with `error`; 0 ends that.
  void FailMoveOf(const Text& path, uint32_t error = kFailDefault);
  void FailDeleteOf(const Text& path, uint32_t error = kFailDefault);
  // Relative paths resolve against this folder, which must exist. False when it does not.
  bool SetCurrentDir(const Text& path);
  Text CurrentDir() const;

  // Inspection. Paths are resolved like the Windows calls resolve them.
  bool Exists(const Text& path);
  bool IsDirectory(const Text& path);
  std::vector<uint8_t> Content(const Text& path);
  std::string ContentString(const Text& path);
  uint32_t AttributesOf(const Text& path);
  // Full paths of all files, in stored case, sorted case-insensitively.
  std::vector<Text> Files() const;

  static constexpr uint32_t kFailDefault = 5;  // access denied

  // A link (a reparse point) at `path` to `target`: a junction or folder link when `folder`,
  // else a file link. Paths through it lead to the target; the link itself is what a search,
  // GetFileAttributesW and a deletion see.
  void AddLink(const Text& path, const Text& target, bool folder);
  // Called before each operation of IFileSystem and of opened entries, so that a test can let
  // another process act between any two steps; none to stop.
  void BeforeEachStep(std::function<void()> step);
  // The next ReplaceWhole stops half-way through writing its ".new" file, as a crash would.
  void TearNextReplace();

 private:
  struct Node;
  struct Lookup;
  static Node* FindChild(const Node& dir, const Text& name);
  Lookup Resolve(const Text& path, bool allowWildcards = false);
  Node* Require(const Text& path);
  Node* MakeDirectories(const Text& path);
  void Collect(const Node& node, std::vector<Text>& out) const;
  Text FullPath(const Node& node) const;

  std::map<Text, std::unique_ptr<Node>> roots_;  // by folded root: "C:" or "\\SERVER\SHARE"
  Text currentDir_;
  uint32_t moveFailure_ = 0;
  uint32_t deleteFailure_ = 0;

  class Opened;
  Node* Follow(Node* node, int depth);
  void Step();
  bool tearNextReplace_ = false;
  std::set<Text> locked_;  // folded paths of the locks held
  std::function<void()> beforeEachStep_;
  bool stepping_ = false;
  class HeldLock;
  int following_ = 0;  // links being followed right now
};

}  // namespace velmora::platform
