// The settings in force. A user's own choice wins once it is stored: while the per-user key
// holds `UseBC2`, the machine-wide key is not even read. Otherwise defaults that an administrator
// put under HKEY_LOCAL_MACHINE\Software\Tessmark\Velmora (64-bit view) stand in for the per-user
// values when they hold `UseBC2`; else the per-user key is read as it is. Every reader of the
// settings goes through here; only the setup dialog's save writes, and only per user.
#pragma once

#include "platform/Registry.h"
#include "settings/RegistryAccessor.h"

namespace velmora {

// A read-only accessor whose open key is the settings key in force; no key is open when that
// key does not open. Never raises: only the presence of `UseBC2` decides.
RegistryAccessor OpenSettingsInForce(platform::IRegistry& registry);

}  // namespace velmora
