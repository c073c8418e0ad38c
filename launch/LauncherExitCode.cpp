#include "launch/LauncherExitCode.h"

#include "support/Format.h"

namespace velmora {

namespace {

Text Meaning(uint32_t exitCode) {
  switch (exitCode) {
    case 100:
      return u"unknown error";
    case 101:
      return u"conflicts, merge output not written";
    case 102:
      return u"BComp.exe could not wait for BCompare.exe";
    case 103:
      return u"BCompare.exe not found";
    case 104:
      return u"trial period expired";
    case 105:
    case 106:
    case 107:
      return u"script error";
    default:
      return u"not a comparison result";
  }
}

}  // namespace

std::optional<Text> LauncherExitCodeLine(uint32_t exitCode) {
  if (exitCode < 100) return std::nullopt;
  return Format(u"BComp.exe returned exit code %d - %s",
                {static_cast<int64_t>(exitCode), Meaning(exitCode)});
}

}  // namespace velmora
