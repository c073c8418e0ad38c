// The running program's full file path.
#pragma once

#include <string>

namespace velmora::helper {

std::wstring ModulePath();

}  // namespace velmora::helper
