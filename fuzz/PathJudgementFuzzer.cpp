// libFuzzer target over the server's path judgement: any UTF-16 text (lone surrogates, device
// spellings, links, junctions, "..", 8.3 names, long paths) judged against a temporary
// directory on the in-memory platform. An accepted path is a regular file inside it, and a
// deletion never reaches anything the judgement refused. Built and run by scripts/fuzz-helper.
#include <cstdint>
#include <cstdlib>

#include "helper/PathJudgement.h"
#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryFileSystem.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const velmora::Text kTemp = u"C:\\Users\\Ann\\AppData\\Local\\Temp";

struct Fixture {
  velmora::platform::MemoryFileSystem files;
  velmora::platform::MemoryEnvironment environment;
  velmora::Text temp;

  Fixture() {
    environment.SetTempPath(kTemp + u"\\");
    files.AddFile(kTemp + u"\\pvc1.zip", "PK");
    files.AddFile(kTemp + u"\\sub\\pvc2.zip", "PK");
    files.AddDirectory(kTemp + u"\\folder.zip");
    files.AddFile(u"C:\\Outside\\keep.zip", "keep");
    files.AddFile(u"C:\\Users\\Ann\\AppData\\Local\\Temp2\\pvc3.zip", "keep");
    files.AddFile(u"\\\\server\\share\\pvc4.zip", "keep");
    files.AddLink(kTemp + u"\\junction", u"C:\\Outside", true);
    files.AddLink(kTemp + u"\\link.zip", kTemp + u"\\pvc1.zip", false);
    files.AddLink(kTemp + u"\\outlink.zip", u"C:\\Outside\\keep.zip", false);
    files.AddLink(u"C:\\Outside\\intoTemp", kTemp, true);
    files.SetAlternateName(u"C:\\Users\\Ann\\AppData", u"APPDAT~1");
    temp = velmora::FinalTempDirectory(files, environment);
  }
};

// The input as UTF-16 (every code unit, lone surrogates too), or as UTF-8 text, alone or under
// the temporary directory, so that both the text rules and the file system are reached.
velmora::Text PathOf(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  uint8_t mode = data[0] % 3;
  ++data;
  --size;
  if (mode == 0) {
    velmora::Text path;
    for (size_t i = 0; i + 1 < size; i += 2)
      path += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    return path;
  }
  velmora::Text text =
      velmora::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  return mode == 1 ? text : kTemp + u"\\" + text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmora;
  static Fixture* fixture = new Fixture;
  auto& files = fixture->files;
  const Text path = PathOf(data, size);

  Verdict verdict = JudgeRequest(files, fixture->temp, path);
  if (!RefusalByText(path).empty()) Check(verdict.kind == Verdict::Kind::InvalidPath);
  if (verdict.kind == Verdict::Kind::Accepted) {
    Check(IsInsideDirectory(verdict.finalPath, fixture->temp));
    Check(verdict.identity.has_value() && verdict.description.empty());
    uint32_t attributes = files.Attributes(verdict.finalPath);
    Check(attributes != platform::kInvalidFileAttributes &&
          !(attributes & (platform::kAttrDirectory | platform::kAttrReparsePoint)));
  } else {
    Check(verdict.finalPath.empty() && !verdict.description.empty());
  }

  // The same path as a list entry of the first version: deleted only when it was acceptable.
  DeleteAttempt attempt = DeleteIfSafe(files, fixture->temp, PendingFile{path, std::nullopt});
  if (attempt.outcome == DeleteOutcome::Deleted) {
    Check(verdict.kind == Verdict::Kind::Accepted);
    files.AddFile(verdict.finalPath, "PK");  // back for the next input
  }
  Check(files.ContentString(u"C:\\Outside\\keep.zip") == "keep");
  Check(files.ContentString(u"C:\\Users\\Ann\\AppData\\Local\\Temp2\\pvc3.zip") == "keep");
  Check(files.ContentString(u"\\\\server\\share\\pvc4.zip") == "keep");
  Check(files.Exists(kTemp + u"\\link.zip") && files.Exists(kTemp + u"\\junction"));
  return 0;
}
