// The deferred-deletion server VelmoraHelper.exe: the hand-over of a file that must outlive the
// run.
#pragma once

#include <cstdint>

#include "platform/ComServer.h"
#include "support/HelperContract.h"
#include "support/Text.h"

namespace velmora {

// "OLE error " and the code as eight upper-case hex digits.
Text OleErrorText(int32_t hresult);

// Creates the server object and hands it `path`; from then on the server owns the file.
// Raises EVelmora of kind EOleSysError (the object cannot be created), EIntfCastError (it does
// not offer IVelmora) or EOleException (the server refused the file).
void AddTempFile(platform::IComServer& com, const Text& path);

}  // namespace velmora
