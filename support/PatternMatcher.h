// The pattern adapter used by title parsing and the archive-mask reader. Its dialect differs
// from common engines on purpose: "\Z" only at the very end, ASCII-only "\d", "\w" and "\s"
// (no vertical tab), "." across line breaks by default, 1-based group positions, and G off
// making every quantifier non-greedy.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "support/Text.h"

namespace velmora {

namespace pattern {
struct Program;
}  // namespace pattern

class TPatternMatcher {
 public:
  TPatternMatcher();
  ~TPatternMatcher();
  TPatternMatcher(const TPatternMatcher&) = delete;
  TPatternMatcher& operator=(const TPatternMatcher&) = delete;

  const Text& Pattern() const { return pattern_; }
  // Takes effect at the next Search, which raises EVelmora when the pattern is malformed.
  void Pattern(TextView pattern);

  // The switches as a string that restores them when set again, e.g. "RSG-IMX".
  Text ModifierString() const;
  // Letters I, R, S, G, M, X in either case switch on, or off after a "-". Raises EVelmora
  // for any other character and then changes nothing.
  void ModifierString(TextView modifiers);

  // True when the pattern matches somewhere in the subject (read up to its first NUL).
  bool Search(TextView subject);

  // Group 0 is the whole match. A group that took no part gives empty text and -1.
  Text GroupText(int n) const;
  int32_t GroupPos(int n) const;  // 1-based, in UTF-16 code units
  int32_t GroupLen(int n) const;
  // The highest group number that took part in the last match; 0 when none did.
  int32_t GroupsTakingPart() const;

 private:
  bool Took(int n) const;

  Text pattern_;
  bool modifiers_[6] = {false, true, true, true, false, false};  // I R S G M X
  std::shared_ptr<const pattern::Program> program_;              // null until compiled
  Text subject_;
  std::vector<int32_t> spans_;
};

}  // namespace velmora
