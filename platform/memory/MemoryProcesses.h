// In-memory process starts with scripted programs and results, recording what was asked.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/ProcessInfo.h"
#include "platform/Processes.h"

namespace velmora::platform {

class MemoryProcesses : public IProcesses {
 public:
  // How a started program behaves in the waits.
  struct Program {
    uint32_t readyResult = 0;  // kWaitFailed for a program without a message queue
    uint32_t endResult = 0;
    std::function<void()> whileRunning;  // what happens before it ends (the user's time, …)
  };
  // What happened to one started process, in order: "ready", "ended", "closed"; and how often
  // its exit code was read.
  struct Started {
    ProcessStart start;
    std::vector<Text> events;
    int exitCodeReads = 0;
  };

  // Programs are found by their path (case-insensitively); others fail with file not found.
  void AddProgram(const Text& path, Program program);
  void AddProgram(const Text& path) { AddProgram(path, Program{0, 0, nullptr}); }
  // The exit code the program at `path` ends with (0 unless set).
  void SetExitCode(const Text& path, uint32_t code);
  // Every start fails with this error code.
  void FailStarts(uint32_t error) { failWith_ = error; }

  StartResult Start(const ProcessStart& start) override;

  const std::vector<std::shared_ptr<Started>>& Starts() const { return starts_; }

 private:
  std::map<Text, Program> programs_;  // keyed by upper-cased path
  std::map<Text, uint32_t> exitCodes_;
  uint32_t failWith_ = 0;
  std::vector<std::shared_ptr<Started>> starts_;
};

class MemoryProcessInfo : public IProcessInfo {
 public:
  Text commandLine = u"\"C:\\Program Files\\PVCS\\Velmora.exe\"";
  Text modulePath = u"C:\\Program Files\\PVCS\\Velmora.exe";
  Text CommandLine() override { return commandLine; }
  Text ModulePath() override { return modulePath; }
};

}  // namespace velmora::platform
