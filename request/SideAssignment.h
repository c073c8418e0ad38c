// The first stage of a comparison run: the parameter file's ANCESTOR and DERIVATIVES entries
// on the sides the user chose, each turned into a TFileInfo.
#pragma once

#include <vector>

#include "platform/Platform.h"
#include "request/FileInfo.h"
#include "request/MoveJournal.h"
#include "support/Text.h"

namespace velmora {

struct ComparisonSides {
  TFileInfo LeftInfo;
  TFileInfo RightInfo;
  Text BC_Args;  // read with the same settings access as the orientation
};

// Reads the parameter file, the orientation and BC_Args, then builds the left side and then
// the right side (which may already move the left side's file). Raises EVelmora "Cannot open
// file "%s". %s" for an unreadable file and "List index out of bounds (1)" for an entry with
// fewer than two items; settings of the wrong type raise the settings store's errors.
// Neither side's copy takes a name in `reservedNames` nor the other entry's PVCS file name;
// every move is recorded in `moves` when it is given. The archive masks are those of the
// comparison program `program` (Beyond Compare 3's when it is empty).
ComparisonSides AssignSides(platform::Platform& platform, const Text& parameterFile, bool isBC3,
                            const std::vector<Text>& reservedNames = {},
                            MoveJournal* moves = nullptr, const Text& program = Text());

}  // namespace velmora
