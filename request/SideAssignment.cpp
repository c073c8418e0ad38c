#include "request/SideAssignment.h"

#include "request/CommaText.h"
#include "request/FileInfoBuilder.h"
#include "request/ParameterFile.h"
#include "settings/EffectiveSettings.h"
#include "settings/RegistryAccessor.h"
#include "settings/Settings.h"

namespace velmora {
namespace {

TFileInfo BuildSide(platform::Platform& platform, const CopyContext& context, const Text& value) {
  std::vector<Text> items = SplitCommaText(value);
  Text title = ListItem(items, 1);  // fetched first, so a short entry always reports index 1
  Text path = ListItem(items, 0);
  return BuildFileInfo(platform, context, path, title);
}

// The entry's PVCS file name without raising for a short entry: that is reported when the
// entry's own side is built.
Text EntryPath(const Text& value) {
  std::vector<Text> items = SplitCommaText(value);
  return items.empty() ? Text() : items[0];
}

}  // namespace

ComparisonSides AssignSides(platform::Platform& platform, const Text& parameterFile, bool isBC3,
                            const std::vector<Text>& reservedNames, MoveJournal* moves,
                            const Text& program) {
  TextLines lines = ReadTextLines(platform.files, platform.locale, parameterFile);

  ComparisonSides sides;
  Text leftValue, rightValue;
  {
    RegistryAccessor settings = OpenSettingsInForce(platform.registry);
    bool ancestorLeft = settings.HasOpenKey() && settings.ValueExists(kValueAncestorLeft) &&
                        settings.ReadBool(kValueAncestorLeft);
    leftValue = GetNamedValue(platform.locale, lines, ancestorLeft ? u"ANCESTOR" : u"DERIVATIVES");
    rightValue = GetNamedValue(platform.locale, lines, ancestorLeft ? u"DERIVATIVES" : u"ANCESTOR");
    sides.BC_Args = settings.ReadString(kValueBCArgs);
  }
  // Each side's copy keeps off the other side's PVCS file, also once that file has been moved
  // away, so that both can always go back.
  CopyContext left{isBC3, reservedNames, moves, program};
  left.reservedNames.push_back(EntryPath(rightValue));
  sides.LeftInfo = BuildSide(platform, left, leftValue);
  CopyContext right{isBC3, reservedNames, moves, program};
  right.reservedNames.push_back(EntryPath(leftValue));
  right.reservedNames.push_back(sides.LeftInfo.FileFromPVCS);
  sides.RightInfo = BuildSide(platform, right, rightValue);
  return sides;
}

}  // namespace velmora
