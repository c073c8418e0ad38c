// The CoVelmora object a client talks to: IVelmora (dual) and ISupportErrorInfo, so that the
// reason for a refused file reaches the client across the process boundary.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "app/win32/helper/HelperGuids.h"

namespace velmora::helper {

class ServerProcess;

// COM interfaces are released, never deleted through the interface, so their destructors
// are not virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class VelmoraObject final : public IVelmora, public ISupportErrorInfo {
 public:
  // Starts with one reference, the creator's; holds the server process while it lives.
  explicit VelmoraObject(ServerProcess& server);
  virtual ~VelmoraObject();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch, through the embedded type library
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;
  // IVelmora
  HRESULT STDMETHODCALLTYPE AddTempFile(BSTR fileName) override;
  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

 private:
  ServerProcess& server_;
  LONG refs_ = 1;
};
#pragma GCC diagnostic pop

}  // namespace velmora::helper
