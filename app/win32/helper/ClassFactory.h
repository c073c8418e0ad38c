// CoVelmora's class object: makes a VelmoraObject for each client.
#pragma once

#include <windows.h>

#include <unknwn.h>

namespace velmora::helper {

class ServerProcess;

// Lives as long as the message loop; COM's references to it do not decide its life.
// COM interfaces are released, never deleted through the interface, so their destructors
// are not virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(ServerProcess& server) : server_(server) {}
  virtual ~ClassFactory() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  ServerProcess& server_;
};
#pragma GCC diagnostic pop

}  // namespace velmora::helper
