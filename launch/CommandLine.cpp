#include "launch/CommandLine.h"

#include "support/Format.h"

namespace velmora {

Text LeftReadOnlySwitch(const TFileInfo& left) {
  return left.ReadOnly ? u"/lro" : u"";
}

Text RightReadOnlySwitch(const TFileInfo& right) {
  return right.ReadOnly ? u"/rro" : u"";
}

Text TitleSafe(TextView text) {
  Text safe(text);
  for (char16_t& c : safe)
    if (c == u'"') c = u'\'';
  return safe;
}

Text BuildCommandLine(const Text& programPath, const TFileInfo& left, const TFileInfo& right,
                      const Text& bcArgs) {
  // No Windows file name holds a double quote, so a path with one names no file; it is
  // neutralised like a title instead of ending its quoted stretch.
  static constexpr TextView kTemplate =
      u"\"%s\" \"%s\" \"%s\" /title1=\"%s%s\" /title2=\"%s%s\" %s %s %s";
  static_assert(kTemplate.size() == 53);
  return Trim(Format(kTemplate, {programPath, TitleSafe(left.FileForBC), TitleSafe(right.FileForBC),
                                 TitleSafe(left.CaptionForBC), TitleSafe(left.Version),
                                 TitleSafe(right.CaptionForBC), TitleSafe(right.Version),
                                 LeftReadOnlySwitch(left), RightReadOnlySwitch(right), bcArgs}));
}

}  // namespace velmora
