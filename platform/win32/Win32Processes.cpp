#include "platform/win32/Win32Processes.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Win32Text.h"

namespace velmora::platform {

namespace {

// Messages other programs send to this thread's windows (a shell's DDE broadcast, for one) are
// answered during the waits: the sender would otherwise hang until the child ends, and for
// ever when the child itself is the sender. Posted messages and input stay queued, so nothing
// else of this program runs meanwhile.
void AnswerSentMessages() {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// What is left of `timeoutMs` since `start`; INFINITE stays INFINITE.
DWORD Remaining(DWORD timeoutMs, ULONGLONG start) {
  if (timeoutMs == INFINITE) return INFINITE;
  ULONGLONG spent = GetTickCount64() - start;
  return spent >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - spent);
}

// WaitForSingleObject's result, answering sent messages while it waits.
DWORD WaitAnswering(HANDLE handle, DWORD timeoutMs) {
  ULONGLONG start = GetTickCount64();
  for (;;) {
    AnswerSentMessages();
    DWORD result =
        MsgWaitForMultipleObjects(1, &handle, FALSE, Remaining(timeoutMs, start), QS_SENDMESSAGE);
    if (result != WAIT_OBJECT_0 + 1) return result;
  }
}

// WaitForInputIdle's result, answering sent messages while it waits. It has no handle to wait
// on, so it is asked in short slices with the messages answered in between.
DWORD WaitForInputIdleAnswering(HANDLE process, DWORD timeoutMs) {
  constexpr DWORD kSliceMs = 20;
  ULONGLONG start = GetTickCount64();
  for (;;) {
    AnswerSentMessages();
    DWORD left = Remaining(timeoutMs, start);
    DWORD result = WaitForInputIdle(process, left < kSliceMs ? left : kSliceMs);
    if (result != WAIT_TIMEOUT || Remaining(timeoutMs, start) == 0) return result;
  }
}

class Win32Child : public IChildProcess {
 public:
  explicit Win32Child(PROCESS_INFORMATION info) : info_(info) {}
  ~Win32Child() override { CloseHandles(); }

  uint32_t WaitUntilReady(uint32_t timeoutMs) override {
    return static_cast<uint32_t>(WaitForInputIdleAnswering(info_.hProcess, timeoutMs));
  }
  uint32_t WaitUntilEnded(uint32_t timeoutMs) override {
    return static_cast<uint32_t>(WaitAnswering(info_.hProcess, timeoutMs));
  }
  std::optional<uint32_t> ExitCode() override {
    DWORD code = 0;
    if (!info_.hProcess || !GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
    return static_cast<uint32_t>(code);
  }
  void CloseHandles() override {
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
    info_.hThread = info_.hProcess = nullptr;
  }

 private:
  PROCESS_INFORMATION info_;
};

}  // namespace

StartResult Win32Processes::Start(const ProcessStart& start) {
  // STARTUPINFOW is zero-filled; its size field is the structure's size on this platform.
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = start.startupFlags;
  startup.wShowWindow = start.showWindow;
  PROCESS_INFORMATION info{};

  std::wstring application = start.applicationName ? Wide(*start.applicationName) : L"";
  // CreateProcessW may write into the command line buffer.
  std::vector<wchar_t> commandLine(start.commandLine.begin(), start.commandLine.end());
  commandLine.push_back(L'\0');

  StartResult result;
  if (!CreateProcessW(start.applicationName ? application.c_str() : nullptr, commandLine.data(),
                      nullptr, nullptr, FALSE, start.creationFlags, nullptr, nullptr, &startup,
                      &info)) {
    result.error = GetLastError();
    return result;
  }
  result.process = std::make_unique<Win32Child>(info);
  return result;
}

Text Win32ProcessInfo::CommandLine() {
  const wchar_t* line = GetCommandLineW();
  return FromWide(line, wcslen(line));
}

Text Win32ProcessInfo::ModulePath() {
  wchar_t buffer[261];
  DWORD length = GetModuleFileNameW(nullptr, buffer, 261);
  return FromWide(buffer, length);
}

}  // namespace velmora::platform
