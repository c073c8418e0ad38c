#include "support/Iterator.h"

#include <limits>

namespace velmora {

namespace {

// Texts are read up to their first NUL only.
TextView UpToNul(TextView text) {
  return text.substr(0, text.find(u'\0'));
}

}  // namespace

bool TForInEnumerator::MoveNext() {
  // Past the end the index keeps moving, but never beyond what 32 bits hold.
  if ((fDelta > 0 && fItemIndex <= std::numeric_limits<int32_t>::max() - fDelta) ||
      (fDelta < 0 && fItemIndex >= std::numeric_limits<int32_t>::min() - fDelta)) {
    fItemIndex += fDelta;
  }
  int32_t index = GetItemIndex();
  return index >= 0 && index < GetCount();
}

void TForInEnumerator::Create(bool Backward) {
  fDelta = Backward ? -1 : 1;
  fItemIndex = Backward ? GetCount() : -1;
}

TStringEnumerator::TStringEnumerator(TextView CSV, TextView Delimiter, int32_t Bundle)
    : fCSV(UpToNul(CSV)), fDelimiter(UpToNul(Delimiter)) {
  if (Bundle <= 1) {
    while (MovePlain()) ++fCount;
    return;
  }
  // Grouped mode tests the group for emptiness, not for its start: empty leading tokens add
  // no delimiter, and a last group of empty tokens only is dropped.
  auto items = std::make_unique<std::vector<Text>>();
  Text group;
  int64_t tokens = 0;
  while (MovePlain()) {
    Text token = fCSV.substr(*fPosition, TokenEnd(*fPosition) - *fPosition);
    if (group.empty()) {
      group = std::move(token);
    } else {
      group += fDelimiter;
      group += token;
    }
    if (++tokens % Bundle == 0) {
      items->push_back(std::move(group));
      group.clear();
    }
  }
  if (!group.empty()) items->push_back(std::move(group));
  fList = std::move(items);
}

int32_t TStringEnumerator::GetCount() const {
  return fList ? static_cast<int32_t>(fList->size()) : fCount;
}

bool TStringEnumerator::MoveNext() {
  return fList ? TForInEnumerator::MoveNext() : MovePlain();
}

bool TStringEnumerator::MovePlain() {
  if (!fPosition) {
    // Only one leading delimiter is skipped; an empty delimiter is never found.
    fPosition = (!fDelimiter.empty() && StartsWith(fCSV, fDelimiter)) ? fDelimiter.size() : 0;
  } else {
    size_t found = fDelimiter.empty() ? Text::npos : fCSV.find(fDelimiter, *fPosition);
    if (found == Text::npos) {
      fPosition.reset();
    } else {
      fPosition = found + fDelimiter.size();
    }
  }
  if (fPosition && *fPosition >= fCSV.size()) fPosition.reset();
  return fPosition.has_value();
}

size_t TStringEnumerator::TokenEnd(size_t from) const {
  size_t found = fDelimiter.empty() ? Text::npos : fCSV.find(fDelimiter, from);
  return found == Text::npos ? fCSV.size() : found;
}

Text TStringEnumerator::Current() const {
  if (fList) {
    bool inRange = fItemIndex >= 0 && fItemIndex < static_cast<int32_t>(fList->size());
    return inRange ? (*fList)[static_cast<size_t>(fItemIndex)] : Text();
  }
  if (!fPosition) return Text();
  return fCSV.substr(*fPosition, TokenEnd(*fPosition) - *fPosition);
}

}  // namespace velmora
