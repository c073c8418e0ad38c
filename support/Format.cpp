#include "support/Format.h"

#include <vector>

namespace velmora {

Text Format(TextView templ, std::initializer_list<FormatArg> args) {
  std::vector<FormatArg> values(args);
  size_t next = 0;
  Text out;
  out.reserve(templ.size());
  for (size_t i = 0; i < templ.size(); ++i) {
    char16_t c = templ[i];
    if (c != u'%' || i + 1 >= templ.size()) {
      out += c;
      continue;
    }
    char16_t kind = templ[i + 1];
    if (kind == u'%') {
      out += u'%';
      ++i;
    } else if ((kind == u's' || kind == u'd') && next < values.size()) {
      const FormatArg& arg = values[next++];
      if (const Text* text = std::get_if<Text>(&arg)) {
        out += *text;
      } else {
        out += ToDecimal(std::get<int64_t>(arg));
      }
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace velmora
