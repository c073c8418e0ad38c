// Defines the GUIDs declared by the generated header, in this one place.
#include <windows.h>

#include <initguid.h>

#include "app/win32/helper/HelperGuids.h"
