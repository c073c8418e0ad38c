// The system's patterns on subjects built to provoke backtracking. Sizes are in UTF-16 code
// units; time per search should double as the subject doubles.
#include <benchmark/benchmark.h>

#include "support/PatternMatcher.h"

namespace velmora {
namespace {

Text Repeat(TextView unit, int64_t length) {
  Text out;
  out.reserve(static_cast<size_t>(length) + unit.size());
  while (static_cast<int64_t>(out.size()) < length) out += unit;
  out.resize(static_cast<size_t>(length));
  return out;
}

void Run(benchmark::State& state, TextView pattern, TextView modifiers, const Text& subject,
         bool expected) {
  TPatternMatcher m;
  if (!modifiers.empty()) m.ModifierString(modifiers);
  m.Pattern(pattern);
  for (auto _ : state) {
    bool found = m.Search(subject);
    if (found != expected) state.SkipWithError("unexpected result");
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(subject.size() * 2));
}

void FileNumber(benchmark::State& state) {
  Run(state, u"File \\d:\\s+(.+)", u"", u"File 1: " + Repeat(u"a", state.range(0)), true);
}

void FileNumberNoMatch(benchmark::State& state) {
  Run(state, u"File \\d:\\s+(.+)", u"", Repeat(u"File 1:\v", state.range(0)), false);
}

void DerivativeTitle(benchmark::State& state) {
  Run(state, u"(.+)( - Derivative| - Ancestor)", u"",
      Repeat(u"main.c - Derivativ - Ancesto ", state.range(0)), false);
}

void SemicolonPair(benchmark::State& state) {
  Run(state, u"(.+);(.+)", u"", Repeat(u"a", state.range(0)) + u";", false);
}

void Extension(benchmark::State& state) {
  Run(state, u"(\\.\\w+)(\\s+|\\Z)", u"", Repeat(u".ab", state.range(0)) + u"!", false);
}

void RevisionPlus(benchmark::State& state) {
  Run(state, u"\\A(\\d+)(\\.(\\d+))+\\Z", u"", Repeat(u"12.3.", state.range(0)) + u"x", false);
}

void RevisionStar(benchmark::State& state) {
  Run(state, u"\\A(\\d+)(\\.(\\d+))*\\Z", u"", Repeat(u"12.3.", state.range(0)) + u"x", false);
}

void ZipElementUnclosed(benchmark::State& state) {
  Run(state, u"<Zip Value=\"(.*)\"/>", u"-SIRGMX", Repeat(u"<Zip Value=\"", state.range(0)), false);
}

#define SIZES ->RangeMultiplier(2)->Range(64 << 10, 1 << 20)->Unit(benchmark::kMillisecond)
BENCHMARK(FileNumber) SIZES;
BENCHMARK(FileNumberNoMatch) SIZES;
BENCHMARK(DerivativeTitle) SIZES;
BENCHMARK(SemicolonPair) SIZES;
BENCHMARK(Extension) SIZES;
BENCHMARK(RevisionPlus) SIZES;
BENCHMARK(RevisionStar) SIZES;
BENCHMARK(ZipElementUnclosed) SIZES;

}  // namespace
}  // namespace velmora
