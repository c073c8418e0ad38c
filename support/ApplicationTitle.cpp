#include "support/ApplicationTitle.h"

namespace velmora {
namespace {

char16_t LowerLetter(char16_t c) {
  if (c >= u'A' && c <= u'Z') return char16_t(c + 32);
  // Latin-1 capitals (the multiplication sign is no letter).
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return char16_t(c + 32);
  return c;
}

}  // namespace

Text ApplicationTitle(TextView modulePath) {
  Text name = FileNameOf(modulePath);
  name = name.substr(0, name.find(u'.'));
  for (size_t i = 1; i < name.size(); ++i) name[i] = LowerLetter(name[i]);
  return name;
}

}  // namespace velmora
