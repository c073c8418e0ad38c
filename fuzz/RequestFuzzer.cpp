// libFuzzer target over the parameter-file path: decoding, line cutting, entry lookup, comma
// text and title parsing. Built and run by scripts/fuzz-request.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/memory/MemoryPlatform.h"
#include "request/CommaText.h"
#include "request/ParameterFile.h"
#include "request/SideAssignment.h"
#include "request/TitleParser.h"
#include "support/Errors.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

velmora::platform::MemoryPlatform& Platform() {
  static velmora::platform::MemoryPlatform* mem = [] {
    auto* m = new velmora::platform::MemoryPlatform;
    m->files.AddFile(u"C:\\work\\main.c");
    m->files.AddFile(u"C:\\work\\a;b");
    m->files.SetCurrentDir(u"C:\\work");
    return m;
  }();
  return *mem;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmora;
  auto& mem = Platform();
  mem.files.AddFile(u"C:\\p\\params.txt", std::vector<uint8_t>(data, data + size));
  TextLines lines = ReadTextLines(mem.files, mem.locale, u"C:\\p\\params.txt");

  size_t count = 0;
  for (TextView line : lines) {
    Check(line.find_first_of(u"\r\n") == TextView::npos && line.find(u'\0') == TextView::npos);
    if (++count > 64) break;
    size_t equals = line.find(u'=');
    Text key(line.substr(0, equals == TextView::npos ? 0 : equals));
    if (equals != TextView::npos) GetNamedValue(mem.locale, lines, key);
    for (const Text& item : SplitCommaText(line)) {
      Check(item.size() <= line.size());
      Text caption = item, version;
      if (!ParseTitle(mem.files, item, caption, version)) {
        Check(caption == item && version.empty());
      }
      Check(IsAbsolutePath(item) || item.size() < 2 || !(item[0] == u'\\' && item[1] == u'\\'));
    }
  }
  // The whole stage on a fresh platform: it ends in two sides or in one of its errors.
  platform::MemoryPlatform fresh;
  fresh.files.AddDirectory(u"C:\\Temp");
  fresh.files.AddFile(u"C:\\Temp\\a.tmp");
  fresh.files.AddFile(u"C:\\p\\params.txt", std::vector<uint8_t>(data, data + size));
  try {
    AssignSides(fresh.platform, u"C:\\p\\params.txt", (size & 1) != 0);
  } catch (const EVelmora&) {
  }
  return 0;
}
