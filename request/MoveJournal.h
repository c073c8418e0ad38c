// The moves a run has made of PVCS's and the user's files, so that a run that fails can put
// every file back where it was before the error is shown.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/FileSystem.h"
#include "support/Text.h"

namespace velmora {

class MoveJournal {
 public:
  struct Move {
    Text from;  // the name the file had
    Text to;    // the name Velmora gave it
  };

  void Record(const Text& from, const Text& to) { moves_.push_back({from, to}); }
  // The file now under `to` is no longer the journal's business (its side was disposed of).
  void Forget(const Text& to);
  // A move that could not be undone: the file is still under `move.to`.
  struct Refused {
    Move move;
    uint32_t error = 0;
  };

  // Moves every recorded file back, the last move first, and forgets them. A move that fails
  // leaves that file where it is; those are returned, in the order they were tried.
  std::vector<Refused> Undo(platform::IFileSystem& files);
  const std::vector<Move>& Moves() const { return moves_; }

 private:
  std::vector<Move> moves_;
};

}  // namespace velmora
