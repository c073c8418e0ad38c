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
  // A list another server process is busy with is written again after this long.
  static constexpr uint64_t kSaveRetryMs = 100;

  // `process` names this process's own files beside the list (its process ID).
  DeferredDeletion(platform::IFileSystem& files, platform::IEnvironment& environment,
                   const Text& process = u"0");

  // Takes over what earlier runs left pending; it is due at once.
  void Resume(uint64_t now);
  // Judges `path`; an accepted file is owned from now on: scheduled at once and written to
  // the pending list.
  Verdict Accept(const Text& path, uint64_t now);
  // Tries every due file. Returns when to come back, none when nothing is left to do.
  std::optional<uint64_t> Work(uint64_t now);
  // Nothing pending, and the list on disk says so.
  bool Idle() const { return schedule_.Empty() && !unsaved_; }
  std::vector<Text> Pending() const { return schedule_.Paths(); }
  const Text& ListPath() const { return list_.Path(); }
  Text RecordPath() const { return list_.RecordPath(); }

 private:
  void Finish(const PendingFile& file);
  // Writes the list: ours, with entries another server process added meanwhile taken over,
  // without those finished here. While another process holds the list, it is tried again
  // after kSaveRetryMs.
  void Save(uint64_t now);

  platform::IFileSystem& files_;
  platform::IEnvironment& environment_;
  DeletionSchedule schedule_;
  PendingListFile list_;
  std::vector<PendingFile> finished_;
  std::vector<Text> toRecord_;  // lines for the record, written with the next save
  bool unsaved_ = false;
  uint64_t saveDue_ = 0;
};

}  // namespace velmora
