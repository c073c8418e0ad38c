// When each pending file is tried next: at once when it arrives, then after a growing interval
// while it cannot be deleted, so that a file held open for hours costs next to nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "helper/PendingFile.h"

namespace velmora {

class DeletionSchedule {
 public:
  // The first retry waits this long; each further one twice as long, up to the maximum.
  static constexpr uint64_t kFirstRetryMs = 250;
  static constexpr uint64_t kLongestRetryMs = 60'000;

  // Schedules `file` for `now`; a file already pending (see SamePending) is kept with its own
  // schedule. False when it was pending already.
  bool Add(const PendingFile& file, uint64_t now);
  // The pending files due at `now`, in the order they were added.
  std::vector<PendingFile> Due(uint64_t now) const;
  // The attempt on `file` at `now` failed: tries again after the next longer interval.
  // Returns how many attempts have failed so far.
  int Retry(const PendingFile& file, uint64_t now);
  void Remove(const PendingFile& file);
  // The time of the earliest attempt; none when nothing is pending.
  std::optional<uint64_t> NextDue() const;
  std::vector<PendingFile> Files() const;
  std::vector<Text> Paths() const;
  bool Contains(const PendingFile& file) const;
  bool Empty() const { return entries_.empty(); }

 private:
  struct Entry {
    PendingFile file;
    uint64_t due = 0;
    uint64_t interval = 0;  // the wait before the last retry; 0 before the first
    int failures = 0;
  };
  Entry* Find(const PendingFile& file);
  std::vector<Entry> entries_;
};

}  // namespace velmora
