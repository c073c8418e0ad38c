#include "platform/memory/MemoryProcesses.h"

#include <algorithm>

#include "platform/ErrorCodes.h"

namespace velmora::platform {

namespace {

constexpr uint32_t kStillActive = 259;

// The program a command line names when no application name is given: its first token,
// quotes removed.
Text FirstToken(const Text& commandLine) {
  size_t pos = 0;
  while (pos < commandLine.size() && commandLine[pos] <= 32) ++pos;
  if (pos < commandLine.size() && commandLine[pos] == u'"') {
    size_t end = commandLine.find(u'"', pos + 1);
    return commandLine.substr(pos + 1, end == Text::npos ? Text::npos : end - pos - 1);
  }
  size_t end = pos;
  while (end < commandLine.size() && commandLine[end] > 32) ++end;
  return commandLine.substr(pos, end - pos);
}

class MemoryChild : public IChildProcess {
 public:
  MemoryChild(MemoryProcesses::Program program, uint32_t exitCode,
              std::shared_ptr<MemoryProcesses::Started> record)
      : program_(program), exitCode_(exitCode), record_(std::move(record)) {}
  uint32_t WaitUntilReady(uint32_t) override {
    record_->events.push_back(u"ready");
    return program_.readyResult;
  }
  uint32_t WaitUntilEnded(uint32_t) override {
    if (program_.whileRunning) program_.whileRunning();
    record_->events.push_back(u"ended");
    return program_.endResult;
  }
  std::optional<uint32_t> ExitCode() override {
    ++record_->exitCodeReads;
    const auto& events = record_->events;
    if (std::find(events.begin(), events.end(), u"closed") != events.end()) return std::nullopt;
    if (std::find(events.begin(), events.end(), u"ended") == events.end())
      return kStillActive;  // STILL_ACTIVE, as Windows reports a running process
    return exitCode_;
  }
  void CloseHandles() override { record_->events.push_back(u"closed"); }

 private:
  MemoryProcesses::Program program_;
  uint32_t exitCode_;
  std::shared_ptr<MemoryProcesses::Started> record_;
};

}  // namespace

void MemoryProcesses::AddProgram(const Text& path, Program program) {
  programs_[UpperAscii(path)] = program;
}

void MemoryProcesses::SetExitCode(const Text& path, uint32_t code) {
  exitCodes_[UpperAscii(path)] = code;
}

StartResult MemoryProcesses::Start(const ProcessStart& start) {
  auto record = std::make_shared<Started>();
  record->start = start;
  starts_.push_back(record);
  StartResult result;
  if (failWith_ != 0) {
    result.error = failWith_;
    return result;
  }
  Text program = start.applicationName ? *start.applicationName : FirstToken(start.commandLine);
  auto it = programs_.find(UpperAscii(program));
  if (it == programs_.end()) {
    result.error = kErrorFileNotFound;
    return result;
  }
  auto exitCode = exitCodes_.find(UpperAscii(program));
  result.process = std::make_unique<MemoryChild>(
      it->second, exitCode == exitCodes_.end() ? 0 : exitCode->second, record);
  return result;
}

}  // namespace velmora::platform
