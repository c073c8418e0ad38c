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

// A name may lead to a named pipe; its server must never act as this process.
constexpr DWORD kNoImpersonation = SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION;

constexpr DWORD kChunk = 1 << 20;  // ReadFile and WriteFile move at most this much per call

// The plain form of a final path: "\\?\C:\x" is "C:\x", "\\?\UNC\s\x" is "\\s\x".
Text PlainPath(const Text& path) {
  if (path.rfind(u"\\\\?\\UNC\\", 0) == 0) return u"\\" + path.substr(7);
  if (path.rfind(u"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

// The handle's object name from NtQueryObject, which has no length limit: "\\??\\C:\\…" under
// Wine, "\\Device\\HarddiskVolume3\\…" or "\\Device\\Mup\\server\\share\\…" on Windows, made
// plain. For paths that GetFinalPathNameByHandleW cannot give: Wine's stops at MAX_PATH.
Text ObjectNamePath(HANDLE handle) {
  struct Name {
    USHORT length;
    USHORT maximumLength;
    PWSTR buffer;
  };
  using QueryObject = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
  constexpr int kObjectNameInformation = 1;
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto query = ntdll ? reinterpret_cast<QueryObject>(
                           reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryObject")))
                     : nullptr;
  if (query == nullptr) return {};
  std::vector<uint8_t> buffer(sizeof(Name) + 65536 * sizeof(wchar_t));
  ULONG returned = 0;
  if (query(handle, kObjectNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
            &returned) < 0)
    return {};
  const auto* name = reinterpret_cast<const Name*>(buffer.data());
  if (name->buffer == nullptr) return {};
  Text nt = FromWide(name->buffer, name->length / sizeof(wchar_t));
  if (nt.rfind(u"\\??\\UNC\\", 0) == 0) return u"\\" + nt.substr(7);
  if (nt.rfind(u"\\??\\", 0) == 0) return nt.substr(4);
  if (nt.rfind(u"\\Device\\Mup\\", 0) == 0) return u"\\" + nt.substr(11);
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    const wchar_t drive[] = {letter, L':', L'\0'};
    wchar_t device[MAX_PATH] = {};
    if (QueryDosDeviceW(drive, device, MAX_PATH) == 0) continue;
    Text prefix = FromWide(device) + u"\\";
    if (nt.rfind(prefix, 0) == 0) return FromWide(drive) + u"\\" + nt.substr(prefix.size());
  }
  return {};
}

class Win32OpenEntry : public IOpenEntry {
 public:
  explicit Win32OpenEntry(HANDLE handle) : file_(handle) {}

  Text FinalPath() override {
    DWORD needed = GetFinalPathNameByHandleW(file_.get(), nullptr, 0, FILE_NAME_NORMALIZED);
    if (needed == 0) return ObjectNamePath(file_.get());
    Text buffer(needed, u'\0');
    DWORD stored =
        GetFinalPathNameByHandleW(file_.get(), Wide(buffer.data()), needed, FILE_NAME_NORMALIZED);
    if (stored == 0 || stored >= needed) return {};
    return PlainPath(buffer.substr(0, stored));
  }

  uint32_t Attributes() override {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file_.get(), FileBasicInfo, &basic, sizeof(basic)))
      return kInvalidFileAttributes;
    return basic.FileAttributes;
  }

  std::optional<FileIdentity> Identity() override {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file_.get(), &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  }

  uint32_t Delete() override {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file_.get(), FileBasicInfo, &basic, sizeof(basic)))
      return GetLastError();
    if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) {
      // Only the attributes change: zero times mean "leave as they are".
      FILE_BASIC_INFO writable{};
      writable.FileAttributes = basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
      if (writable.FileAttributes == 0) writable.FileAttributes = FILE_ATTRIBUTE_NORMAL;
      if (!SetFileInformationByHandle(file_.get(), FileBasicInfo, &writable, sizeof(writable)))
        return GetLastError();
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!SetFileInformationByHandle(file_.get(), FileDispositionInfo, &disposition,
                                    sizeof(disposition)))
      return GetLastError();
    return 0;  // the entry goes when the handle is closed
  }

 private:
  FileHandle file_;
};

