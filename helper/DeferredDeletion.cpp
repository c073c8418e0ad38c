#include "helper/DeferredDeletion.h"

namespace velmora {

namespace {

bool Listed(const std::vector<Text>& paths, const Text& path) {
  for (const Text& known : paths)
    if (EqualsIgnoreAsciiCase(known, path)) return true;
  return false;
}

}  // namespace

DeferredDeletion::DeferredDeletion(platform::IFileSystem& files,
                                   platform::IEnvironment& environment)
    : files_(files), environment_(environment), list_(files, environment) {}

void DeferredDeletion::Resume(uint64_t now) {
  for (const Text& path : list_.Read()) schedule_.Add(path, now);
  Save(now);
  list_.DropLeftover();
}

Verdict DeferredDeletion::Accept(const Text& path, uint64_t now) {
  Verdict verdict = JudgeRequest(files_, FinalTempDirectory(files_, environment_), path);
  if (verdict.kind != Verdict::Kind::Accepted) return verdict;
  std::erase_if(finished_,
                [&](const Text& done) { return EqualsIgnoreAsciiCase(done, verdict.finalPath); });
  schedule_.Add(verdict.finalPath, now);
  Save(now);
  return verdict;
}

std::optional<uint64_t> DeferredDeletion::Work(uint64_t now) {
  std::vector<Text> due = schedule_.Due(now);
  if (!due.empty()) {
    Text temp = FinalTempDirectory(files_, environment_);
    bool changed = false;
    for (const Text& path : due) {
      DeleteAttempt attempt = DeleteIfSafe(files_, temp, path);
      switch (attempt.outcome) {
        case DeleteOutcome::Deleted:
        case DeleteOutcome::Gone:
        case DeleteOutcome::Refused:
          Finish(path);
          changed = true;
          break;
        case DeleteOutcome::Held:
          schedule_.Retry(path, now);
          break;
        case DeleteOutcome::Failed:
          if (schedule_.Retry(path, now) >= kMostFailures) {
            Finish(path);
            changed = true;
          }
          break;
      }
    }
    if (changed) Save(now);
  }
  return schedule_.NextDue();
}

void DeferredDeletion::Finish(const Text& path) {
  schedule_.Remove(path);
  if (!Listed(finished_, path)) finished_.push_back(path);
}

void DeferredDeletion::Save(uint64_t now) {
  for (const Text& path : list_.Read())
    if (!Listed(finished_, path)) schedule_.Add(path, now);
  // Best effort: a list that cannot be written leaves the work to this run alone.
  list_.Write(schedule_.Paths());
}

}  // namespace velmora
