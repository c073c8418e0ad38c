// UTF-16 text helpers shared by the whole core. Positions count UTF-16 code units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

using Text = std::u16string;
using TextView = std::u16string_view;

// Widens plain ASCII (literals, numbers) to UTF-16.
Text Ascii(std::string_view ascii);

// UTF-8 <-> UTF-16. Decoding turns each ill-formed sequence into one U+FFFD.
std::string ToUtf8(TextView text);
Text FromUtf8(std::string_view utf8);

Text ToDecimal(int64_t value);

// Folds only the letters a to z / A to Z.
char16_t UpperAscii(char16_t c);
Text UpperAscii(TextView text);
bool EqualsIgnoreAsciiCase(TextView a, TextView b);

bool StartsWith(TextView text, TextView prefix);
bool EndsWith(TextView text, TextView suffix);

// Removes characters with codes up to 32 from both ends.
Text Trim(TextView text);

// Path rules: the file name is the part after the last '\' or ':', the directory part everything
// up to and including that character, the extension the file name's part from its last '.'.
Text FileNameOf(TextView path);
Text DirectoryOf(TextView path);
Text ExtensionOf(TextView path);
Text ChangeExtension(TextView path, TextView extension);

}  // namespace velmora
