#include "app/win32/helper/ClassFactory.h"

#include <new>

#include "app/win32/helper/ServerProcess.h"
#include "app/win32/helper/VelmoraObject.h"

namespace velmora::helper {

HRESULT ClassFactory::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  auto* made = new (std::nothrow) VelmoraObject(server_);
  if (made == nullptr) return E_OUTOFMEMORY;
  HRESULT hr = made->QueryInterface(riid, object);
  made->Release();  // the caller's reference, if any, keeps it
  return hr;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  if (lock)
    server_.AddRef();
  else
    server_.Release();
  return S_OK;
}

}  // namespace velmora::helper
