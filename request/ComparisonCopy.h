// The comparison copy: the side's file moved to a name with the extension of the file it
// stands for, so that Beyond Compare picks the right format.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "request/FileInfo.h"
#include "request/MoveJournal.h"

namespace velmora {

// What the copies of one run must respect besides the files on disk.
struct CopyContext {
  bool isBC3 = false;  // the comparison program is Beyond Compare 3's launcher
  // Names a copy must not take even while they are free: the run log, which is written later,
  // and the other side's PVCS file, which may be moved away first and must be free to come back.
  std::vector<Text> reservedNames;
  MoveJournal* moves = nullptr;  // when set, records the move, so that a failed run can undo it
  Text program;                  // the comparison program, whose preferences give the archive masks
};

// How many numbered names are tried before the side stays on the PVCS file's own name.
inline constexpr int64_t kFreeNameTries = 10000;

// Sets FileForBC, UseHelper and Moved and may move FileFromPVCS on disk. A working file
// (ReadOnly false) is the user's own data: it is never moved nor handed to the deferred-deletion
// server. A failed move leaves the side on the PVCS file's own name. Raises only for an invalid
// archive mask.
void PrepareComparisonCopy(platform::Platform& platform, const CopyContext& context,
                           TFileInfo& info);
void PrepareComparisonCopy(platform::Platform& platform, bool isBC3, TFileInfo& info);

}  // namespace velmora
