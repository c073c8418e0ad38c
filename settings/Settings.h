// The per-user settings under HKEY_CURRENT_USER\Software\Tessmark\Velmora and the operations
// derived from them. Readers take the settings in force (EffectiveSettings.h), which may be the
// machine-wide defaults; the writer always writes per user. Nothing is cached: each call reads
// the registry of that moment.
#pragma once

#include <optional>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "support/Text.h"

namespace velmora {

inline constexpr char16_t kSettingsKey[] = u"Software\\Tessmark\\Velmora";
inline constexpr char16_t kValueBC2Path[] = u"BC2Path";
inline constexpr char16_t kValueBCArgs[] = u"BC_Args";
inline constexpr char16_t kValueUseBC2[] = u"UseBC2";
inline constexpr char16_t kValueAncestorLeft[] = u"AncestorLeft";

// Path of an existing comparison program: the one in force, else Beyond Compare's registration,
// else its default install location; the empty text when none exists.
Text ResolveBC2Path(platform::IRegistry& registry, platform::IFileSystem& files);

// No choice between Beyond Compare and the PVCS Merge Tool is in force yet: the user has stored
// none and the machine presets none.
bool IsFirstCall(platform::IRegistry& registry);

// The choice in force is the comparison program.
bool IsBC2Wanted(platform::IRegistry& registry);

// What the setup dialog stores.
struct StoredSettings {
  Text bc2Path;
  Text bcArgs;
  bool useBC2 = false;
  bool ancestorLeft = false;
};

// What the setup dialog shows when it opens: the settings in force; none when their key does not
// open. The arguments and the choice raise on a value of the wrong type; a faulty orientation
// reads as false.
std::optional<StoredSettings> ReadSettingsForSetup(platform::IRegistry& registry);

// Writes the four values in order, creating the key if needed. A key that can be neither opened
// nor created raises "Failed to create key ...": the save must not look successful.
void WriteSettings(platform::IRegistry& registry, const StoredSettings& settings);

}  // namespace velmora
