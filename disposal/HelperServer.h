// The deferred-deletion server VelmoraHelper.exe: its registration and the hand-over of a file
// that must outlive the run.
#pragma once

#include <cstdint>

#include "platform/ComServer.h"
#include "platform/Registry.h"
#include "support/Text.h"

namespace velmora {

// CoVelmora's class and the IVelmora interface.
inline constexpr TextView kVelmoraClsid = u"{3F990032-0766-453D-AC59-3A33A8722940}";
inline constexpr TextView kVelmoraIid = u"{7CB583D2-9E46-4080-BE15-09138B846596}";

// True when HKEY_CLASSES_ROOT\CLSID\{class} opens for reading.
bool IsHelperRegistered(platform::IRegistry& registry);

// "OLE error " and the code as eight upper-case hex digits.
Text OleErrorText(int32_t hresult);

// Creates the server object and hands it `path`; from then on the server owns the file.
// Raises EVelmora of kind EOleSysError (the object cannot be created), EIntfCastError (it does
// not offer IVelmora) or EOleException (the server refused the file).
void AddTempFile(platform::IComServer& com, const Text& path);

}  // namespace velmora
