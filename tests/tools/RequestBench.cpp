// Times whole programs started the way PVCS starts them: each command line in turn, many
// times, and the median wall time of each.
//   RequestBench.exe <runs> <result file> <label>=<command-line file> ...
// With the labels "velmora", "direct", "empty", "fallback" and "tool", it also puts Velmora's
// overhead (a request against the comparison program started directly, the fallback against
// the merge tool started directly) in empty-program starts. (Wine reports no CPU time for
// other processes, so that is measured from outside.)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ToolSupport.h"

namespace {

// Wall time in milliseconds from the start to the end of the process.
double RunOnce(const std::wstring& commandLine) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return -1;
  }
  WaitForSingleObject(info.hProcess, 60000);
  QueryPerformanceCounter(&end);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

struct Program {
  std::string label;
  std::wstring commandLine;
  std::vector<double> wall;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  int runs = _wtoi(argv[1]);
  std::vector<Program> programs;
  for (int i = 3; i < argc; ++i) {
    std::wstring arg = argv[i];
    size_t eq = arg.find(L'=');
    if (eq == std::wstring::npos) return 2;
    programs.push_back(
        {ToolUtf8(arg.substr(0, eq)), ToolWide(ToolReadFile(arg.substr(eq + 1).c_str())), {}});
  }
  for (auto& p : programs) RunOnce(p.commandLine);  // warm-up: the file cache
  for (int i = 0; i < runs; ++i) {
    for (auto& p : programs) p.wall.push_back(RunOnce(p.commandLine));
  }
  std::map<std::string, double> wall;
  std::string out = "runs: " + std::to_string(runs) + "\n";
  char line[256];
  for (auto& p : programs) {
    wall[p.label] = Median(p.wall);
    std::snprintf(line, sizeof(line), "%-9s median wall time %7.1f ms\n", p.label.c_str(),
                  wall[p.label]);
    out += line;
  }
  if (wall.count("empty") && wall["empty"] > 0) {
    auto overhead = [&](const char* via, const char* direct, const char* what) {
      if (!wall.count(via) || !wall.count(direct)) return;
      double ms = wall[via] - wall[direct];
      std::snprintf(line, sizeof(line), "%s: %.1f ms = %.2f empty-program starts\n", what, ms,
                    ms / wall["empty"]);
      out += line;
    };
    overhead("velmora", "direct", "Velmora's overhead on a request");
    overhead("fallback", "tool", "Velmora's overhead on a fallback");
  }
  ToolWriteFile(argv[2], out);
  return 0;
}
