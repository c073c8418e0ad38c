// Finds message boxes of other processes, writes their caption, text and icon kind to a file
// and answers them with OK, the way a user would.
//   UiProbe.exe <result file> <time limit in ms> <number of boxes to answer>
// Each box becomes one record: "caption=...", "text=...", "icon=error|warning|information|
// question|none", "---".
#include <windows.h>

#include <string>

#include "MessageBoxReader.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  DWORD limit = static_cast<DWORD>(_wtoi(argv[2]));
  int wanted = _wtoi(argv[3]);
  std::string records;
  int answered = 0;
  DWORD start = GetTickCount();
  while (answered < wanted && GetTickCount() - start < limit) {
    for (HWND box : FindBoxes()) {
      records += ReadAndAnswerBox(box);
      ++answered;
      Sleep(200);
      break;
    }
    Sleep(50);
  }
  ToolWriteFile(argv[1], records);
  return answered == wanted ? 0 : 1;
}
