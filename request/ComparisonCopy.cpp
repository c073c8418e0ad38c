#include "request/ComparisonCopy.h"

#include <algorithm>

#include "disposal/ArchiveMasks.h"
#include "disposal/TempDetection.h"
#include "support/FileExists.h"
#include "support/Format.h"
#include "support/PathNormal.h"

namespace velmora {
namespace {

bool Taken(platform::Platform& platform, const CopyContext& context, const Text& name) {
  if (FileExists(platform.files, name)) return true;
  return std::any_of(
      context.reservedNames.begin(), context.reservedNames.end(), [&](const Text& reserved) {
        return !reserved.empty() && SameFileName(platform.files, platform.locale, name, reserved);
      });
}

}  // namespace

void PrepareComparisonCopy(platform::Platform& platform, const CopyContext& context,
                           TFileInfo& info) {
  info.FileForBC = info.FileFromPVCS;
  info.UseHelper = false;
  info.Moved = false;
  if (!info.ReadOnly) return;

  const Text extension = ExtensionOf(info.CaptionForBC);
  info.FileForBC = ChangeExtension(info.FileFromPVCS, extension);
  if (IsInTempDir(platform, info.FileForBC) &&
      NeedsHelper(platform, context.isBC3, info.FileForBC, context.program)) {
    // Beyond Compare 3 keeps archives open, so the copy must not carry PVCS's name.
    info.UseHelper = true;
  } else if (info.FileForBC == info.FileFromPVCS) {
    return;
  }

  const Text stem = ChangeExtension(info.FileFromPVCS, u"");
  for (int64_t counter = 1; Taken(platform, context, info.FileForBC); ++counter) {
    // PVCS waits for this process: a file system that calls every name taken ends the search
    // as a failed move does.
    if (counter > kFreeNameTries) {
      info.FileForBC = info.FileFromPVCS;
      return;
    }
    info.FileForBC = Format(u"%s (%d)%s", {stem, counter, extension});
  }

  if (platform.files.Move(info.FileFromPVCS, info.FileForBC) != 0) {
    info.FileForBC = info.FileFromPVCS;
    return;
  }
  info.Moved = true;
  if (context.moves != nullptr) context.moves->Record(info.FileFromPVCS, info.FileForBC);
}

void PrepareComparisonCopy(platform::Platform& platform, bool isBC3, TFileInfo& info) {
  PrepareComparisonCopy(platform, CopyContext{isBC3, {}, nullptr, {}}, info);
}

}  // namespace velmora
