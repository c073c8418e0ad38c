#include "support/Errors.h"

#include "support/Format.h"

namespace velmora {

EVelmora::EVelmora(Text message, Text kind)
    : message_(std::move(message)), kind_(std::move(kind)), utf8_(ToUtf8(message_)) {}

Text TrimSystemText(TextView systemText) {
  size_t end = systemText.size();
  while (end > 0 && (systemText[end - 1] <= 32 || systemText[end - 1] == u'.')) --end;
  return Text(systemText.substr(0, end));
}

Text SystemErrorMessage(uint32_t code, TextView systemText) {
  if (code == 0) return u"A call to an OS function failed";
  return Format(u"System Error.  Code: %d.\r\n%s", {int64_t{code}, TrimSystemText(systemText)});
}

Text ErrorDisplayText(TextView message) {
  Text text(message);
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

}  // namespace velmora
