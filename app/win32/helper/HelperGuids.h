// The identities the server is known by. The GUID values themselves come from the header widl
// generates from VelmoraHelper.idl; HelperGuids.cpp defines them once.
#pragma once

#include <windows.h>

#include <ole2.h>

#include "VelmoraHelper_h.h"

namespace velmora::helper {

inline constexpr wchar_t kClsidText[] = L"{3F990032-0766-453D-AC59-3A33A8722940}";
inline constexpr wchar_t kIidText[] = L"{7CB583D2-9E46-4080-BE15-09138B846596}";
inline constexpr wchar_t kClassName[] = L"VelmoraHelper deferred-deletion server";

}  // namespace velmora::helper
