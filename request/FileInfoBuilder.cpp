#include "request/FileInfoBuilder.h"

#include "request/TitleParser.h"
#include "support/FileExists.h"

namespace velmora {

TFileInfo BuildFileInfo(platform::Platform& platform, const CopyContext& context, const Text& path,
                        const Text& title) {
  TFileInfo info;
  info.FileFromPVCS = path;
  info.CaptionForBC = title;
  info.FileForBC = path;
  if (!ParseTitle(platform.files, title, info.CaptionForBC, info.Version)) return info;

  const Text& caption = info.CaptionForBC;
  if (caption.find(u'\\') != Text::npos && IsAbsolutePath(caption) &&
      FileExists(platform.files, caption)) {
    info.FileFromPVCS = caption;
    info.CaptionForBC = FileNameOf(info.FileFromPVCS);
    info.Version = u" (workfile)";
    info.ReadOnly = false;
  }
  PrepareComparisonCopy(platform, context, info);
  return info;
}

TFileInfo BuildFileInfo(platform::Platform& platform, bool isBC3, const Text& path,
                        const Text& title) {
  return BuildFileInfo(platform, CopyContext{isBC3, {}, nullptr, {}}, path, title);
}

}  // namespace velmora
