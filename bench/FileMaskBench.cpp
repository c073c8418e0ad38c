// File masks on long texts that make a naive "*" matcher backtrack; sizes in code units.
#include <benchmark/benchmark.h>

#include "support/FileMask.h"

namespace velmora {
namespace {

void Run(benchmark::State& state, const Text& text, const Text& mask, bool expected) {
  for (auto _ : state) {
    bool matched = MatchFileMask(text, mask);
    if (matched != expected) state.SkipWithError("unexpected result");
    benchmark::DoNotOptimize(matched);
  }
}

Text Letters(int64_t n) {
  return Text(static_cast<size_t>(n), u'a');
}

// Thirty starred elements, the most a mask may hold, none of which can finish the match.
void ThirtyStars(benchmark::State& state) {
  Text mask;
  for (int k = 0; k < 29; ++k) mask += u"*a";
  Run(state, Letters(state.range(0)), mask + u"*b", false);
}

// One star before a long literal tail that almost matches everywhere.
void LongTail(benchmark::State& state) {
  Run(state, Letters(state.range(0)), u"*" + Text(29, u'a') + u"b", false);
}

void ArchiveMaskOnLongPath(benchmark::State& state) {
  Text path = u"C:\\";
  while (static_cast<int64_t>(path.size()) < state.range(0)) path += u"dir.zi\\";
  Run(state, path + u"x.zi", u"*.[xz]ip", false);
}

void ManyStarsInARow(benchmark::State& state) {
  Text stars(40, u'*');
  Run(state, Letters(state.range(0)) + u"x", stars + u"x" + stars, true);
}

#define SIZES ->RangeMultiplier(2)->Range(64 << 10, 1 << 20)->Unit(benchmark::kMicrosecond)
BENCHMARK(ThirtyStars) SIZES;
BENCHMARK(LongTail) SIZES;
BENCHMARK(ArchiveMaskOnLongPath) SIZES;
BENCHMARK(ManyStarsInARow) SIZES;

}  // namespace
}  // namespace velmora
