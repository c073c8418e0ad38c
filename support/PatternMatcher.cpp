#include "support/PatternMatcher.h"

#include "support/Errors.h"
#include "support/Format.h"
#include "support/PatternProgram.h"

namespace velmora {

namespace {

constexpr char16_t kLetters[] = u"IRSGMX";

int ModifierIndex(char16_t c) {
  for (int k = 0; k < 6; ++k) {
    if (UpperAscii(c) == kLetters[k]) return k;
  }
  return -1;
}

}  // namespace

TPatternMatcher::TPatternMatcher() : scratch_(std::make_unique<pattern::Scratch>()) {}
TPatternMatcher::~TPatternMatcher() = default;

void TPatternMatcher::Pattern(TextView pattern) {
  pattern_ = Text(pattern);
  program_.reset();
}

Text TPatternMatcher::ModifierString() const {
  Text on, off;
  for (int k = 0; k < 6; ++k) (modifiers_[k] ? on : off) += kLetters[k];
  return off.empty() ? on : on + u"-" + off;
}

void TPatternMatcher::ModifierString(TextView modifiers) {
  bool next[6];
  std::copy(std::begin(modifiers_), std::end(modifiers_), next);
  bool value = true;
  for (char16_t c : modifiers) {
    if (c == u'-') {
      value = false;
      continue;
    }
    int k = ModifierIndex(c);
    if (k < 0) {
      throw EVelmora(Format(u"'%s' is an invalid modifier string", {Text(modifiers)}));
    }
    next[k] = value;
  }
  std::copy(std::begin(next), std::end(next), modifiers_);
  program_.reset();
}

bool TPatternMatcher::Search(TextView subject) {
  spans_.clear();
  subject_ = Text(subject.substr(0, subject.find(u'\0')));
  if (!program_) {
    pattern::Options options;
    options.ignoreCase = modifiers_[0];
    options.cyrillicRanges = modifiers_[1];
    options.dotAll = modifiers_[2];
    options.greedy = modifiers_[3];
    options.multiLine = modifiers_[4];
    options.extended = modifiers_[5];
    program_ = std::make_unique<pattern::Program>(pattern::Compile(pattern_, options));
  }
  if (pattern::Run(*program_, subject_, spans_, *scratch_)) return true;
  spans_.clear();
  return false;
}

bool TPatternMatcher::Took(int n) const {
  return n >= 0 && static_cast<size_t>(2 * n + 1) < spans_.size() && spans_[2 * n] >= 0 &&
         spans_[2 * n + 1] >= 0;
}

Text TPatternMatcher::GroupText(int n) const {
  if (!Took(n)) return Text();
  return subject_.substr(spans_[2 * n], spans_[2 * n + 1] - spans_[2 * n]);
}

int32_t TPatternMatcher::GroupPos(int n) const {
  return Took(n) ? spans_[2 * n] + 1 : -1;
}

int32_t TPatternMatcher::GroupLen(int n) const {
  return Took(n) ? spans_[2 * n + 1] - spans_[2 * n] : -1;
}

int32_t TPatternMatcher::GroupsTakingPart() const {
  for (int n = static_cast<int>(spans_.size() / 2) - 1; n > 0; --n) {
    if (Took(n)) return n;
  }
  return 0;
}

}  // namespace velmora
