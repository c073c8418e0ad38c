// Runs a compiled pattern by backtracking with an explicit stack. A (join instruction,
// position) state that was explored once is never explored again: its outcome does not depend
// on how it was reached (there are no back-references), and a state that is met again has
// failed or is still being explored on the current path. Every other instruction has a single
// predecessor, so each (instruction, position) runs at most once per search, and a search
// costs at most instructions x (subject length + 1) steps, whatever the pattern.
#include <limits>

#include "support/Errors.h"
#include "support/PatternProgram.h"

namespace velmora::pattern {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool IsWord(char16_t c) {
  return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool IsLineSeparator(char16_t c) {
  return (c >= 10 && c <= 13) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Simple case pairs: ASCII, Latin-1, Greek and Cyrillic.
char16_t LowerCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

char16_t UpperCase(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

void CharClass::Add(char16_t from, char16_t to) {
  for (uint32_t c = from; c <= to && c < 0x100; ++c) low[c >> 6] |= uint64_t{1} << (c & 63);
  if (to >= 0x100) high.emplace_back(std::max<char16_t>(from, 0x100), to);
}

bool CharClass::ContainsExact(char16_t c) const {
  if (c < 0x100) {
    if (low[c >> 6] >> (c & 63) & 1) return true;
  } else {
    for (const auto& [from, to] : high) {
      if (c >= from && c <= to) return true;
    }
  }
  return (notDigit && !IsDigit(c)) || (notWord && !IsWord(c)) || (notSpace && !IsSpace(c));
}

bool CharClass::Contains(char16_t c) const {
  bool in = ContainsExact(c) ||
            (ignoreCase && (ContainsExact(LowerCase(c)) || ContainsExact(UpperCase(c))));
  return in != negated;
}

namespace {

class Runner {
 public:
  Runner(const Program& program, TextView subject, std::vector<int32_t>& spans, Scratch& scratch)
      : code_(program.code),
        classes_(program.classes),
        memo_(program.memo),
        s_(subject),
        spans_(spans),
        seen_(scratch.seen),
        stack_(scratch.stack) {
    if (subject.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
      throw EVelmora(u"The text is too long to search");
    }
    n_ = static_cast<int32_t>(subject.size());
    // Position-major, so the states of one position share a cache line.
    width_ = static_cast<size_t>(program.memoSlots);
    seen_.assign((width_ * (static_cast<size_t>(n_) + 1) + 63) / 64, 0);
    spans_.assign(2 * (static_cast<size_t>(program.groups) + 1), -1);
  }

  bool Search() {
    for (int32_t start = 0; start <= n_; ++start) {
      if (From(start)) return true;
    }
    return false;
  }

 private:
  // Marks the state and tells whether it was new.
  bool Visit(int32_t pc, int32_t pos) {
    int32_t slot = memo_[pc];
    if (slot < 0) return true;
    size_t bit = static_cast<size_t>(pos) * width_ + static_cast<size_t>(slot);
    uint64_t& word = seen_[bit >> 6];
    uint64_t mask = uint64_t{1} << (bit & 63);
    if (word & mask) return false;
    word |= mask;
    return true;
  }

  bool Holds(Anchor anchor, int32_t pos) const {
    switch (anchor) {
      case Anchor::TextStart:
        return pos == 0;
      case Anchor::TextEnd:
        return pos == n_;
      case Anchor::LineStart:
        return pos == 0 || IsLineSeparator(s_[pos - 1]);
      case Anchor::LineEnd:
        return pos == n_ || IsLineSeparator(s_[pos]);
      case Anchor::WordEdge:
      case Anchor::NotWordEdge: {
        bool before = pos > 0 && IsWord(s_[pos - 1]);
        bool after = pos < n_ && IsWord(s_[pos]);
        return (before != after) == (anchor == Anchor::WordEdge);
      }
    }
    return false;
  }

  bool From(int32_t start) {
    stack_.clear();
    stack_.push_back({0, 0, start});
    while (!stack_.empty()) {
      Scratch::Frame f = stack_.back();
      stack_.pop_back();
      if (f.pc < 0) {
        spans_[f.slot] = f.pos;
        continue;
      }
      if (Explore(f.pc, f.pos)) return true;
    }
    return false;
  }

  // Follows one path until it fails or matches; alternatives go onto the stack.
  bool Explore(int32_t pc, int32_t pos) {
    while (Visit(pc, pos)) {
      const Instruction& ins = code_[pc];
      switch (ins.op) {
        case Op::Char:
          if (pos >= n_ || s_[pos] != ins.ch) return false;
          ++pc, ++pos;
          break;
        case Op::CharFold:
          if (pos >= n_ || LowerCase(s_[pos]) != ins.ch) return false;
          ++pc, ++pos;
          break;
        case Op::Any:
          if (pos >= n_) return false;
          ++pc, ++pos;
          break;
        case Op::AnyButBreak:
          if (pos >= n_ || IsLineSeparator(s_[pos])) return false;
          ++pc, ++pos;
          break;
        case Op::Class:
          if (pos >= n_ || !classes_[ins.arg].Contains(s_[pos])) return false;
          ++pc, ++pos;
          break;
        case Op::Split:
          stack_.push_back({ins.alt, 0, pos});
          pc = ins.arg;
          break;
        case Op::Jump:
          pc = ins.arg;
          break;
        case Op::Save:
          stack_.push_back({-1, ins.arg, spans_[ins.arg]});
          spans_[ins.arg] = pos;
          ++pc;
          break;
        case Op::Assert:
          if (!Holds(ins.anchor, pos)) return false;
          ++pc;
          break;
        case Op::Match:
          return true;
      }
    }
    return false;
  }

  const std::vector<Instruction>& code_;
  const std::vector<CharClass>& classes_;
  const std::vector<int32_t>& memo_;
  TextView s_;
  std::vector<int32_t>& spans_;
  std::vector<uint64_t>& seen_;
  std::vector<Scratch::Frame>& stack_;
  int32_t n_ = 0;
  size_t width_ = 0;
};

}  // namespace

bool Run(const Program& program, TextView subject, std::vector<int32_t>& spans, Scratch& scratch) {
  return Runner(program, subject, spans, scratch).Search();
}

}  // namespace velmora::pattern
