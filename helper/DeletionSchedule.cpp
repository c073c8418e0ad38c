#include "helper/DeletionSchedule.h"

#include <algorithm>

namespace velmora {

bool DeletionSchedule::Add(const Text& path, uint64_t now) {
  if (Find(path) != nullptr) return false;
  entries_.push_back(Entry{path, now, 0, 0});
  return true;
}

std::vector<Text> DeletionSchedule::Due(uint64_t now) const {
  std::vector<Text> due;
  for (const Entry& entry : entries_)
    if (entry.due <= now) due.push_back(entry.path);
  return due;
}

int DeletionSchedule::Retry(const Text& path, uint64_t now) {
  Entry* entry = Find(path);
  if (entry == nullptr) return 0;
  entry->interval =
      entry->interval == 0 ? kFirstRetryMs : std::min(entry->interval * 2, kLongestRetryMs);
  entry->due = now + entry->interval;
  return ++entry->failures;
}

void DeletionSchedule::Remove(const Text& path) {
  std::erase_if(entries_,
                [&](const Entry& entry) { return EqualsIgnoreAsciiCase(entry.path, path); });
}

std::optional<uint64_t> DeletionSchedule::NextDue() const {
  std::optional<uint64_t> next;
  for (const Entry& entry : entries_)
    if (!next || entry.due < *next) next = entry.due;
  return next;
}

std::vector<Text> DeletionSchedule::Paths() const {
  std::vector<Text> paths;
  for (const Entry& entry : entries_) paths.push_back(entry.path);
  return paths;
}

bool DeletionSchedule::Contains(TextView path) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const Entry& entry) { return EqualsIgnoreAsciiCase(entry.path, path); });
}

DeletionSchedule::Entry* DeletionSchedule::Find(TextView path) {
  for (Entry& entry : entries_)
    if (EqualsIgnoreAsciiCase(entry.path, path)) return &entry;
  return nullptr;
}

}  // namespace velmora
