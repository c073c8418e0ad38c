// Enumerators for for-each loops (unit uIterator): an index-based base and a walker over
// delimited text that hands out single tokens or groups of tokens.
#pragma once

#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "support/Text.h"

namespace velmora {

// Walks numbered items by index, forward or backward.
class TForInEnumerator {
 public:
  virtual ~TForInEnumerator() = default;

  virtual int32_t GetCount() const = 0;
  virtual int32_t GetItemIndex() const { return fItemIndex; }
  // Steps the index; true while it lies within 0 .. GetCount() - 1.
  virtual bool MoveNext();

 protected:
  TForInEnumerator() = default;
  TForInEnumerator(const TForInEnumerator&) = default;
  TForInEnumerator& operator=(const TForInEnumerator&) = default;

  // Backward makes the first MoveNext land on the last item. A derived constructor calls this
  // once its GetCount answers: C++ does not dispatch to it from the base constructor.
  void Create(bool Backward);

  int32_t fDelta = 1;
  int32_t fItemIndex = -1;
};

// Splits a text at a delimiter of any length. Bundle <= 1 gives single tokens, scanned on
// demand (plain mode); Bundle >= 2 joins runs of Bundle tokens into items up front (grouped
// mode). Works with range-for:
//   for (const Text& mask : TStringEnumerator::Iterate(list, u";", 1)) ...
class TStringEnumerator : public TForInEnumerator {
 public:
  TStringEnumerator(TextView CSV, TextView Delimiter, int32_t Bundle);

  // The enumerator a for-each loop walks; the caller owns the result.
  static TStringEnumerator Iterate(TextView CSV, TextView Delimiter, int32_t Bundle) {
    return TStringEnumerator(CSV, Delimiter, Bundle);
  }
  TStringEnumerator& GetEnumerator() { return *this; }

  int32_t GetCount() const override;
  bool MoveNext() override;
  // The current token or item; empty outside a run, where reading it is meaningless.
  Text Current() const;

  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Text;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Text;

    iterator() = default;
    Text operator*() const { return owner_->Current(); }
    iterator& operator++() {
      if (!owner_->MoveNext()) owner_ = nullptr;
      return *this;
    }
    void operator++(int) { ++*this; }
    bool operator==(const iterator& other) const { return owner_ == other.owner_; }

   private:
    friend class TStringEnumerator;
    explicit iterator(TStringEnumerator* owner) : owner_(owner) {}
    TStringEnumerator* owner_ = nullptr;
  };

  // begin() takes the first step, so a plain enumerator that has run out starts again.
  iterator begin() { return MoveNext() ? iterator(this) : iterator(); }
  iterator end() { return iterator(); }

 private:
  bool MovePlain();
  size_t TokenEnd(size_t from) const;

  int32_t fCount = 0;
  Text fCSV;
  Text fDelimiter;
  std::unique_ptr<std::vector<Text>> fList;
  std::optional<size_t> fPosition;
};

}  // namespace velmora