// Writes all of `bytes` to the open file in chunks; 0 on success, else the error code.
uint32_t WriteAll(HANDLE file, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD part = static_cast<DWORD>(std::min<size_t>(kChunk, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, part, &written, nullptr)) return GetLastError();
    // A device that takes nothing would keep this loop going for ever.
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  return 0;
}

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
                              FILE_ATTRIBUTE_NORMAL | kNoImpersonation, nullptr));
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
                              FILE_ATTRIBUTE_NORMAL | kNoImpersonation, nullptr));
  if (!file.valid()) return GetLastError();
  return WriteAll(file.get(), bytes);
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

std::unique_ptr<IOpenEntry> Win32FileSystem::OpenEntry(const Text& path, EntryAccess access,
                                                       uint32_t* error) {
  DWORD rights = FILE_READ_ATTRIBUTES;
  // Folders open too, so that they can be told apart.
  DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | kNoImpersonation;
  if (access != EntryAccess::Resolve) flags |= FILE_FLAG_OPEN_REPARSE_POINT;
  if (access == EntryAccess::Delete) rights |= DELETE | FILE_WRITE_ATTRIBUTES;
  HANDLE handle =
      CreateFileW(Wide(path), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (error != nullptr) *error = GetLastError();
    return nullptr;
  }
  if (error != nullptr) *error = 0;
  return std::make_unique<Win32OpenEntry>(handle);
}

uint32_t Win32FileSystem::ReplaceWhole(const Text& path, const std::vector<uint8_t>& bytes,
                                       const Text& fresh) {
  {
    FileHandle file(CreateFileW(Wide(fresh), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | kNoImpersonation, nullptr));
    if (!file.valid()) return GetLastError();
    if (uint32_t error = WriteAll(file.get(), bytes)) return error;
    // On disk before the rename, so that the new name never points at missing content.
    if (!FlushFileBuffers(file.get())) return GetLastError();
  }
  if (!MoveFileExW(Wide(fresh), Wide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return GetLastError();
  return 0;
}

std::vector<FoundEntry> Win32FileSystem::FindAll(const Text& pattern) {
  std::vector<FoundEntry> found;
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(Wide(pattern), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    data.cFileName[MAX_PATH - 1] = L'\0';
    data.cAlternateFileName[13] = L'\0';
    found.push_back(FoundEntry{data.dwFileAttributes, FromWide(data.cFileName),
                               FromWide(data.cAlternateFileName)});
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}

namespace {

class Win32FileLock : public IFileLock {
 public:
  explicit Win32FileLock(HANDLE handle) : file_(handle) {}

 private:
  FileHandle file_;
};

}  // namespace

std::unique_ptr<IFileLock> Win32FileSystem::Lock(const Text& path, uint32_t waitMs,
                                                 uint32_t* error) {
  ULONGLONG deadline = GetTickCount64() + waitMs;
  DWORD pause = 5;
  for (;;) {
    HANDLE handle = CreateFileW(Wide(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | kNoImpersonation, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      if (error != nullptr) *error = 0;
      return std::make_unique<Win32FileLock>(handle);
    }
    DWORD failure = GetLastError();
    if (failure != ERROR_SHARING_VIOLATION || GetTickCount64() >= deadline) {
      if (error != nullptr) *error = failure;
      return nullptr;
    }
    Sleep(pause);
    pause = std::min<DWORD>(pause * 2, 50);
  }
}

uint32_t Win32FileSystem::CreateFolder(const Text& path) {
  return CreateDirectoryW(Wide(path), nullptr) ? 0 : GetLastError();
}

}  // namespace velmora::platform
