#include "disposal/DisposeFile.h"

#include "disposal/HelperServer.h"
#include "support/Errors.h"
#include "support/Format.h"
#include "support/SystemUtils.h"

namespace velmora {

Text DisposeFile(platform::IFileSystem& files, platform::IComServer& com, const TFileInfo& info,
                 const std::function<bool(const Text&)>& isInTempDir) {
  const Text& file = info.FileForBC;
  // A working file is the user's own data, even when it lies in the temporary directory.
  if (!info.ReadOnly || !isInTempDir(file)) {
    if (!info.Moved)
      return Format(u"\"%s\" is recognized as 'persistent file' - no delete", {file});
    // Velmora renamed it, so it goes back to the name PVCS or the user gave it; outside the
    // temporary directory it is never deleted, also when that name is taken.
    if (files.Move(file, info.FileFromPVCS) == 0)
      return Format(u"\"%s\" is recognized as 'persistent file' - moved back to \"%s\"",
                    {file, info.FileFromPVCS});
    return Format(
        u"\"%s\" is recognized as 'persistent file' - cannot be moved back to \"%s\", no delete",
        {file, info.FileFromPVCS});
  }

  if (info.UseHelper) {
    try {
      AddTempFile(com, file);
      return Format(u"\"%s\" is deleted after Beyond Compare is closed", {file});
    } catch (const EVelmora& error) {
      return Format(u"Failed to add the temp file \"%s\" to VelmoraHelper COM-Server (%s:%s)",
                    {file, error.Kind(), error.Message()});
    }
  }

  // Also with equal names: the move's outcome decides as for any other.
  if (files.Move(file, info.FileFromPVCS) == 0)
    return Format(u"\"%s\" is recognized as temporary file - deletion managed by PVCS / Dimensions",
                  {file});
  DeleteFileEx(files, file, true);  // a failed deletion is not reported
  return Format(u"\"%s\" is recognized as temporary file - delete now", {file});
}

}  // namespace velmora
