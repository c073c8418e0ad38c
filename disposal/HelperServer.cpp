#include "disposal/HelperServer.h"

#include "support/Errors.h"
#include "support/Format.h"

namespace velmora {

using platform::ComCallResult;

namespace {

// The system's text for an HRESULT without trailing line break or period, else the generic
// OLE text.
Text HresultText(platform::IComServer& com, int32_t hresult) {
  Text text = TrimSystemText(com.ErrorText(hresult));
  return text.empty() ? OleErrorText(hresult) : text;
}

}  // namespace

Text OleErrorText(int32_t hresult) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  auto code = static_cast<uint32_t>(hresult);
  Text hex(8, u'0');
  for (int i = 7; i >= 0; --i, code >>= 4) hex[i] = kHex[code & 0xF];
  return u"OLE error " + hex;
}

void AddTempFile(platform::IComServer& com, const Text& path) {
  ComCallResult result = com.AddTempFile(Text(kVelmoraClsid), Text(kVelmoraIid), path);
  switch (result.stage) {
    case ComCallResult::Stage::Ok:
      return;
    case ComCallResult::Stage::CreateFailed:
      throw EVelmora(
          Format(u"%s, ClassID: %s", {HresultText(com, result.hresult), Text(kVelmoraClsid)}),
          u"EOleSysError");
    case ComCallResult::Stage::InterfaceMissing:
      throw EVelmora(u"Interface not supported", u"EIntfCastError");
    case ComCallResult::Stage::CallFailed:
      throw EVelmora(
          result.description.empty() ? HresultText(com, result.hresult) : result.description,
          u"EOleException");
  }
  throw EVelmora(HresultText(com, result.hresult), u"EOleSysError");
}

}  // namespace velmora
