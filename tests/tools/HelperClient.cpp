// A minimal COM client of VelmoraHelper.exe for the end-to-end tests: hands each path to
// AddTempFile exactly as Velmora does and writes, in UTF-8, one line per path:
//   hr=XXXXXXXX description=<the call's error description, empty when there is none>
// Usage: HelperClient.exe <result file> <path>...
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>

#include "ToolSupport.h"

// IDispatch's seven methods, then AddTempFile: the layout the client relies on. Outside the
// unnamed namespace, or GCC assumes no implementation exists and drops the call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IVelmoraCalls : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE AddTempFile(BSTR fileName) = 0;
};
#pragma GCC diagnostic pop

namespace {

const CLSID kClsid = {0x3F990032, 0x0766, 0x453D, {0xAC, 0x59, 0x3A, 0x33, 0xA8, 0x72, 0x29, 0x40}};
const IID kIid = {0x7CB583D2, 0x9E46, 0x4080, {0xBE, 0x15, 0x09, 0x13, 0x8B, 0x84, 0x65, 0x96}};

std::string Line(HRESULT hr, const std::wstring& description) {
  char code[32];
  std::snprintf(code, sizeof(code), "hr=%08lX", static_cast<unsigned long>(hr));
  return std::string(code) + " description=" + ToolUtf8(description) + "\n";
}

std::string Call(const std::wstring& path) {
  IUnknown* unknown = nullptr;
  HRESULT hr = CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, reinterpret_cast<void**>(&unknown));
  if (FAILED(hr)) return Line(hr, L"(create failed)");
  IVelmoraCalls* velmora = nullptr;
  hr = unknown->QueryInterface(kIid, reinterpret_cast<void**>(&velmora));
  unknown->Release();
  if (FAILED(hr)) return Line(hr, L"(no IVelmora)");
  BSTR name = SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
  hr = velmora->AddTempFile(name);
  SysFreeString(name);
  std::wstring description;
  IErrorInfo* info = nullptr;
  if (FAILED(hr) && GetErrorInfo(0, &info) == S_OK && info) {
    BSTR text = nullptr;
    if (SUCCEEDED(info->GetDescription(&text)) && text) {
      description.assign(text, SysStringLen(text));
      SysFreeString(text);
    }
    info->Release();
  }
  velmora->Release();
  return Line(hr, description);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  CoInitialize(nullptr);
  std::string out;
  for (int i = 2; i < argc; ++i) out += Call(argv[i]);
  CoUninitialize();
  ToolWriteFile(argv[1], out);
  return 0;
}
