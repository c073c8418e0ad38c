// The file system through the Win32 file API.
#pragma once

#include "platform/FileSystem.h"

namespace velmora::platform {

class Win32FileSystem : public IFileSystem {
 public:
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
  std::vector<FoundEntry> FindAll(const Text& pattern) override;
  std::unique_ptr<IFileLock> Lock(const Text& path, uint32_t waitMs, uint32_t* error) override;
  uint32_t CreateFolder(const Text& path) override;
};

}  // namespace velmora::platform
