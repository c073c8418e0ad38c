#include "platform/memory/MemoryFileSystem.h"

#include "platform/ErrorCodes.h"

namespace velmora::platform {

struct MemoryFileSystem::Node {};
struct MemoryFileSystem::Lookup {};

MemoryFileSystem::MemoryFileSystem() : currentDir_(u"C:\\") {}
MemoryFileSystem::~MemoryFileSystem() = default;

uint32_t MemoryFileSystem::Attributes(const Text&, uint32_t* error) {
  if (error) *error = kErrorFileNotFound;
  return kInvalidFileAttributes;
}
uint32_t MemoryFileSystem::SetAttributes(const Text&, uint32_t) { return kErrorFileNotFound; }
std::optional<FoundEntry> MemoryFileSystem::FindFirst(const Text&) { return std::nullopt; }
uint32_t MemoryFileSystem::Move(const Text&, const Text&) { return kErrorFileNotFound; }
uint32_t MemoryFileSystem::Delete(const Text&) { return kErrorFileNotFound; }
ReadResult MemoryFileSystem::ReadWhole(const Text&, Sharing) { return {false, 2, {}}; }
uint32_t MemoryFileSystem::WriteWhole(const Text&, const std::vector<uint8_t>&) {
  return kErrorPathNotFound;
}
void MemoryFileSystem::AddDirectory(const Text&) {}
void MemoryFileSystem::AddFile(const Text&, const std::vector<uint8_t>&, uint32_t) {}
void MemoryFileSystem::AddFile(const Text&, std::string_view, uint32_t) {}
void MemoryFileSystem::SetAlternateName(const Text&, const Text&) {}
void MemoryFileSystem::Lock(const Text&) {}
void MemoryFileSystem::LockForWriting(const Text&) {}
void MemoryFileSystem::Unlock(const Text&) {}
void MemoryFileSystem::DenyAccess(const Text&) {}
void MemoryFileSystem::FailMoves(uint32_t error) { moveFailure_ = error; }
void MemoryFileSystem::FailDeletes(uint32_t error) { deleteFailure_ = error; }
void MemoryFileSystem::FailMoveOf(const Text&, uint32_t) {}
void MemoryFileSystem::FailDeleteOf(const Text&, uint32_t) {}
bool MemoryFileSystem::SetCurrentDir(const Text&) { return false; }
Text MemoryFileSystem::CurrentDir() const { return currentDir_; }
bool MemoryFileSystem::Exists(const Text&) { return false; }
bool MemoryFileSystem::IsDirectory(const Text&) { return false; }
std::vector<uint8_t> MemoryFileSystem::Content(const Text&) { return {}; }
std::string MemoryFileSystem::ContentString(const Text&) { return {}; }
uint32_t MemoryFileSystem::AttributesOf(const Text&) { return kInvalidFileAttributes; }
std::vector<Text> MemoryFileSystem::Files() const { return {}; }

}  // namespace velmora::platform
