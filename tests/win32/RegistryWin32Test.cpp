// The registry's views on the real Win32 services: run on Windows or under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Registry.h"
#include "support/Text.h"

namespace velmora {
namespace {

using platform::Hive;
using platform::RegistryView;
using platform::Wide;

// A machine-wide key of its own in each view, holding a value that tells the views apart.
class RegistryViews : public ::testing::Test {
 protected:
  void SetUp() override {
    path = u"Software\\VelmoraViewTest" + ToDecimal(GetCurrentProcessId());
    for (auto [sam, tag] : {std::pair{KEY_WOW64_64KEY, L"64"}, std::pair{KEY_WOW64_32KEY, L"32"}}) {
      HKEY key = nullptr;
      if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(path), 0, nullptr, 0, KEY_ALL_ACCESS | sam,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
        GTEST_SKIP() << "no right to write HKEY_LOCAL_MACHINE";
      }
      RegSetValueExW(key, L"View", 0, REG_SZ, reinterpret_cast<const BYTE*>(tag),
                     static_cast<DWORD>((wcslen(tag) + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
  }
  void TearDown() override {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(path), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(path), KEY_WOW64_32KEY, 0);
  }
  // The value seen through a view, or "none" when the key does not open.
  Text Seen(RegistryView view, uint32_t access = platform::kKeyRead) {
    auto key = registry.Open(Hive::LocalMachine, path, access, view);
    if (!key) return u"none";
    platform::RegistryQuery q = key->Query(u"View", 16);
    return Text(reinterpret_cast<const char16_t*>(q.data.data()), q.data.size() / 2 - 1);
  }

  platform::Win32Registry registry;
  Text path;
};

TEST_F(RegistryViews, EachViewOpensItsOwnKey) {
  EXPECT_EQ(Seen(RegistryView::Wow64), u"64");
  EXPECT_EQ(Seen(RegistryView::Wow32), u"32");
  EXPECT_EQ(Seen(RegistryView::Native), sizeof(void*) == 8 ? u"64" : u"32");
}

TEST_F(RegistryViews, KeyOpenedForReadingRefusesWrites) {
  auto key = registry.Open(Hive::LocalMachine, path, platform::kKeyRead, RegistryView::Wow64);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Set(u"View", platform::kRegSz, {'x', 0, 0, 0}),
            static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Seen(RegistryView::Wow64), u"64");
}

}  // namespace
}  // namespace velmora
