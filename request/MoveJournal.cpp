#include "request/MoveJournal.h"

#include <algorithm>

namespace velmora {

void MoveJournal::Forget(const Text& to) {
  std::erase_if(moves_, [&to](const Move& move) { return move.to == to; });
}

void MoveJournal::Undo(platform::IFileSystem& files) {
  for (auto it = moves_.rbegin(); it != moves_.rend(); ++it) files.Move(it->to, it->from);
  moves_.clear();
}

}  // namespace velmora
