// Access to the deferred-deletion server's COM object.
#pragma once

#include <cstdint>

#include "support/Text.h"

namespace velmora::platform {

// How creating the object and calling AddTempFile went.
struct ComCallResult {
  enum class Stage {
    Ok,
    CreateFailed,      // CoCreateInstance failed
    InterfaceMissing,  // the object does not offer the interface
    CallFailed,        // the method returned a negative HRESULT
  };
  Stage stage = Stage::Ok;
  int32_t hresult = 0;
  Text description;  // the call's COM error information, empty when there is none
};

class IComServer {
 public:
  virtual ~IComServer() = default;
  // COM for this thread as a single-threaded apartment, asked for once at start-up; the real
  // platform enters it just before the first COM call.
  virtual void InitializeApartment() = 0;
  // CoCreateInstance(clsid, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IUnknown), a query
  // for `iid` (a dual interface whose first own method takes one BSTR), that call with `path`,
  // and the release of both interfaces.
  virtual ComCallResult AddTempFile(const Text& clsid, const Text& iid, const Text& path) = 0;
  // The system's text for an HRESULT, empty when it has none.
  virtual Text ErrorText(int32_t hresult) = 0;
};

}  // namespace velmora::platform
