#include "platform/win32/Win32ComServer.h"

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include "platform/win32/ComApartment.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Text.h"

namespace velmora::platform {

// The server's dual interface: IDispatch's seven methods, then AddTempFile. COM interfaces
// are released, never deleted, so they have no virtual destructor. It must not be declared in
// an unnamed namespace: GCC then takes this file for the whole class hierarchy, finds no
// implementation of AddTempFile and turns the call into a jump to nowhere.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IVelmoraCalls : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE AddTempFile(BSTR fileName) = 0;
};
#pragma GCC diagnostic pop

namespace {

template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

}  // namespace

ComCallResult Win32ComServer::AddTempFile(const Text& clsidText, const Text& iidText,
                                          const Text& path) {
  VELMORA_SYSTEM_FUNCTION(clsidFromString, L"ole32.dll", CLSIDFromString);
  VELMORA_SYSTEM_FUNCTION(iidFromString, L"ole32.dll", IIDFromString);
  VELMORA_SYSTEM_FUNCTION(coCreateInstance, L"ole32.dll", CoCreateInstance);
  VELMORA_SYSTEM_FUNCTION(sysAllocStringLen, L"oleaut32.dll", SysAllocStringLen);
  VELMORA_SYSTEM_FUNCTION(sysFreeString, L"oleaut32.dll", SysFreeString);
  VELMORA_SYSTEM_FUNCTION(sysStringLen, L"oleaut32.dll", SysStringLen);
  VELMORA_SYSTEM_FUNCTION(getErrorInfo, L"oleaut32.dll", GetErrorInfo);
  ComCallResult result;
  if (!clsidFromString || !iidFromString || !coCreateInstance || !sysAllocStringLen ||
      !sysFreeString || !sysStringLen || !getErrorInfo) {
    result.stage = ComCallResult::Stage::CreateFailed;
    result.hresult = HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    return result;
  }
  EnterComApartment();
  CLSID clsid{};
  IID iid{};
  std::wstring clsidWide = Wide(clsidText);
  std::wstring iidWide = Wide(iidText);
  HRESULT hr = clsidFromString(clsidWide.c_str(), &clsid);
  if (SUCCEEDED(hr)) hr = iidFromString(iidWide.c_str(), &iid);
  Released<IUnknown> unknown;
  if (SUCCEEDED(hr)) {
    hr = coCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                          reinterpret_cast<void**>(&unknown.p));
  }
  if (FAILED(hr)) {
    result.stage = ComCallResult::Stage::CreateFailed;
    result.hresult = hr;
    return result;
  }
  Released<IVelmoraCalls> velmora;
  hr = unknown.p->QueryInterface(iid, reinterpret_cast<void**>(&velmora.p));
  if (FAILED(hr) || !velmora.p) {
    result.stage = ComCallResult::Stage::InterfaceMissing;
    result.hresult = hr;
    return result;
  }
  std::wstring widePath = Wide(path);
  BSTR name = sysAllocStringLen(widePath.data(), static_cast<UINT>(widePath.size()));
  hr = velmora.p->AddTempFile(name);
  sysFreeString(name);
  if (FAILED(hr)) {
    result.stage = ComCallResult::Stage::CallFailed;
    result.hresult = hr;
    IErrorInfo* info = nullptr;
    if (getErrorInfo(0, &info) == S_OK && info) {
      BSTR description = nullptr;
      if (SUCCEEDED(info->GetDescription(&description)) && description) {
        result.description = FromWide(description, sysStringLen(description));
        sysFreeString(description);
      }
      info->Release();
    }
  }
  return result;
}

Text Win32ComServer::ErrorText(int32_t hresult) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hresult), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  Text text = length ? FromWide(buffer, length) : Text();
  if (buffer) LocalFree(buffer);
  return text;
}

}  // namespace velmora::platform
