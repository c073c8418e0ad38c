#include "support/StartFailure.h"

#include "support/Errors.h"
#include "support/Format.h"

namespace velmora {

Text StartFailureText(const Text& program, uint32_t code, TextView systemText) {
  return Format(u"Failed to start \"%s\". System error message was:", {program}) + u"\r\r" +
         SystemErrorMessage(code, systemText);
}

}  // namespace velmora
