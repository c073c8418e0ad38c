// Windows error codes the core inspects or the in-memory platform reports.
#pragma once

#include <cstdint>

namespace velmora::platform {

inline constexpr uint32_t kErrorSuccess = 0;
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorFileExists = 80;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorMoreData = 234;
inline constexpr uint32_t kErrorInvalidName = 123;
inline constexpr uint32_t kErrorBadExeFormat = 193;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorCancelled = 1223;

}  // namespace velmora::platform
