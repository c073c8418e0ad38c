#include "platform/win32/Win32FileVersion.h"

#include <windows.h>

#include <vector>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace velmora::platform {

// The version library is loaded at the first read: only a request that may hand an archive to
// the server reads a version.
std::optional<uint32_t> Win32FileVersion::MajorVersion(const Text& path) {
  VELMORA_SYSTEM_FUNCTION(infoSize, L"version.dll", GetFileVersionInfoSizeW);
  VELMORA_SYSTEM_FUNCTION(info, L"version.dll", GetFileVersionInfoW);
  VELMORA_SYSTEM_FUNCTION(queryValue, L"version.dll", VerQueryValueW);
  if (!infoSize || !info || !queryValue) return std::nullopt;
  DWORD ignored = 0;
  DWORD size = infoSize(Wide(path), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> block(size);
  if (!info(Wide(path), 0, size, block.data())) return std::nullopt;
  void* value = nullptr;
  UINT length = 0;
  if (!queryValue(block.data(), L"\\", &value, &length) || !value ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (fixed->dwSignature != 0xFEEF04BD) return std::nullopt;
  return HIWORD(fixed->dwFileVersionMS);
}

}  // namespace velmora::platform
