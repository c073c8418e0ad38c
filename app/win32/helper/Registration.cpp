#include "app/win32/helper/Registration.h"

#include <oleauto.h>

#include "app/win32/helper/HelperGuids.h"

namespace velmora::helper {

namespace {

constexpr wchar_t kLibId[] = L"{4E366641-DEE7-4E6A-B103-83E3DA9AA7DC}";
constexpr wchar_t kTypeLibKey[] = L"TypeLib\\{4E366641-DEE7-4E6A-B103-83E3DA9AA7DC}";

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kLogonValue[] = L"VelmoraHelper";

// The class key is filled under this name beside the real one, then renamed.
const std::wstring kStagingName = std::wstring(kClsidText) + L".staging";
// Unregistering renames the class key to this name before it deletes it. No longer than the
// class key's own name: Wine 8's wineserver crashes when a key renamed to a longer name is
// deleted.
const std::wstring kRemovingName = L"VelmoraHelper.removing";

class Key {
 public:
  Key() = default;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

LSTATUS SetDefault(HKEY parent, const wchar_t* subKey, const std::wstring& value) {
  Key key;
  LSTATUS status = RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                   nullptr, key.out(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The class's values, written into `classKey`.
LSTATUS FillClassKey(HKEY classKey, const std::wstring& command) {
  LSTATUS status = SetDefault(classKey, nullptr, kClassName);
  if (status == ERROR_SUCCESS) status = SetDefault(classKey, L"LocalServer32", command);
  if (status == ERROR_SUCCESS) status = SetDefault(classKey, L"TypeLib", kLibId);
  return status;
}

LSTATUS DeleteTree(HKEY parent, const std::wstring& subKey) {
  LSTATUS status = RegDeleteTreeW(parent, subKey.c_str());
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

// The user's logon entry: started without arguments at logon, the server finishes what a
// logoff cut short and ends, so that no request has to wait for it.
LSTATUS SetLogonEntry(const std::wstring& command) {
  Key run;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, run.out(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExW(run.get(), kLogonValue, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(command.c_str()),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

LSTATUS RemoveLogonEntry() {
  Key run;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, run.out());
  if (status == ERROR_SUCCESS) status = RegDeleteValueW(run.get(), kLogonValue);
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

DWORD ErrorOf(HRESULT hr) {
  return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
}

}  // namespace

DWORD RegisterServer(const std::wstring& modulePath) {
  if (modulePath.empty()) return ERROR_INVALID_DATA;
  ITypeLib* library = nullptr;
  HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_REGISTER, &library);
  if (FAILED(hr)) return ErrorOf(hr);
  library->Release();

  // A path with blanks is quoted, or the part after the first blank would read as arguments.
  std::wstring command =
      modulePath.find(L' ') == std::wstring::npos ? modulePath : L"\"" + modulePath + L"\"";
  // Before the class key, which announces that everything is in place.
  LSTATUS status = SetLogonEntry(command);
  if (status != ERROR_SUCCESS) return status;
  Key classes;
  status = RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, classes.out(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  Key existing;
  if (RegOpenKeyExW(classes.get(), kClsidText, 0, KEY_ALL_ACCESS, existing.out()) ==
      ERROR_SUCCESS) {
    // Registered already: the key stays and its values are brought up to date.
    return FillClassKey(existing.get(), command);
  }
  status = DeleteTree(classes.get(), kStagingName);
  if (status != ERROR_SUCCESS) return status;
  {
    Key staging;
    status =
        RegCreateKeyExW(classes.get(), kStagingName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, staging.out(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = FillClassKey(staging.get(), command);
  }
  if (status == ERROR_SUCCESS)
    status = RegRenameKey(classes.get(), kStagingName.c_str(), kClsidText);
  if (status != ERROR_SUCCESS) DeleteTree(classes.get(), kStagingName);
  return status;
}

DWORD UnregisterServer() {
  // The class key goes first and in one step: renamed away, then deleted. Whatever stops this
  // run half-way, the class key is either complete or absent, so "present" means "ready".
  Key classes;
  LSTATUS status = RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_ALL_ACCESS, classes.out());
  if (status == ERROR_SUCCESS) {
    status = DeleteTree(classes.get(), kRemovingName);
    if (status == ERROR_SUCCESS) {
      status = RegRenameKey(classes.get(), kClsidText, kRemovingName.c_str());
      // Not registered: nothing to rename. Renaming refused: delete it where it stands.
      if (status == ERROR_FILE_NOT_FOUND)
        status = ERROR_SUCCESS;
      else if (status != ERROR_SUCCESS)
        status = DeleteTree(classes.get(), kClsidText);
    }
    LSTATUS step = DeleteTree(classes.get(), kRemovingName);
    if (status == ERROR_SUCCESS) status = step;
    step = DeleteTree(classes.get(), kStagingName);
    if (status == ERROR_SUCCESS) status = step;
  } else if (status == ERROR_FILE_NOT_FOUND) {
    status = ERROR_SUCCESS;
  }
  // While the class key stands, everything it stands for must stay: stop here and report why.
  Key remaining;
  if (status != ERROR_SUCCESS &&
      RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsidText).c_str(), 0, KEY_READ,
                    remaining.out()) == ERROR_SUCCESS) {
    return status;
  }
  LSTATUS step = RemoveLogonEntry();
  if (status == ERROR_SUCCESS) status = step;
  // Not registered (any more) is what unregistering wants: the library is unregistered only
  // when its key is there, as UnRegisterTypeLib fails otherwise.
  Key library;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kTypeLibKey, 0, KEY_READ, library.out()) == ERROR_SUCCESS) {
    HRESULT hr = UnRegisterTypeLib(LIBID_VelmoraHelper, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
    if (FAILED(hr) && status == ERROR_SUCCESS) status = ErrorOf(hr);
  }
  // UnRegisterTypeLib leaves these when the library's own entries were already gone.
  step = DeleteTree(HKEY_CLASSES_ROOT, std::wstring(L"Interface\\") + kIidText);
  if (status == ERROR_SUCCESS) status = step;
  step = DeleteTree(HKEY_CLASSES_ROOT, kTypeLibKey);
  if (status == ERROR_SUCCESS) status = step;
  return status;
}

}  // namespace velmora::helper
