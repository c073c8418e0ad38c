// Times whole requests: Velmora.exe serving a request with a stand-in comparison program,
// against starting that stand-in directly with the same files, and Velmora's own CPU time.
//   RequestBench.exe <Velmora command-line file> <direct command-line file> <runs> <result file>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ToolSupport.h"

namespace {

double Seconds(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return static_cast<double>(v.QuadPart) / 1e7;
}

// Wall time in milliseconds; `cpuMs` receives the process's own user and kernel time.
double RunOnce(const std::wstring& commandLine, double* cpuMs) {
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
  FILETIME created, exited, kernel, user;
  if (cpuMs && GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user)) {
    *cpuMs = (Seconds(kernel) + Seconds(user)) * 1000.0;
  }
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) return 2;
  std::wstring viaVelmora = ToolWide(ToolReadFile(argv[1]));
  std::wstring direct = ToolWide(ToolReadFile(argv[2]));
  int runs = _wtoi(argv[3]);
  std::vector<double> velmoraWall, directWall, velmoraCpu;
  RunOnce(viaVelmora, nullptr);  // warm-up: loads the programs into the file cache
  RunOnce(direct, nullptr);
  for (int i = 0; i < runs; ++i) {
    double cpu = 0;
    velmoraWall.push_back(RunOnce(viaVelmora, &cpu));
    velmoraCpu.push_back(cpu);
    directWall.push_back(RunOnce(direct, nullptr));
  }
  char text[512];
  std::snprintf(text, sizeof(text),
                "runs: %d\nrequest through Velmora.exe, median wall time: %.1f ms\n"
                "stand-in started directly, median wall time: %.1f ms\n"
                "Velmora's overhead (difference of medians): %.1f ms\n"
                "Velmora.exe's own CPU time per request, median: %.1f ms\n",
                runs, Median(velmoraWall), Median(directWall),
                Median(velmoraWall) - Median(directWall), Median(velmoraCpu));
  ToolWriteFile(argv[4], text);
  return 0;
}
