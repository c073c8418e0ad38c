#include "support/FileMask.h"

#include <bitset>
#include <vector>

#include "support/Errors.h"
#include "support/Format.h"

namespace velmora {

namespace {

// At most this many mask elements may follow a "*".
constexpr int kMaxStarredElements = 30;

enum class Kind { Literal, AnyOne, Set, End };

struct Element {
  Kind kind = Kind::End;
  bool afterStar = false;
  char16_t literal = 0;  // folded
  bool negate = false;
  std::bitset<256> set;

  bool Matches(char16_t c) const {
    switch (kind) {
      case Kind::Literal:
        return UpperAscii(c) == literal;
      case Kind::AnyOne:
        return true;
      case Kind::Set:
        // A text character above U+00FF is never a member.
        return (c <= 0xFF && set.test(UpperAscii(c))) != negate;
      case Kind::End:
        break;
    }
    return false;
  }
};

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Set members stand for the character with the same low eight bits.
size_t Member(char16_t c) {
  return UpperAscii(c) & 0xFF;
}

class MaskParser {
 public:
  explicit MaskParser(TextView mask) : mask_(mask) {}

  std::vector<Element> Parse() {
    while (pos_ < mask_.size()) {
      char16_t c = mask_[pos_];
      if (c == u'*') {
        pending_.afterStar = true;
      } else if (c == u'?') {
        // "*?" acts as "*": a "?" is kept only when no star is pending.
        if (!pending_.afterStar) {
          pending_.kind = Kind::AnyOne;
          Write();
        }
      } else if (c == u'[') {
        ScanSet();
      } else {
        pending_.kind = Kind::Literal;
        pending_.literal = UpperAscii(c);
        Write();
      }
      ++pos_;
    }
    pending_.kind = Kind::End;
    Write();
    return std::move(elements_);
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EVelmora(
        Format(u"'%s' is an invalid mask at (%d)", {Text(mask_), static_cast<int64_t>(pos_ + 1)}));
  }

  char16_t At(size_t i) const { return i < mask_.size() ? mask_[i] : u'\0'; }

  // Leaves pos_ on the closing "]".
  void ScanSet() {
    ++pos_;
    if (At(pos_) == u'!' && pos_ < mask_.size()) {
      pending_.negate = true;
      ++pos_;
    }
    bool haveLast = false;
    size_t last = 0;
    while (pos_ < mask_.size() && mask_[pos_] != u']') {
      char16_t c = mask_[pos_];
      if (IsHighSurrogate(c)) {
        // A surrogate pair names no member; a lone high half is dropped on its own.
        if (IsLowSurrogate(At(pos_ + 1))) ++pos_;
      } else if (c == u'-') {
        if (!haveLast) Invalid();
        ++pos_;
        // The range end is whatever follows, "]" included; a range needs one, though.
        if (pos_ >= mask_.size()) Invalid();
        for (size_t m = last, to = Member(mask_[pos_]); m <= to; ++m) pending_.set.set(m);
      } else {
        last = Member(c);
        haveLast = true;
        pending_.set.set(last);
      }
      ++pos_;
    }
    if (pos_ >= mask_.size() || pending_.set.none()) Invalid();
    pending_.kind = Kind::Set;
    Write();
  }

  void Write() {
    if (pending_.afterStar && ++starred_ > kMaxStarredElements) Invalid();
    elements_.push_back(pending_);
    pending_ = Element();
  }

  TextView mask_;
  size_t pos_ = 0;
  int starred_ = 0;
  Element pending_;
  std::vector<Element> elements_;
};

}  // namespace

bool MatchFileMask(TextView text, TextView mask) {
  const std::vector<Element> elements = MaskParser(mask).Parse();
  // Every element but the end takes exactly one character, so remembering only the latest
  // star and retrying it one character further is complete, and needs no recursion.
  size_t i = 0;
  size_t j = 0;
  bool haveStar = false;
  size_t starElement = 0;
  size_t starText = 0;
  for (;;) {
    const Element& e = elements[j];
    if (e.afterStar) {
      if (e.kind == Kind::End) return true;
      haveStar = true;
      starElement = j;
      starText = i;
    }
    if (e.kind == Kind::End) {
      if (i == text.size()) return true;
    } else if (i < text.size() && e.Matches(text[i])) {
      ++i;
      ++j;
      continue;
    }
    if (!haveStar || starText >= text.size()) return false;
    i = ++starText;
    j = starElement;
  }
}

}  // namespace velmora
