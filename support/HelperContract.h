// What a client knows of the deferred-deletion server VelmoraHelper.exe: where it lies, how it
// is registered and unregistered, and its class and interface.
#pragma once

#include "platform/Registry.h"
#include "support/Text.h"

namespace velmora {

// The server's program file, in the folder of Velmora's own.
inline constexpr TextView kHelperProgram = u"VelmoraHelper.exe";

// CoVelmora's class and the IVelmora interface.
inline constexpr TextView kVelmoraClsid = u"{3F990032-0766-453D-AC59-3A33A8722940}";
inline constexpr TextView kVelmoraIid = u"{7CB583D2-9E46-4080-BE15-09138B846596}";

// The switch the server is started with: "/regserver", or "/unregserver" for `registered`
// false.
Text RegistrationSwitch(bool registered);

// True when HKEY_CLASSES_ROOT\CLSID\{class} opens for reading.
bool IsHelperRegistered(platform::IRegistry& registry);

}  // namespace velmora
