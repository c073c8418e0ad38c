#include "platform/memory/MemoryProcesses.h"

#include "platform/ErrorCodes.h"

namespace velmora::platform {

namespace {

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
  MemoryChild(MemoryProcesses::Program program, std::shared_ptr<MemoryProcesses::Started> record)
      : program_(program), record_(std::move(record)) {}
  uint32_t WaitUntilReady(uint32_t) override {
    record_->events.push_back(u"ready");
    return program_.readyResult;
  }
  uint32_t WaitUntilEnded(uint32_t) override {
    if (program_.whileRunning) program_.whileRunning();
    record_->events.push_back(u"ended");
    return program_.endResult;
  }
  void CloseHandles() override { record_->events.push_back(u"closed"); }

 private:
  MemoryProcesses::Program program_;
  std::shared_ptr<MemoryProcesses::Started> record_;
};

}  // namespace

void MemoryProcesses::AddProgram(const Text& path, Program program) {
  programs_[UpperAscii(path)] = program;
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
  result.process = std::make_unique<MemoryChild>(it->second, record);
  return result;
}

}  // namespace velmora::platform
