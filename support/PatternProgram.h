// The compiled form behind TPatternMatcher: a pattern becomes a short instruction program
// that a backtracking runner executes over UTF-16 code units.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "support/Text.h"

namespace velmora::pattern {

// The highest group number a pattern may have.
constexpr int kMaxGroups = 14;

struct Options {
  bool ignoreCase = false;     // I
  bool cyrillicRanges = true;  // R
  bool dotAll = true;          // S
  bool greedy = true;          // G
  bool multiLine = false;      // M
  bool extended = false;       // X
};

enum class Op : uint8_t {
  Char,         // ch, exact
  CharFold,     // ch folded; compares the folded subject character
  Any,          // any character
  AnyButBreak,  // any character but a line separator
  Class,        // arg = index into classes
  Split,        // try arg first, then alt
  Jump,         // arg = target
  Save,         // arg = span slot
  Assert,       // anchor
  Match,
};

enum class Anchor : uint8_t { LineStart, LineEnd, TextStart, TextEnd, WordEdge, NotWordEdge };

struct Instruction {
  Op op = Op::Match;
  Anchor anchor = Anchor::TextStart;
  char16_t ch = 0;
  int32_t arg = 0;
  int32_t alt = 0;
};

struct CharClass {
  std::array<uint64_t, 4> low{};                             // members below U+0100
  std::vector<std::pair<char16_t, char16_t>> high;           // ranges from U+0100 on
  bool notDigit = false, notWord = false, notSpace = false;  // \D, \W, \S inside the set
  bool negated = false;
  bool ignoreCase = false;

  void Add(char16_t from, char16_t to);
  bool Contains(char16_t c) const;

 private:
  bool ContainsExact(char16_t c) const;
};

struct Program {
  std::vector<Instruction> code;
  std::vector<CharClass> classes;
  int groups = 0;
  // Memo slot of each instruction, -1 for none. Only join points (more than one way in) get
  // one: any other instruction has a single predecessor, so its states are reached at most as
  // often as the remembered states before them.
  std::vector<int32_t> memo;
  int32_t memoSlots = 0;
};

// Working memory of the runner, kept between searches to spare allocations.
struct Scratch {
  struct Frame {
    int32_t pc;    // instruction to explore, or -1: restore a span
    int32_t slot;  // span slot to restore
    int32_t pos;   // position to explore from, or the span value to restore
  };
  std::vector<uint64_t> seen;
  std::vector<Frame> stack;
};

// Character rules shared by compiler and runner; all ASCII-only where the dialect says so.
bool IsDigit(char16_t c);
bool IsWord(char16_t c);
bool IsSpace(char16_t c);  // space, tab, LF, CR, FF; not the vertical tab
bool IsLineSeparator(char16_t c);
char16_t LowerCase(char16_t c);
char16_t UpperCase(char16_t c);

// Raises EVelmora for a malformed pattern.
Program Compile(TextView pattern, const Options& options);

// Finds the leftmost match under the dialect's order of preference. On success, spans holds
// start and end (0-based, -1 when not taking part) of group 0 and of each numbered group.
bool Run(const Program& program, TextView subject, std::vector<int32_t>& spans, Scratch& scratch);

}  // namespace velmora::pattern
