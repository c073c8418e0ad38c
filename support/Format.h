// Fills "%s" and "%d" placeholders of the system's message templates, in order.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <variant>

#include "support/Text.h"

namespace velmora {

using FormatArg = std::variant<Text, int64_t>;

// "%%" stands for one percent sign. A placeholder without an argument is left as written.
Text Format(TextView templ, std::initializer_list<FormatArg> args);

}  // namespace velmora
