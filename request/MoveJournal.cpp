#include "request/MoveJournal.h"

#include <algorithm>

namespace velmora {

void MoveJournal::Forget(const Text& to) {
  std::erase_if(moves_, [&to](const Move& move) { return move.to == to; });
}

std::vector<MoveJournal::Refused> MoveJournal::Undo(platform::IFileSystem& files) {
  std::vector<Refused> refused;
  for (auto it = moves_.rbegin(); it != moves_.rend(); ++it)
    if (uint32_t error = files.Move(it->to, it->from)) refused.push_back({*it, error});
  moves_.clear();
  return refused;
}

}  // namespace velmora
