#include <gtest/gtest.h>

#include "launch/RunLog.h"
#include "platform/memory/MemoryPlatform.h"
#include "support/Errors.h"

namespace velmora {
namespace {

TFileInfo Left() {
  return {u"C:\\Temp\\pvc1.tmp", u"main.c", u" Rev 1.4", u"C:\\Temp\\pvc1.c", true, false};
}

TFileInfo RightArchive() {
  return {u"C:\\Temp\\pvc2.tmp", u"lib.zip", u" Label Release", u"C:\\Temp\\pvc2.zip", true, true};
}

TEST(RunLog, PathBesideTheParameterFile) {
  struct Row {
    Text parameterFile, expected;
  } rows[] = {
      {u"C:\\Temp\\pvc1.tmp", u"C:\\Temp\\Velmora.log"},
      {u"\\\\server\\share\\pvc1.tmp", u"\\\\server\\share\\Velmora.log"},
      {u"D:pvc1.tmp", u"D:Velmora.log"},
      {u"pvc1.tmp", u"Velmora.log"},  // relative to the current directory
  };
  for (const auto& r : rows) EXPECT_EQ(RunLogPath(r.parameterFile), r.expected);
}

TEST(RunLog, SideDescriptionHasAFifthLineOnlyForTheHelper) {
  RunLog lines;
  LogFileInfo(Left(), lines);
  EXPECT_EQ(lines, (RunLog{u"PVCS File   > \"C:\\Temp\\pvc1.tmp\"", u"Origin Name > \"main.c\"",
                           u"Version     > \" Rev 1.4\"", u"FileForBC   > \"C:\\Temp\\pvc1.c\""}));
  lines.clear();
  LogFileInfo(RightArchive(), lines);
  EXPECT_EQ(lines,
            (RunLog{u"PVCS File   > \"C:\\Temp\\pvc2.tmp\"", u"Origin Name > \"lib.zip\"",
                    u"Version     > \" Label Release\"", u"FileForBC   > \"C:\\Temp\\pvc2.zip\"",
                    u"------------> The file remains on disk until Beyond Compare is closed"}));
  for (const Text& line : lines) EXPECT_EQ(line[12], u'>');
}

TEST(RunLog, SavedByteForByteInAnsiWithCrLfAndNoBom) {
  platform::MemoryPlatform m;
  m.files.AddDirectory(u"C:\\Temp");
  // Lines as decoded from a UTF-8 parameter file: u with diaeresis and the euro sign exist in
  // Windows-1252, the CJK character does not.
  std::vector<Text> parameter{u"ANCESTOR=C:\\Temp\\pvc1.tmp,M\u00fcller.c Rev 1.4",
                              u"DERIVATIVES=C:\\Temp\\pvc2.tmp,\u20ac \u4e2d", u""};
  RunLog log = AssembleRunLog(parameter, Left(), RightArchive(), u"\"C:\\BC3\\BComp.exe\" x");
  SaveRunLog(m.files, m.locale, m.clock, u"C:\\Temp\\Velmora.log", log);

  const std::string first =
      "Tempfile:\r\n"
      "=========\r\n"
      "ANCESTOR=C:\\Temp\\pvc1.tmp,M\xfcller.c Rev 1.4\r\n"
      "DERIVATIVES=C:\\Temp\\pvc2.tmp,\x80 ?\r\n"
      "\r\n"
      "\r\n"
      "Left:\r\n"
      "=====\r\n"
      "PVCS File   > \"C:\\Temp\\pvc1.tmp\"\r\n"
      "Origin Name > \"main.c\"\r\n"
      "Version     > \" Rev 1.4\"\r\n"
      "FileForBC   > \"C:\\Temp\\pvc1.c\"\r\n"
      "\r\n"
      "Right:\r\n"
      "======\r\n"
      "PVCS File   > \"C:\\Temp\\pvc2.tmp\"\r\n"
      "Origin Name > \"lib.zip\"\r\n"
      "Version     > \" Label Release\"\r\n"
      "FileForBC   > \"C:\\Temp\\pvc2.zip\"\r\n"
      "------------> The file remains on disk until Beyond Compare is closed\r\n"
      "\r\n"
      "Comparison:\r\n"
      "===========\r\n"
      "CreateProcess: \"C:\\BC3\\BComp.exe\" x\r\n";
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\Velmora.log"), first);

  // The second save replaces the first with the completed log.
  log.push_back(TimingLine(u"1,234.567", -1, 0));
  log.push_back(u"left line");
  log.push_back(u"right line");
  SaveRunLog(m.files, m.locale, m.clock, u"C:\\Temp\\Velmora.log", log);
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\Velmora.log"),
            first +
                "CreateProcess returned after 1,234.567 seconds {-1/0}\r\n"
                "left line\r\nright line\r\n");
}

TEST(RunLog, EmptyParameterFileAddsNoLines) {
  RunLog log = AssembleRunLog({}, Left(), Left(), u"cmd");
  EXPECT_EQ(RunLog(log.begin(), log.begin() + 4),
            (RunLog{u"Tempfile:", u"=========", u"", u"Left:"}));
  EXPECT_EQ(log.back(), u"CreateProcess: cmd");
}

TEST(RunLog, SaveFailureNamesTheLogAndTheSystemText) {
  const Text path = u"C:\\Temp\\Velmora.log";
  struct Row {
    const char* name;
    void (*setUp)(platform::MemoryFileSystem&);
    Text expected;
    uint64_t waitedMs;  // only a log in use is waited for
  } rows[] = {
      {"log open in another program",
       [](platform::MemoryFileSystem& f) {
         f.AddFile(u"C:\\Temp\\Velmora.log", "old");
         f.Lock(u"C:\\Temp\\Velmora.log");
       },
       u"Cannot create file \"C:\\Temp\\Velmora.log\". The process cannot access the file "
       u"because it is being used by another process",
       3550},
      {"existing log read-only",
       [](platform::MemoryFileSystem& f) {
         f.AddFile(u"C:\\Temp\\Velmora.log", "old", platform::kAttrReadOnly);
       },
       u"Cannot create file \"C:\\Temp\\Velmora.log\". Access is denied", 0},
      {"directory missing", [](platform::MemoryFileSystem&) {},
       u"Cannot create file \"C:\\Temp\\Velmora.log\". The system cannot find the path "
       u"specified",
       0},
  };
  for (const auto& r : rows) {
    platform::MemoryPlatform m;
    r.setUp(m.files);
    try {
      SaveRunLog(m.files, m.locale, m.clock, path, {u"x"});
      ADD_FAILURE() << r.name << ": no error";
    } catch (const EVelmora& error) {
      EXPECT_EQ(error.Message(), r.expected) << r.name;
    }
    EXPECT_EQ(m.clock.elapsed, r.waitedMs) << r.name;
  }
}

// Another request of the same folder writes the log meanwhile: the save waits, with growing
// pauses, until it can write, and then its own log wins.
TEST(RunLog, SaveWaitsForAnotherRequestsSave) {
  const Text path = u"C:\\Temp\\Velmora.log";
  platform::MemoryPlatform m;
  m.files.AddFile(path, "the other request's log");
  m.files.Lock(path);
  std::vector<uint64_t> pauses;
  m.clock.onSleep = [&] {
    pauses.push_back(m.clock.elapsed);
    if (m.clock.sleeps == 4) m.files.Unlock(path);
  };
  SaveRunLog(m.files, m.locale, m.clock, path, {u"mine"});
  EXPECT_EQ(m.files.ContentString(path), "mine\r\n");
  EXPECT_EQ(pauses, (std::vector<uint64_t>{50, 150, 350, 750}));
}

}  // namespace
}  // namespace velmora
