// Errors are exceptions carrying the system's message; `Kind` names the error's class
// where a log line reports it (for example EOleSysError).
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "support/Text.h"

namespace velmora {

class EVelmora : public std::exception {
 public:
  explicit EVelmora(Text message, Text kind = u"Exception");
  const Text& Message() const { return message_; }
  const Text& Kind() const { return kind_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  Text message_;
  Text kind_;
  std::string utf8_;
};

// The message of an operating-system failure: "System Error.  Code: %d." CR LF and the
// system's text with trailing blanks, control characters and periods removed, or
// "A call to an OS function failed" for code 0.
Text SystemErrorMessage(uint32_t code, TextView systemText);

// Removes trailing characters with codes up to 32 and periods.
Text TrimSystemText(TextView systemText);

// The error's message as the application-wide display shows it: with a period appended unless
// it is empty or ends in a character whose code is that of the period or lower.
Text ErrorDisplayText(TextView message);

}  // namespace velmora
