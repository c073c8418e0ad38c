// In-memory shell, message boxes and COM server: record what was asked, answer as scripted.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/ComServer.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

namespace velmora::platform {

class MemoryDialogs : public IDialogs {
 public:
  struct Shown {
    Text caption;
    Text text;
  };
  void ErrorBox(const Text& caption, const Text& text) override {
    boxes.push_back({caption, text});
  }
  void ErrorDialog(const Text& text) override { boxes.push_back({u"Error", text}); }

  std::vector<Shown> boxes;
};

class MemoryShell : public IShell {
 public:
  struct Call {
    Text operation, file, parameters, directory;
    int showCommand;
  };
  ShellResult Execute(const Text& operation, const Text& file, const Text& parameters,
                      const Text& directory, int showCommand) override {
    calls.push_back({operation, file, parameters, directory, showCommand});
    if (onExecute) onExecute(calls.back());
    return result;
  }

  std::vector<Call> calls;
  ShellResult result{42, 0};
  std::function<void(const Call&)> onExecute;
};

class MemoryComServer : public IComServer {
 public:
  void InitializeApartment() override { ++initializeCalls; }
  ComCallResult AddTempFile(const Text& clsid, const Text& iid, const Text& path) override {
    calls.push_back({clsid, iid, path});
    return result;
  }
  Text ErrorText(int32_t hresult) override {
    return hresult == int32_t(0x80040154) ? Text(u"Class not registered") : Text();
  }

  struct Call {
    Text clsid, iid, path;
  };
  int initializeCalls = 0;
  std::vector<Call> calls;
  ComCallResult result;
};

}  // namespace velmora::platform
