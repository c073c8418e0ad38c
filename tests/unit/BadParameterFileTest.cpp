// Parameter files nobody should write: huge, garbage, cut short. They end in two sides or in
// one of the run's errors, never in a crash or a hang.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/memory/MemoryPlatform.h"
#include "request/SideAssignment.h"
#include "support/Errors.h"

namespace velmora {
namespace {

const Text kParams = u"C:\\p\\params.txt";
constexpr size_t kMiB = 1 << 20;
const char kEntries[] =
    "DERIVATIVES=\"C:\\Temp\\der.tmp\",\"File 2: main.c 1.4\"\r\n"
    "ANCESTOR=\"C:\\Temp\\anc.tmp\",\"File 1: main.c 1.3\"";

std::string Utf16(std::string_view ascii) {
  std::string out;
  for (char c : ascii) out += {c, '\0'};
  return out;
}

class BadParameterFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mem.files.AddDirectory(u"C:\\Temp");
    mem.files.AddFile(u"C:\\Temp\\anc.tmp");
    mem.files.AddFile(u"C:\\Temp\\der.tmp");
  }
  Text Error(std::string content) {
    mem.files.AddFile(kParams, std::move(content));
    try {
      AssignSides(mem.platform, kParams, false);
    } catch (const EVelmora& e) {
      return e.Message();
    }
    return u"no error";
  }
  void ExpectBothSidesMoved() {
    EXPECT_TRUE(mem.files.Exists(u"C:\\Temp\\der.c"));
    EXPECT_TRUE(mem.files.Exists(u"C:\\Temp\\anc.c"));
  }
  platform::MemoryPlatform mem;
};

TEST_F(BadParameterFileTest, FiftyMebibytesOfUtf16WithTheEntriesAtTheEnd) {
  std::string noise = Utf16("NOISE=" + std::string(64 * 1024, 'x') + "\r\n");
  std::string content = "\xFF\xFE";
  while (content.size() < 50 * kMiB) content += noise;
  content += Utf16(kEntries) + "!";  // and an odd last byte
  EXPECT_EQ(Error(std::move(content)), u"no error");
  ExpectBothSidesMoved();
}

TEST_F(BadParameterFileTest, MillionsOfEmptyLinesBeforeTheEntries) {
  EXPECT_EQ(Error(std::string(2 * kMiB, '\n') + std::string(2 * kMiB, '\r') + kEntries),
            u"no error");
  ExpectBothSidesMoved();
}

TEST_F(BadParameterFileTest, VeryLongTitles) {
  constexpr size_t kLong = 256 * 1024;
  std::string content = "DERIVATIVES=\"C:\\Temp\\der.tmp\",\"File 2: main.c 1.4";
  content.append(kLong, 'x');
  content += "\"\nANCESTOR=\"C:\\Temp\\anc.tmp\"," + std::string(kLong, ';');
  mem.files.AddFile(kParams, content);
  ComparisonSides sides = AssignSides(mem.platform, kParams, false);
  EXPECT_EQ(sides.LeftInfo.CaptionForBC, u"main.c");
  EXPECT_TRUE(sides.LeftInfo.Version == u" (Label 1.4" + Text(kLong, u'x') + u")");
  EXPECT_TRUE(sides.RightInfo.CaptionForBC == Text(kLong - 2, u';'));
  EXPECT_EQ(sides.RightInfo.Version, u";;");
}

TEST_F(BadParameterFileTest, GarbageUnderEveryMarkEndsInTheMissingItemError) {
  std::mt19937 random(4711);
  std::string garbage(kMiB, '\0');
  for (char& c : garbage) c = static_cast<char>(random() & 0xFF);
  for (const char* mark : {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"})
    EXPECT_EQ(Error(mark + garbage), u"List index out of bounds (1)") << mark;
}

TEST_F(BadParameterFileTest, NulEndsTheFileBeforeTheLeftEntry) {
  using namespace std::string_literals;
  EXPECT_EQ(
      Error("ANCESTOR=\"C:\\Temp\\anc.tmp\",\"t\"\0\nDERIVATIVES=\"C:\\Temp\\der.tmp\",\"t\""s),
      u"List index out of bounds (1)");
}

// Found by fuzzing: a drive letter outside A to Z and a path-like title. The search for a free
// copy name must end; the sides end up on the PVCS files' own names.
TEST_F(BadParameterFileTest, UnknownDriveLetterEndsTheFreeNameSearch) {
  const char content[] =
      "ANCESTOR=\"\xC3:\\Temp\\a.tmp\",\"File 1: main.c 1.4\"\r\n"
      "DERIVATIVES=\"\xC3:\\TempAd.\x8E\x92p\",\"CG\\work\\main\xD2\x9E;2.4 - "
      "DerivatRIVA\r\n";
  mem.files.AddFile(kParams, content);
  ComparisonSides sides = AssignSides(mem.platform, kParams, false);
  EXPECT_EQ(sides.LeftInfo.FileForBC, u"\u00C3:\\TempAd.\u017D\u2019p");
  EXPECT_EQ(sides.RightInfo.FileForBC, u"\u00C3:\\Temp\\a.tmp");
}

}  // namespace
}  // namespace velmora
