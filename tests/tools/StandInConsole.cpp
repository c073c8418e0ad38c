// A stand-in child program without a message queue: records its command line and ends with
// exit code 7 (which its caller must ignore).
#include <windows.h>

#include "StandInRecord.h"

int wmain() {
  StandInWriteRecord();
  Sleep(StandInLifetimeMs(200));
  return 7;
}
