#include "settings/Settings.h"

#include "settings/EffectiveSettings.h"
#include "settings/RegistryAccessor.h"
#include "support/Errors.h"
#include "support/FileExists.h"

namespace velmora {

using platform::Hive;

Text ResolveBC2Path(platform::IRegistry& registry, platform::IFileSystem& files) {
  RegistryAccessor reg(registry, platform::kKeyRead);
  reg.SetRoot(Hive::CurrentUser);

  Text result;
  bool found = false;
  {
    RegistryAccessor settings = OpenSettingsInForce(registry);
    if (settings.HasOpenKey() && settings.ValueExists(kValueBC2Path)) {
      result = settings.ReadString(kValueBC2Path);
      found = FileExists(files, result);
    }
  }

  if (!found) {
    const Text beyondCompareKey = u"Software\\Scooter Software\\Beyond Compare";
    bool opened = reg.OpenKey(beyondCompareKey, false);
    if (!opened) {
      reg.SetRoot(Hive::LocalMachine);
      opened = reg.OpenKey(beyondCompareKey, false);
    }
    result = opened && reg.ValueExists(u"ExePath") ? reg.ReadString(u"ExePath") : Text();
  }

  if (!FileExists(files, result)) {
    reg.CloseKey();
    reg.SetRoot(Hive::LocalMachine);
    if (reg.OpenKey(u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false)) {
      result = reg.ReadString(u"ProgramFilesDir") + u"\\Beyond Compare 2\\BC2.exe";
    } else {
      result = u"C:\\Programme\\Beyond Compare 2\\BC2.exe";
    }
  }

  if (!FileExists(files, result)) result.clear();
  return result;
}

bool IsFirstCall(platform::IRegistry& registry) {
  RegistryAccessor reg = OpenSettingsInForce(registry);
  return !reg.HasOpenKey() || !reg.ValueExists(kValueUseBC2);
}

bool IsBC2Wanted(platform::IRegistry& registry) {
  RegistryAccessor reg = OpenSettingsInForce(registry);
  return reg.HasOpenKey() && reg.ValueExists(kValueUseBC2) && reg.ReadBool(kValueUseBC2);
}

std::optional<StoredSettings> ReadSettingsForSetup(platform::IRegistry& registry) {
  RegistryAccessor reg = OpenSettingsInForce(registry);
  if (!reg.HasOpenKey()) return std::nullopt;
  StoredSettings settings;
  if (reg.ValueExists(kValueBCArgs)) settings.bcArgs = reg.ReadString(kValueBCArgs);
  settings.useBC2 = reg.ValueExists(kValueUseBC2) && reg.ReadBool(kValueUseBC2);
  try {
    settings.ancestorLeft = reg.ValueExists(kValueAncestorLeft) && reg.ReadBool(kValueAncestorLeft);
  } catch (const std::exception&) {
    settings.ancestorLeft = false;  // whatever went wrong: the dialog still opens
  }
  return settings;
}

void WriteSettings(platform::IRegistry& registry, const StoredSettings& settings) {
  RegistryAccessor reg(registry, platform::kKeyAllAccess);
  if (!reg.OpenKey(kSettingsKey, true)) {
    throw EVelmora(u"Failed to create key " + Text(kSettingsKey), u"ERegistryException");
  }
  reg.WriteString(kValueBC2Path, settings.bc2Path);
  reg.WriteString(kValueBCArgs, settings.bcArgs);
  reg.WriteBool(kValueUseBC2, settings.useBC2);
  reg.WriteBool(kValueAncestorLeft, settings.ancestorLeft);
}

}  // namespace velmora
