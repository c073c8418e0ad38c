#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace velmora::platform {
namespace {

// Closes the handle when the scope ends, also on early returns.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

DWORD ShareMode(Sharing sharing) {
  switch (sharing) {
    case Sharing::ReadOnly:
      return FILE_SHARE_READ;
    case Sharing::ReadWrite:
      return FILE_SHARE_READ | FILE_SHARE_WRITE;
    case Sharing::Exclusive:
      return 0;
  }
  return 0;
}

constexpr DWORD kChunk = 1 << 20;  // ReadFile and WriteFile move at most this much per call

}  // namespace

uint32_t Win32FileSystem::Attributes(const Text& path, uint32_t* error) {
  DWORD attributes = GetFileAttributesW(Wide(path));
  if (error != nullptr) *error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
  return attributes;
}

uint32_t Win32FileSystem::SetAttributes(const Text& path, uint32_t attributes) {
  return SetFileAttributesW(Wide(path), attributes) ? 0 : GetLastError();
}

std::optional<FoundEntry> Win32FileSystem::FindFirst(const Text& path) {
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(Wide(path), &data);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  // The record's fixed fields are NUL-terminated; a terminator is forced in case one is not.
  data.cFileName[MAX_PATH - 1] = L'\0';
  data.cAlternateFileName[13] = L'\0';
  return FoundEntry{data.dwFileAttributes, FromWide(data.cFileName),
                    FromWide(data.cAlternateFileName)};
}

uint32_t Win32FileSystem::Move(const Text& from, const Text& to) {
  return MoveFileW(Wide(from), Wide(to)) ? 0 : GetLastError();
}

uint32_t Win32FileSystem::Delete(const Text& path) {
  return DeleteFileW(Wide(path)) ? 0 : GetLastError();
}

ReadResult Win32FileSystem::ReadWhole(const Text& path, Sharing sharing) {
  ReadResult result;
  FileHandle file(CreateFileW(Wide(path), GENERIC_READ, ShareMode(sharing), nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    result.error = GetLastError();
    return result;
  }
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0)
    result.bytes.reserve(static_cast<size_t>(size.QuadPart));
  // Read until the end, whatever the size said: the file may change while it is read.
  std::vector<uint8_t> chunk(kChunk);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk.data(), kChunk, &got, nullptr)) {
      result.error = GetLastError();
      result.bytes.clear();
      return result;
    }
    if (got == 0) break;
    result.bytes.insert(result.bytes.end(), chunk.begin(), chunk.begin() + got);
  }
  result.ok = true;
  return result;
}

uint32_t Win32FileSystem::WriteWhole(const Text& path, const std::vector<uint8_t>& bytes) {
  FileHandle file(CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return GetLastError();
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD part = static_cast<DWORD>(std::min<size_t>(kChunk, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data() + done, part, &written, nullptr)) return GetLastError();
    done += written;
  }
  return 0;
}

Text Win32FileSystem::FullPathName(const Text& path) {
  // The size is asked first; the current directory may change in between, so ask again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD needed = GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
    if (needed == 0) return path;
    Text buffer(needed, u'\0');
    DWORD stored = GetFullPathNameW(Wide(path), needed, Wide(buffer.data()), nullptr);
    if (stored == 0) return path;
    if (stored < needed) return buffer.substr(0, stored);
  }
  return path;
}

}  // namespace velmora::platform
