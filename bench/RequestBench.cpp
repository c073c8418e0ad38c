// The parameter file read, cut and split, and titles built to make the title patterns
// backtrack. Sizes are bytes of the file or UTF-16 code units of the title; time should
// double as the size doubles.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/memory/MemoryPlatform.h"
#include "request/CommaText.h"
#include "request/ParameterFile.h"
#include "request/TitleParser.h"

namespace velmora {
namespace {

// A parameter file of `size` bytes: comment lines with comma text, the entries at the end.
std::string ParameterFile(int64_t size) {
  const std::string line = "NOTE=\"C:\\Temp\\pvc0001.tmp\",\"File 1: main.c 1.4\",x y z\r\n";
  std::string out;
  out.reserve(static_cast<size_t>(size) + 256);
  while (static_cast<int64_t>(out.size()) < size) out += line;
  out += "ANCESTOR=\"C:\\Temp\\a.tmp\",\"File 1: main.c 1.3\"\r\n";
  out += "DERIVATIVES=\"C:\\Temp\\d.tmp\",\"File 2: main.c 1.4\"\r\n";
  return out;
}

void ReadAndSplit(benchmark::State& state) {
  platform::MemoryPlatform mem;
  mem.files.AddFile(u"C:\\p\\params.txt", ParameterFile(state.range(0)));
  for (auto _ : state) {
    TextLines lines = ReadTextLines(mem.files, mem.locale, u"C:\\p\\params.txt");
    size_t items = 0;
    for (TextView line : lines) items += SplitCommaText(line).size();
    Text value = GetNamedValue(mem.locale, lines, u"DERIVATIVES");
    if (SplitCommaText(value).size() != 2) state.SkipWithError("entry not found");
    benchmark::DoNotOptimize(items);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

Text Repeat(TextView unit, int64_t length) {
  Text out;
  out.reserve(static_cast<size_t>(length) + unit.size());
  while (static_cast<int64_t>(out.size()) < length) out += unit;
  out.resize(static_cast<size_t>(length));
  return out;
}

void Parse(benchmark::State& state, const Text& title, bool expected) {
  platform::MemoryFileSystem files;
  for (auto _ : state) {
    Text caption = title, version;
    bool recognised = ParseTitle(files, title, caption, version);
    if (recognised != expected) state.SkipWithError("unexpected result");
    benchmark::DoNotOptimize(caption);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(title.size() * 2));
}

// A numbered title whose rest has dots but no extension followed by a blank or the end.
void NumberedWithoutExtension(benchmark::State& state) {
  Parse(state, u"File 1: " + Repeat(u"a.b!", state.range(0)) + u"!", false);
}

// Almost a role suffix at every position, and no ";".
void NearRoleSuffix(benchmark::State& state) {
  Parse(state, Repeat(u"x - Derivativ - Ancesto", state.range(0)), false);
}

// A role suffix at the very end with many ";" before it.
void RoleSuffixWithSemicolons(benchmark::State& state) {
  Parse(state, Repeat(u";", state.range(0)) + u" - Derivative", true);
}

// Many "File" starts that fail at the digit, then a long revision-like version.
void FileStartsAndLongVersion(benchmark::State& state) {
  Parse(state,
        Repeat(u"File x:", state.range(0) / 2) + u"File 1: m.c " +
            Repeat(u"1.", state.range(0) / 2) + u"x",
        true);
}

#define FILE_SIZES ->RangeMultiplier(2)->Range(1280 << 10, 10 << 20)->Unit(benchmark::kMillisecond)
#define TITLE_SIZES ->RangeMultiplier(2)->Range(64 << 10, 1 << 20)->Unit(benchmark::kMillisecond)
BENCHMARK(ReadAndSplit) FILE_SIZES;
BENCHMARK(NumberedWithoutExtension) TITLE_SIZES;
BENCHMARK(NearRoleSuffix) TITLE_SIZES;
BENCHMARK(RoleSuffixWithSemicolons) TITLE_SIZES;
BENCHMARK(FileStartsAndLongVersion) TITLE_SIZES;

}  // namespace
}  // namespace velmora
