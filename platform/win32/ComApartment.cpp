#include "platform/win32/ComApartment.h"

#include <objbase.h>

#include "platform/win32/SystemLibrary.h"

namespace velmora::platform {

namespace {

// Leaves the apartment when the program ends, if it was entered.
struct Apartment {
  bool entered = false;
  ~Apartment() {
    VELMORA_SYSTEM_FUNCTION(coUninitialize, L"ole32.dll", CoUninitialize);
    if (entered && coUninitialize) coUninitialize();
  }
};

}  // namespace

bool EnterComApartment() {
  static Apartment apartment;
  static bool tried = false;
  if (!tried) {
    tried = true;
    VELMORA_SYSTEM_FUNCTION(coInitialize, L"ole32.dll", CoInitialize);
    apartment.entered = coInitialize && SUCCEEDED(coInitialize(nullptr));
  }
  return apartment.entered;
}

}  // namespace velmora::platform
