#include "request/SideAssignment.h"

#include "request/CommaText.h"
#include "request/FileInfoBuilder.h"
#include "request/ParameterFile.h"
#include "settings/RegistryAccessor.h"
#include "settings/Settings.h"

namespace velmora {
namespace {

TFileInfo BuildSide(platform::Platform& platform, bool isBC3, const Text& value) {
  std::vector<Text> items = SplitCommaText(value);
  Text title = ListItem(items, 1);  // fetched first, so a short entry always reports index 1
  Text path = ListItem(items, 0);
  return BuildFileInfo(platform, isBC3, path, title);
}

}  // namespace

ComparisonSides AssignSides(platform::Platform& platform, const Text& parameterFile, bool isBC3) {
  TextLines lines = ReadTextLines(platform.files, platform.locale, parameterFile);

  ComparisonSides sides;
  Text leftValue, rightValue;
  {
    RegistryAccessor settings(platform.registry, platform::kKeyRead);
    bool ancestorLeft = settings.OpenKey(kSettingsKey, false) &&
                        settings.ValueExists(kValueAncestorLeft) &&
                        settings.ReadBool(kValueAncestorLeft);
    leftValue = GetNamedValue(platform.locale, lines, ancestorLeft ? u"ANCESTOR" : u"DERIVATIVES");
    rightValue = GetNamedValue(platform.locale, lines, ancestorLeft ? u"DERIVATIVES" : u"ANCESTOR");
    sides.BC_Args = settings.ReadString(kValueBCArgs);
  }
  sides.LeftInfo = BuildSide(platform, isBC3, leftValue);
  sides.RightInfo = BuildSide(platform, isBC3, rightValue);
  return sides;
}

}  // namespace velmora
