// Comma text: the list format of the parameter file's entries.
#pragma once

#include <vector>

#include "support/Text.h"

namespace velmora {

// Splits at commas and at blanks (codes 1 to 32) outside double quotes; a quoted item keeps its
// commas and blanks, and "" inside it stands for one quote. The value ends at its first NUL.
// A quoted item without its closing quote runs to the end of the value.
std::vector<Text> SplitCommaText(TextView value);

// Item `index` of a list; raises EVelmora "List index out of bounds (%d)" when there is none.
const Text& ListItem(const std::vector<Text>& items, int index);

}  // namespace velmora
