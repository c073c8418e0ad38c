// Starting child programs and waiting for them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "support/Text.h"

namespace velmora::platform {

inline constexpr uint32_t kInfinite = 0xFFFFFFFF;
inline constexpr uint32_t kStartfUseShowWindow = 0x01;
inline constexpr uint32_t kStartfForceOnFeedback = 0x40;
inline constexpr uint32_t kStartfForceOffFeedback = 0x80;
inline constexpr uint32_t kNormalPriorityClass = 0x20;
inline constexpr uint16_t kSwHide = 0;
inline constexpr uint16_t kSwShowNormal = 1;
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFF;

// What CreateProcessW is given: no security attributes, handles not inherited, this process's
// environment and current directory; a zero-filled STARTUPINFOW with its size set to 68.
struct ProcessStart {
  std::optional<Text> applicationName;  // none: the program is the command line's first token
  Text commandLine;
  uint32_t startupFlags = 0;
  uint16_t showWindow = 0;
  uint32_t creationFlags = kNormalPriorityClass;
};

class IChildProcess {
 public:
  virtual ~IChildProcess() = default;
  // WaitForInputIdle: 0 when ready for input, kWaitFailed when that cannot be determined.
  virtual uint32_t WaitUntilReady(uint32_t timeoutMs) = 0;
  // WaitForSingleObject on the process: 0 when it has ended.
  virtual uint32_t WaitUntilEnded(uint32_t timeoutMs) = 0;
  // GetExitCodeProcess, before the handles are closed; none when it cannot be had.
  virtual std::optional<uint32_t> ExitCode() = 0;
  // Closes the thread handle, then the process handle.
  virtual void CloseHandles() = 0;
};

struct StartResult {
  std::unique_ptr<IChildProcess> process;  // null when the start failed
  uint32_t error = 0;                      // the last error code of a failed start
};

class IProcesses {
 public:
  virtual ~IProcesses() = default;
  virtual StartResult Start(const ProcessStart& start) = 0;
};

}  // namespace velmora::platform
