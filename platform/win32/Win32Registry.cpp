#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include "platform/win32/Win32Text.h"

namespace velmora::platform {

namespace {

HKEY RootKey(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return HKEY_CURRENT_USER;
    case Hive::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case Hive::ClassesRoot:
      return HKEY_CLASSES_ROOT;
  }
  return HKEY_CURRENT_USER;
}

REGSAM Sam(uint32_t access, RegistryView view) {
  switch (view) {
    case RegistryView::Wow32:
      return access | KEY_WOW64_32KEY;
    case RegistryView::Wow64:
      return access | KEY_WOW64_64KEY;
    case RegistryView::Native:
      break;
  }
  return access;
}

// Key paths are taken from the root of the hive.
std::wstring KeyPath(const Text& path) {
  std::wstring wide = Wide(path);
  while (!wide.empty() && wide.front() == L'\\') wide.erase(0, 1);
  return wide;
}

class Win32Key : public IRegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }

  RegistryQuery Query(const Text& name, uint32_t maxBytes) override {
    RegistryQuery q;
    std::wstring wname = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key_, wname.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) return q;
    if (rc != ERROR_SUCCESS) {
      q.status = RegistryQuery::Status::Failed;
      return q;
    }
    q.type = type;
    q.size = size;
    if (size > maxBytes) {
      q.status = RegistryQuery::Status::MoreData;
      return q;
    }
    q.data.resize(size);
    DWORD got = size;
    rc = RegQueryValueExW(key_, wname.c_str(), nullptr, &type, q.data.data(), &got);
    if (rc == ERROR_MORE_DATA) {
      q.status = RegistryQuery::Status::MoreData;
      q.data.clear();
      return q;
    }
    if (rc != ERROR_SUCCESS) {
      q.status = rc == ERROR_FILE_NOT_FOUND ? RegistryQuery::Status::NotFound
                                            : RegistryQuery::Status::Failed;
      q.data.clear();
      return q;
    }
    q.type = type;
    q.data.resize(got);
    q.status = RegistryQuery::Status::Ok;
    return q;
  }

  uint32_t Set(const Text& name, uint32_t type, const std::vector<uint8_t>& data) override {
    return static_cast<uint32_t>(RegSetValueExW(key_, Wide(name).c_str(), 0, type, data.data(),
                                                static_cast<DWORD>(data.size())));
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<IRegistryKey> Win32Registry::Open(Hive hive, const Text& path, uint32_t access,
                                                  RegistryView view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootKey(hive), KeyPath(path).c_str(), 0, Sam(access, view), &key) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

std::unique_ptr<IRegistryKey> Win32Registry::Create(Hive hive, const Text& path, uint32_t access,
                                                    RegistryView view) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(RootKey(hive), KeyPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      Sam(access, view), nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

}  // namespace velmora::platform
