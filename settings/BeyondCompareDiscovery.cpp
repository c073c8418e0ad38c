#include "settings/BeyondCompareDiscovery.h"

#include "settings/RegistryAccessor.h"
#include "settings/Settings.h"
#include "support/FileExists.h"

namespace velmora {

using platform::Hive;
using platform::RegistryQuery;
using platform::RegistryView;

namespace {

constexpr int kNewestFirst[] = {5, 4, 3};

// The part after the last "\", "/" or ":"; every one of them ends a folder for Windows.
size_t FileNameStart(const Text& path) {
  size_t separator = path.find_last_of(u"\\/:");
  return separator == Text::npos ? 0 : separator + 1;
}

// The value as text (REG_SZ or REG_EXPAND_SZ, up to the first NUL); empty when the key or the
// value is missing or the value is of another type.
Text ReadText(platform::IRegistry& registry, Hive hive, RegistryView view, const Text& key,
              const Text& name) {
  auto opened = registry.Open(hive, key, platform::kKeyRead, view);
  if (!opened) return Text();
  RegistryQuery sized = opened->Query(name, 0);
  if (sized.status != RegistryQuery::Status::MoreData &&
      sized.status != RegistryQuery::Status::Ok) {
    return Text();
  }
  RegistryQuery read = opened->Query(name, sized.size);
  if (read.status != RegistryQuery::Status::Ok) return Text();
  if (read.type != platform::kRegSz && read.type != platform::kRegExpandSz) return Text();
  return RegistryStringText(read.data);
}

Text FromRegistration(platform::Platform& platform) {
  struct Place {
    Hive hive;
    RegistryView view;
  };
  const Place places[] = {{Hive::CurrentUser, RegistryView::Native},
                          {Hive::LocalMachine, RegistryView::Wow64},
                          {Hive::LocalMachine, RegistryView::Wow32}};
  for (int version : kNewestFirst) {
    Text key = u"Software\\Scooter Software\\Beyond Compare " + ToDecimal(version);
    for (const Place& place : places) {
      Text path = ReadText(platform.registry, place.hive, place.view, key, u"ExePath");
      if (FileExists(platform.files, path)) return path;
    }
  }
  return Text();
}

Text FromProgramFiles(platform::Platform& platform) {
  for (const Text& folder :
       {platform.folders.ProgramFiles64(), platform.folders.ProgramFiles32()}) {
    if (folder.empty()) continue;
    for (int version : kNewestFirst) {
      Text path = folder + u"\\Beyond Compare " + ToDecimal(version) + u"\\BComp.exe";
      if (FileExists(platform.files, path)) return path;
    }
  }
  return Text();
}

}  // namespace

Text PreferCommandLineLauncher(platform::IFileSystem& files, const Text& program) {
  size_t nameStart = FileNameStart(program);
  if (!EqualsIgnoreAsciiCase(TextView(program).substr(nameStart), u"BCompare.exe")) return program;
  Text launcher = program.substr(0, nameStart) + u"BComp.exe";
  return FileExists(files, launcher) ? launcher : program;
}

Text DiscoverInstalledBeyondCompare(platform::Platform& platform) {
  Text program = FromRegistration(platform);
  if (program.empty()) program = FromProgramFiles(platform);
  return PreferCommandLineLauncher(platform.files, program);
}

Text ResolveComparisonProgram(platform::Platform& platform) {
  Text program = ResolveBC2Path(platform.registry, platform.files);
  if (program.empty()) program = DiscoverInstalledBeyondCompare(platform);
  return PreferCommandLineLauncher(platform.files, program);
}

}  // namespace velmora
