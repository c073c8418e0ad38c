// libFuzzer target over the server's pending list: reading any bytes, writing back what was
// read, merging, and a whole run of the server over the list on the in-memory platform, which
// must never delete anything but regular files inside the temporary directory. Built and run
// by scripts/fuzz-helper.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "helper/DeferredDeletion.h"
#include "helper/PendingList.h"
#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryFileSystem.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const velmora::Text kLocal = u"C:\\Users\\Ann\\AppData\\Local";
const velmora::Text kTemp = kLocal + u"\\Temp";
const velmora::Text kList = kLocal + u"\\Velmora\\VelmoraHelper.pending";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmora;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // What is read is written back as it was read, and read again the same.
  std::vector<PendingFile> files = ParsePendingList(bytes);
  for (const PendingFile& file : files) Check(!file.path.empty());
  Check(ParsePendingList(FormatPendingList(files)) == files);
  std::vector<PendingFile> merged = MergePending(files, {});
  Check(merged.size() <= files.size());
  Check(MergePending(merged, files) == merged);

  // The server takes the list over (half of it as what a dead process left) and works it off.
  platform::MemoryFileSystem disk;
  platform::MemoryEnvironment environment;
  environment.SetVariable(u"LOCALAPPDATA", kLocal);
  environment.SetTempPath(kTemp + u"\\");
  disk.AddFile(kTemp + u"\\a.zip", "PK");
  disk.AddFile(kTemp + u"\\sub\\b.zip", "PK");
  disk.AddFile(u"C:\\Work\\keep.c", "keep");
  disk.AddFile(kLocal + u"\\Temp2\\keep.zip", "keep");
  disk.AddLink(kTemp + u"\\link.zip", u"C:\\Work\\keep.c", false);
  disk.AddLink(kTemp + u"\\junction", u"C:\\Work", true);
  disk.AddFile(kList, bytes.substr(0, size / 2));
  disk.AddFile(kList + u".7.new", bytes.substr(size / 2));
  DeferredDeletion work(disk, environment, u"1");
  work.Resume(0);
  uint64_t now = 0;
  for (int round = 0; round < 3; ++round) {
    auto next = work.Work(now);
    if (!next) break;
    now = *next;
  }
  Check(disk.ContentString(u"C:\\Work\\keep.c") == "keep");
  Check(disk.ContentString(kLocal + u"\\Temp2\\keep.zip") == "keep");
  Check(disk.Exists(kTemp + u"\\link.zip") && disk.Exists(kTemp + u"\\junction"));
  Check(disk.FindAll(kList + u"*.new").empty());
  return 0;
}
