#include "settings/EffectiveSettings.h"

#include "settings/Settings.h"

namespace velmora {

RegistryAccessor OpenSettingsInForce(platform::IRegistry& registry) {
  RegistryAccessor user(registry, platform::kKeyRead);
  if (user.OpenKey(kSettingsKey, false) && user.ValueExists(kValueUseBC2)) return user;

  // Written for every user of the machine by the 64-bit installer or by Group Policy, so it
  // lives in the 64-bit view whatever this build is.
  RegistryAccessor machine(registry, platform::kKeyRead);
  machine.SetRoot(platform::Hive::LocalMachine, platform::RegistryView::Wow64);
  if (machine.OpenKey(kSettingsKey, false) && machine.ValueExists(kValueUseBC2)) return machine;
  return user;
}

}  // namespace velmora
