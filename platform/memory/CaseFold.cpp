#include "platform/memory/CaseFold.h"

namespace velmora::platform {

char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c < 0xE0) return c == 0xB5 ? char16_t{0x39C} : c;  // micro sign folds like mu
  if (c <= 0xFE) return c == 0xF7 ? c : static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  // Latin Extended-A pairs capitals at even codes, except the block 0x139..0x148 and
  // 0x179..0x17E where capitals sit at odd codes.
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
    return (c % 2 == 0) ? static_cast<char16_t>(c - 1) : c;
  if (c >= 0x100 && c <= 0x177 && c != 0x131 && c != 0x138)
    return (c % 2 == 1) ? static_cast<char16_t>(c - 1) : c;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);  // Greek
  if (c == 0x3C2) return 0x3A3;                                                      // final sigma
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);  // Cyrillic а..я
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);  // Cyrillic ѐ..џ
  return c;
}

Text FoldCase(TextView text) {
  Text out(text);
  for (auto& c : out) c = FoldCase(c);
  return out;
}

}  // namespace velmora::platform
