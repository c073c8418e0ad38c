// The server's COM object in process on the real Win32 services: the error information a
// refusal leaves for the client (COM carries it between processes on Windows; Wine 8 does
// not, so the end-to-end tests cannot see it), ISupportErrorInfo and the IDispatch side.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleauto.h>

#include <algorithm>
#include <string>

#include "app/win32/helper/ServerProcess.h"
#include "app/win32/helper/VelmoraObject.h"
#include "helper/DeferredDeletion.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"

namespace velmora::helper {
namespace {

std::wstring TempDir() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, buffer);
  return buffer;
}

std::wstring LastDescription() {
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || info == nullptr) return L"(none)";
  BSTR text = nullptr;
  std::wstring description;
  if (SUCCEEDED(info->GetDescription(&text)) && text) {
    description.assign(text, SysStringLen(text));
    SysFreeString(text);
  }
  info->Release();
  return description;
}

std::string Narrow(const std::wstring& text) {
  return ToUtf8(Text(text.begin(), text.end()));
}

class ObjectInProcess : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    std::wstring unique = std::to_wstring(GetCurrentProcessId());
    folder = TempDir() + L"VelmoraObjectTest" + unique;
    file = folder + L"\\pvc1.zip";
    CreateDirectoryW(folder.c_str(), nullptr);
    HANDLE made = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    CloseHandle(made);
    object = new VelmoraObject(server);
  }
  void TearDown() override {
    if (object) object->Release();
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
    CoUninitialize();
  }
  HRESULT Call(const std::wstring& path) {
    BSTR name = SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
    HRESULT hr = object->AddTempFile(name);
    SysFreeString(name);
    return hr;
  }

  platform::Win32FileSystem files;
  platform::Win32Environment environment;
  DeferredDeletion work{files, environment};
  ServerProcess server{work};
  VelmoraObject* object = nullptr;
  std::wstring folder, file;
};

TEST_F(ObjectInProcess, RefusalLeavesItsDescriptionAsErrorInformation) {
  ISupportErrorInfo* support = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
            S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVelmora), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IClassFactory), S_FALSE);
  support->Release();

  struct Row {
    std::wstring path;
    HRESULT hr;
    std::wstring description;
  } rows[] = {
      {L"", E_INVALIDARG, L"VelmoraHelper was given an empty path."},
      {L"pvc1.zip", E_INVALIDARG, L"\"pvc1.zip\" is not a full path."},
      {folder, E_ACCESSDENIED,
       L"\"" + folder + L"\" is a folder; VelmoraHelper deletes only files."},
      {folder + L"\\none.zip", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND),
       L"\"" + folder + L"\\none.zip\" does not exist."},
      {L"C:\\windows\\win.ini", E_ACCESSDENIED, L"is not inside the temporary directory"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Narrow(row.path));
    EXPECT_EQ(Call(row.path), row.hr);
    EXPECT_NE(LastDescription().find(row.description), std::wstring::npos);
  }
}

TEST_F(ObjectInProcess, AcceptedFileClearsTheErrorInformation) {
  EXPECT_EQ(Call(L""), E_INVALIDARG);
  EXPECT_EQ(Call(file), S_OK);
  EXPECT_EQ(LastDescription(), L"(none)");
  EXPECT_FALSE(work.Idle()) << "owned and pending";
}

TEST_F(ObjectInProcess, FileWhosePathIsLongerThanMaxPathIsAccepted) {
  std::wstring deep = folder;
  while (deep.size() < 360) {
    deep += L"\\folder-of-a-deep-tree";
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  }
  const std::wstring path = deep + L"\\" + std::wstring(385 - deep.size(), L'x') + L".zip";
  ASSERT_EQ(path.size(), 390u);
  HANDLE made = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  CloseHandle(made);
  EXPECT_EQ(Call(path), S_OK) << Narrow(LastDescription());
  const std::vector<Text> pending = work.Pending();
  EXPECT_NE(std::find(pending.begin(), pending.end(), Text(path.begin(), path.end())),
            pending.end());
  // What the server made pending it deletes (no process holds it).
  EXPECT_FALSE(work.Work(GetTickCount64() + 1));
  EXPECT_EQ(GetFileAttributesW((L"\\\\?\\" + path).c_str()), INVALID_FILE_ATTRIBUTES);
  while (deep.size() > folder.size()) {
    RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
    deep.resize(deep.rfind(L'\\'));
  }
}

TEST_F(ObjectInProcess, DispatchReachesAddTempFileByName) {
  UINT count = 0;
  ASSERT_EQ(object->GetTypeInfoCount(&count), S_OK);
  ASSERT_EQ(count, 1u);
  wchar_t methodName[] = L"AddTempFile";
  LPOLESTR names[] = {methodName};
  DISPID id = 0;
  ASSERT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 1);
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = SysAllocString(file.c_str());
  DISPPARAMS params{&argument, nullptr, 1, 0};
  EXPECT_EQ(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                           nullptr, nullptr),
            S_OK);
  VariantClear(&argument);
  EXPECT_FALSE(work.Idle());
}

}  // namespace
}  // namespace velmora::helper
