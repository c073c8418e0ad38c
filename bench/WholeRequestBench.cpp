// A whole request on the in-memory platform, from the parameter file to the final log: the
// core's own share of a request's CPU time, without any process start or system call.
#include <benchmark/benchmark.h>

#include "app/ProgramEntry.h"
#include "launch/BeyondCompareRun.h"
#include "platform/memory/MemoryPlatform.h"
#include "settings/Settings.h"

namespace velmora {
namespace {

class NoSetup : public ISetupDialog {
 public:
  bool Execute(const Text&) override { return false; }
};

void WholeRequest(benchmark::State& state) {
  const bool archives = state.range(0) != 0;
  const Text program = archives ? u"C:\\BC3\\BComp.exe" : u"C:\\BC2\\BC2.exe";
  const std::string ext = archives ? "zip" : "c";
  for (auto _ : state) {
    state.PauseTiming();
    auto m = std::make_unique<platform::MemoryPlatform>();
    m->self.commandLine = u"\"C:\\PVCS\\Velmora.exe\" -r C:\\Temp\\pvc4712.tmp";
    m->self.modulePath = u"C:\\PVCS\\Velmora.exe";
    m->files.AddFile(program);
    m->files.AddFile(u"C:\\Temp\\pvc4710.tmp", "ancestor");
    m->files.AddFile(u"C:\\Temp\\pvc4711.tmp", "derivative");
    m->files.AddFile(u"C:\\Temp\\pvc4712.tmp",
                     "ANCESTOR=\"C:\\Temp\\pvc4710.tmp\",\"File 1: main." + ext +
                         " 1.4\"\r\nDERIVATIVES=\"C:\\Temp\\pvc4711.tmp\",\"File 2: main." + ext +
                         " 1.5\"\r\n");
    m->registry.SetDword(platform::Hive::CurrentUser, kSettingsKey, u"UseBC2", 1);
    m->registry.SetString(platform::Hive::CurrentUser, kSettingsKey, u"BC2Path", program);
    m->processes.AddProgram(program, {0, 0, nullptr});
    NoSetup setup;
    BeyondCompareRun run(m->platform);
    state.ResumeTiming();
    if (ProgramMain(m->platform, setup, run) != 0) state.SkipWithError("request failed");
    if (!m->dialogs.boxes.empty()) state.SkipWithError("an error was shown");
    state.PauseTiming();
    m.reset();
    state.ResumeTiming();
  }
}

// 0: text files under Beyond Compare 2; 1: archives under Beyond Compare 3, handed to the server.
BENCHMARK(WholeRequest)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora
