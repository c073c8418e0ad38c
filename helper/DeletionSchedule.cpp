#include "helper/DeletionSchedule.h"

#include <algorithm>

namespace velmora {

bool DeletionSchedule::Add(const PendingFile& file, uint64_t now) {
  if (Find(file) != nullptr) return false;
  entries_.push_back(Entry{file, now, 0, 0});
  return true;
}

std::vector<PendingFile> DeletionSchedule::Due(uint64_t now) const {
  std::vector<PendingFile> due;
  for (const Entry& entry : entries_)
    if (entry.due <= now) due.push_back(entry.file);
  return due;
}

int DeletionSchedule::Retry(const PendingFile& file, uint64_t now) {
  Entry* entry = Find(file);
  if (entry == nullptr) return 0;
  entry->interval =
      entry->interval == 0 ? kFirstRetryMs : std::min(entry->interval * 2, kLongestRetryMs);
  entry->due = now + entry->interval;
  return ++entry->failures;
}

void DeletionSchedule::Remove(const PendingFile& file) {
  std::erase_if(entries_, [&](const Entry& entry) { return SamePending(entry.file, file); });
}

std::optional<uint64_t> DeletionSchedule::NextDue() const {
  std::optional<uint64_t> next;
  for (const Entry& entry : entries_)
    if (!next || entry.due < *next) next = entry.due;
  return next;
}

std::vector<PendingFile> DeletionSchedule::Files() const {
  std::vector<PendingFile> files;
  for (const Entry& entry : entries_) files.push_back(entry.file);
  return files;
}

std::vector<Text> DeletionSchedule::Paths() const {
  std::vector<Text> paths;
  for (const Entry& entry : entries_) paths.push_back(entry.file.path);
  return paths;
}

bool DeletionSchedule::Contains(const PendingFile& file) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const Entry& entry) { return SamePending(entry.file, file); });
}

DeletionSchedule::Entry* DeletionSchedule::Find(const PendingFile& file) {
  for (Entry& entry : entries_)
    if (SamePending(entry.file, file)) return &entry;
  return nullptr;
}

}  // namespace velmora
