// The deferred-deletion server's work, free of COM: accepts files, deletes each as soon as no
// process holds it open any more, and keeps the pending ones on disk until they are done.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "helper/DeletionSchedule.h"
#include "helper/PathJudgement.h"
#include "helper/PendingList.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

namespace velmora {

class DeferredDeletion {
 public:
  // A file whose deletion fails for another reason than being held open is given up after
  // this many attempts (about eight minutes with the growing interval); it stays on disk.
  static constexpr int kMostFailures = 14;

  DeferredDeletion(platform::IFileSystem& files, platform::IEnvironment& environment);

  // Takes over what an earlier run left pending; it is due at once.
  void Resume(uint64_t now);
  // Judges `path`; an accepted file is owned from now on: scheduled at once and written to
  // the pending list.
  Verdict Accept(const Text& path, uint64_t now);
  // Tries every due file. Returns when to come back, none when nothing is pending.
  std::optional<uint64_t> Work(uint64_t now);
  bool Idle() const { return schedule_.Empty(); }
  std::vector<Text> Pending() const { return schedule_.Paths(); }
  const Text& ListPath() const { return list_.Path(); }

 private:
  void Finish(const Text& path);
  // Writes the list: ours, with paths another server process added meanwhile taken over,
  // without those finished here.
  void Save(uint64_t now);

  platform::IFileSystem& files_;
  platform::IEnvironment& environment_;
  DeletionSchedule schedule_;
  PendingListFile list_;
  std::vector<Text> finished_;
};

}  // namespace velmora
