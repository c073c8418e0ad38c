// COM on the program's one thread: the apartment and calls to the deferred-deletion server.
#pragma once

#include "platform/ComServer.h"

namespace velmora::platform {

class Win32ComServer : public IComServer {
 public:
  ~Win32ComServer() override;
  void InitializeApartment() override;
  ComCallResult AddTempFile(const Text& clsid, const Text& iid, const Text& path) override;
  Text ErrorText(int32_t hresult) override;

 private:
  bool initialized_ = false;
};

}  // namespace velmora::platform
