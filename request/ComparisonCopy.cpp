#include "request/ComparisonCopy.h"

#include "disposal/ArchiveMasks.h"
#include "disposal/TempDetection.h"
#include "support/FileExists.h"
#include "support/Format.h"

namespace velmora {

void PrepareComparisonCopy(platform::Platform& platform, bool isBC3, TFileInfo& info) {
  info.FileForBC = info.FileFromPVCS;
  info.UseHelper = false;
  if (!info.ReadOnly) return;

  const Text extension = ExtensionOf(info.CaptionForBC);
  info.FileForBC = ChangeExtension(info.FileFromPVCS, extension);
  if (IsInTempDir(platform, info.FileForBC) && NeedsHelper(platform, isBC3, info.FileForBC)) {
    // Beyond Compare 3 keeps archives open, so the copy must not carry PVCS's name.
    info.UseHelper = true;
  } else if (info.FileForBC == info.FileFromPVCS) {
    return;
  }

  const Text stem = ChangeExtension(info.FileFromPVCS, u"");
  for (int64_t counter = 1; FileExists(platform.files, info.FileForBC); ++counter)
    info.FileForBC = Format(u"%s (%d)%s", {stem, counter, extension});

  if (platform.files.Move(info.FileFromPVCS, info.FileForBC) != 0)
    info.FileForBC = info.FileFromPVCS;
}

}  // namespace velmora
