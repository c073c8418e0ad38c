#include "support/HelperContract.h"

namespace velmora {

Text RegistrationSwitch(bool registered) {
  return registered ? Text(u"/regserver") : Text(u"/unregserver");
}

bool IsHelperRegistered(platform::IRegistry& registry) {
  return registry.Open(platform::Hive::ClassesRoot, u"CLSID\\" + Text(kVelmoraClsid),
                       platform::kKeyRead, platform::RegistryView::Native) != nullptr;
}

}  // namespace velmora
