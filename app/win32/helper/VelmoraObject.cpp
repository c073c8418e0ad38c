#include "app/win32/helper/VelmoraObject.h"

#include <oleauto.h>

#include <exception>

#include "app/win32/helper/ServerProcess.h"
#include "platform/win32/WideText.h"

namespace velmora::helper {

namespace {

HRESULT ResultOf(Verdict::Kind kind) {
  switch (kind) {
    case Verdict::Kind::Accepted:
      return S_OK;
    case Verdict::Kind::InvalidPath:
      return E_INVALIDARG;
    case Verdict::Kind::NotAllowed:
      return E_ACCESSDENIED;
    case Verdict::Kind::Missing:
      return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  }
  return E_UNEXPECTED;
}

// Leaves the description for the client's GetErrorInfo; COM carries it to the other process.
HRESULT Fail(HRESULT hr, const Text& description) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return hr;
  create->SetGUID(IID_IVelmora);
  create->SetSource(const_cast<LPOLESTR>(L"VelmoraHelper.CoVelmora"));
  create->SetDescription(const_cast<LPOLESTR>(platform::Wide(description)));
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
  return hr;
}

}  // namespace

VelmoraObject::VelmoraObject(ServerProcess& server) : server_(server) {
  server_.AddRef();
}

VelmoraObject::~VelmoraObject() {
  server_.Release();
}

HRESULT VelmoraObject::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
      IsEqualIID(riid, IID_IVelmora)) {
    *object = static_cast<IVelmora*>(this);
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    *object = static_cast<ISupportErrorInfo*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG VelmoraObject::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG VelmoraObject::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT VelmoraObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = server_.TypeInfo() ? 1 : 0;
  return S_OK;
}

HRESULT VelmoraObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0 || !server_.TypeInfo()) return DISP_E_BADINDEX;
  *info = server_.TypeInfo();
  (*info)->AddRef();
  return S_OK;
}

HRESULT VelmoraObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!server_.TypeInfo()) return E_NOTIMPL;
  return DispGetIDsOfNames(server_.TypeInfo(), names, count, ids);
}

HRESULT VelmoraObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  if (!server_.TypeInfo()) return E_NOTIMPL;
  return DispInvoke(static_cast<IVelmora*>(this), server_.TypeInfo(), id, flags, params, result,
                    exception, argumentError);
}

HRESULT VelmoraObject::AddTempFile(BSTR fileName) {
  try {
    Text path = fileName ? platform::FromWide(fileName, SysStringLen(fileName)) : Text();
    Verdict verdict = server_.Accept(path);
    if (verdict.kind == Verdict::Kind::Accepted) {
      SetErrorInfo(0, nullptr);
      return S_OK;
    }
    return Fail(ResultOf(verdict.kind), verdict.description);
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, u"VelmoraHelper ran out of memory.");
  } catch (const std::exception& e) {
    return Fail(E_UNEXPECTED, u"VelmoraHelper failed: " + FromUtf8(e.what()));
  }
}

HRESULT VelmoraObject::InterfaceSupportsErrorInfo(REFIID riid) {
  return IsEqualIID(riid, IID_IVelmora) ? S_OK : S_FALSE;
}

}  // namespace velmora::helper
