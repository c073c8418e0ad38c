#include "support/PatternMatcher.h"

#include <vector>

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

// The system asks the same few patterns again and again, each time with a fresh matcher: each
// is compiled once per thread. A malformed pattern is not kept, so it raises every time.
std::shared_ptr<const pattern::Program> Compiled(const Text& pattern, const bool (&modifiers)[6]) {
  struct Kept {
    int switches;
    Text pattern;
    std::shared_ptr<const pattern::Program> program;
  };
  constexpr size_t kKept = 64;
  thread_local std::vector<Kept> kept;
  int switches = 0;
  for (int k = 0; k < 6; ++k) switches |= modifiers[k] << k;
  for (const Kept& entry : kept)
    if (entry.switches == switches && entry.pattern == pattern) return entry.program;
  pattern::Options options;
  options.ignoreCase = modifiers[0];
  options.cyrillicRanges = modifiers[1];
  options.dotAll = modifiers[2];
  options.greedy = modifiers[3];
  options.multiLine = modifiers[4];
  options.extended = modifiers[5];
  auto program = std::make_shared<const pattern::Program>(pattern::Compile(pattern, options));
  if (kept.size() < kKept) kept.push_back({switches, pattern, program});
  return program;
}

// The runner's working memory: a search never starts another, so one per thread will do. A
// search through a very long text leaves it large, so the next one starts afresh.
pattern::Scratch& SharedScratch() {
  thread_local pattern::Scratch scratch;
  constexpr size_t kKeptWords = size_t{1} << 16;
  if (scratch.seen.capacity() > kKeptWords || scratch.stack.capacity() > kKeptWords)
    scratch = pattern::Scratch();
  return scratch;
}

}  // namespace

TPatternMatcher::TPatternMatcher() = default;
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
  subject_.assign(subject.substr(0, subject.find(u'\0')));
  if (!program_) program_ = Compiled(pattern_, modifiers_);
  if (pattern::Run(*program_, subject_, spans_, SharedScratch())) return true;
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
