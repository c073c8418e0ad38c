// COM on the program's one thread: the apartment and calls to the deferred-deletion server.
#pragma once

#include "platform/ComServer.h"

namespace velmora::platform {

// The apartment is entered at the first call that needs COM (see ComApartment.h), so that a
// run that never hands a file over does not load COM at all.
class Win32ComServer : public IComServer {
 public:
  void InitializeApartment() override {}
  ComCallResult AddTempFile(const Text& clsid, const Text& iid, const Text& path) override;
  Text ErrorText(int32_t hresult) override;
};

}  // namespace velmora::platform
