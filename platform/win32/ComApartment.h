// The one thread's COM apartment, entered just before the first COM call rather than at
// start-up, and left when the process ends.
#pragma once

namespace velmora::platform {

// CoInitialize for this thread as a single-threaded apartment, once; true when it holds.
bool EnterComApartment();

}  // namespace velmora::platform
