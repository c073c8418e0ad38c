#include "helper/DeferredDeletion.h"

#include <algorithm>

#include "support/Format.h"

namespace velmora {

namespace {

bool Listed(const std::vector<PendingFile>& files, const PendingFile& file) {
  return std::any_of(files.begin(), files.end(),
                     [&](const PendingFile& known) { return SamePending(known, file); });
}

Text Quoted(const Text& path) {
  return u"\"" + path + u"\"";
}

}  // namespace

DeferredDeletion::DeferredDeletion(platform::IFileSystem& files,
                                   platform::IEnvironment& environment, const Text& process)
    : files_(files), environment_(environment), list_(files, environment, process) {}

void DeferredDeletion::Resume(uint64_t now) {
  Save(now);
}

Verdict DeferredDeletion::Accept(const Text& path, uint64_t now) {
  Verdict verdict = JudgeRequest(files_, FinalTempDirectory(files_, environment_), path);
  if (verdict.kind != Verdict::Kind::Accepted) return verdict;
  PendingFile file{verdict.finalPath, verdict.identity};
  std::erase_if(finished_, [&](const PendingFile& done) { return SamePending(done, file); });
  schedule_.Add(file, now);
  Save(now);
  return verdict;
}

std::optional<uint64_t> DeferredDeletion::Work(uint64_t now) {
  std::vector<PendingFile> due = schedule_.Due(now);
  bool changed = false;
  if (!due.empty()) {
    Text temp = FinalTempDirectory(files_, environment_);
    for (const PendingFile& file : due) {
      DeleteAttempt attempt = DeleteIfSafe(files_, temp, file);
      switch (attempt.outcome) {
        case DeleteOutcome::Deleted:
        case DeleteOutcome::Gone:
        case DeleteOutcome::Refused:
          Finish(file);
          changed = true;
          break;
        case DeleteOutcome::Replaced:
          toRecord_.push_back(
              Format(u"%s is no longer the file handed over (it was deleted and "
                     u"made again, or replaced); it is left alone.",
                     {Quoted(file.path)}));
          Finish(file);
          changed = true;
          break;
        case DeleteOutcome::Held:
          schedule_.Retry(file, now);
          break;
        case DeleteOutcome::Failed:
          if (schedule_.Retry(file, now) >= kMostFailures) {
            toRecord_.push_back(
                Format(u"%s could not be deleted (system error %s); it is left "
                       u"in place.",
                       {Quoted(file.path), ToDecimal(attempt.error)}));
            Finish(file);
            changed = true;
          }
          break;
      }
    }
  }
  if (changed || (unsaved_ && saveDue_ <= now)) Save(now);
  std::optional<uint64_t> next = schedule_.NextDue();
  if (unsaved_ && (!next || saveDue_ < *next)) next = saveDue_;
  return next;
}

void DeferredDeletion::Finish(const PendingFile& file) {
  schedule_.Remove(file);
  if (!Listed(finished_, file)) finished_.push_back(file);
}

void DeferredDeletion::Save(uint64_t now) {
  bool busy = false;
  auto lock = list_.Lock(&busy);
  if (busy) {
    unsaved_ = true;
    saveDue_ = now + kSaveRetryMs;
    return;
  }
  // Without a lock file (its folder cannot be written, say) the list is written as before;
  // the write is best effort either way: a list that cannot be written leaves the work to
  // this run alone.
  for (const PendingFile& file : list_.Read())
    if (!Listed(finished_, file)) schedule_.Add(file, now);
  // Only with the lock held is every ".new" file beside the list a dead process's leftover.
  if (list_.Write(schedule_.Files()) == 0 && lock) list_.DropLeftovers();
  list_.Record(toRecord_);
  toRecord_.clear();
  unsaved_ = false;
}

}  // namespace velmora
