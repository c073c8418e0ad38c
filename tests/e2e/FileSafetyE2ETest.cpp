// Hostile but realistic requests against the real Velmora.exe under Wine: whatever the names,
// every file PVCS or the user had is back under its own name afterwards, byte for byte, and the
// run log says what happened. The comparison program is a stand-in that broadcasts a message
// with SendMessage while Velmora waits for it, so every case also shows that the waits answer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "WineHarness.h"

namespace {

namespace fs = std::filesystem;

using Files = std::map<std::string, std::string>;  // Windows path -> bytes

const std::string kSettings = "HKCU\\Software\\Tessmark\\Velmora";
const std::string kRequest = "\"C:\\PVCS\\Velmora.exe\" -r ";
const std::string kAncestor = "int main(void) { return 0; }\r\n";
const std::string kDerivative = "int main(void) { return 1; }\r\n";
const std::string kTaken = "taken during the comparison";

struct SafetyCase {
  const char* name;
  const char* program;  // where the comparison program is configured
  bool programRuns;     // the stand-in is there; otherwise a file that is no program
  Files before;         // files besides the parameter file
  const char* ancestor;
  const char* derivative;
  std::vector<std::string> take;  // names the comparison program takes while it runs
  Files changed;                  // what differs afterwards; nothing is ever missing
  const char* commandLine;        // as the comparison program saw it; "" when it did not start
  std::vector<std::string> logLines;
  const char* box;  // start of the one error message shown; "" for none
};

void PrintTo(const SafetyCase& c, std::ostream* out) {
  *out << c.name;
}

// "{T}" is the temporary directory, "{t}" the same with forward slashes.
std::string Fill(std::string text, const std::string& temp) {
  std::string forward = temp;
  for (char& c : forward)
    if (c == '\\') c = '/';
  for (size_t at; (at = text.find("{T}")) != std::string::npos;) text.replace(at, 3, temp);
  for (size_t at; (at = text.find("{t}")) != std::string::npos;) text.replace(at, 3, forward);
  return text;
}

// The log is written in code page 1252: the expected UTF-8 text with Latin-1 letters as bytes.
std::string Cp1252(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xC3 && i + 1 < utf8.size()) {
      out += static_cast<char>(0xC0 + (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

class FileSafety : public testing::TestWithParam<SafetyCase> {
 protected:
  // Non-ASCII file names need a locale the system has.
  FileSafety() { e2e::SetWineLang("C.UTF-8"); }
  ~FileSafety() override { e2e::SetWineLang("en_US.UTF-8"); }

  // Every file below the folders a case uses, except the run log.
  Files Snapshot(const e2e::WineSession& wine, const std::string& temp) const {
    Files files;
    for (const std::string& folder : {temp, std::string("C:\\work"), std::string("C:\\bc")}) {
      fs::path root = wine.UnixPath(folder);
      if (!fs::exists(root)) continue;
      for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::string relative = fs::relative(entry.path(), root).string();
        for (char& c : relative)
          if (c == '/') c = '\\';
        std::string name = folder + "\\" + relative;
        if (name == temp + "\\Velmora.log") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[name] = bytes.str();
      }
    }
    return files;
  }
};

TEST_P(FileSafety, EveryFileIsBackAndTheLogSaysWhatHappened) {
  const SafetyCase& c = GetParam();
  e2e::WineSession wine(e2e::CurrentTestName());
  const std::string temp = e2e::WineSession::TempDir();

  if (c.programRuns) {
    wine.Install("StandInSender.exe", c.program);
  } else {
    wine.WriteFile(c.program, "not a program");
  }
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", c.program);
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  std::string take;
  for (const auto& name : c.take) take += Fill(name, temp) + "\r\n";
  if (!take.empty()) wine.WriteFile(std::string(c.program) + ".take", take);
  for (const auto& [name, bytes] : c.before) wine.WriteFile(Fill(name, temp), bytes);
  const std::string parameterFile = temp + "\\pvc4712.tmp";
  // UTF-8 with its byte-order mark, as the names may hold any character.
  wine.WriteFile(parameterFile,
                 "\xEF\xBB\xBF"
                 "ANCESTOR=" +
                     Fill(c.ancestor, temp) + "\r\nDERIVATIVES=" + Fill(c.derivative, temp) +
                     "\r\n");
  const Files before = Snapshot(wine, temp);
  // The case's files and the parameter file, and the program when it lies in a watched folder.
  const bool programWatched = std::string(c.program).rfind("C:\\bc\\", 0) == 0;
  ASSERT_EQ(before.size(), c.before.size() + 1 + (programWatched ? 1 : 0));

  auto outcome = wine.RunLikePvcs(kRequest + parameterFile, *c.box ? 1 : 0);
  ASSERT_EQ(outcome.launcher, "0") << "Velmora ended";

  Files expected = before;
  for (const auto& [name, bytes] : c.changed) expected[Fill(name, temp)] = bytes;
  EXPECT_EQ(Snapshot(wine, temp), expected);

  const std::string record = wine.ReadFile(std::string(c.program) + ".cmdline");
  if (*c.commandLine) {
    EXPECT_EQ(record.substr(0, record.find('\n')), Fill(c.commandLine, temp));
    // Both broadcasts came back: Velmora answered while it waited.
    EXPECT_EQ(wine.ReadFile(std::string(c.program) + ".sent"),
              "before ready: answered\nwhile running: answered\n");
  } else {
    EXPECT_EQ(record, "") << "the comparison program did not start";
  }

  const std::string log = wine.ReadFile(temp + "\\Velmora.log");
  for (const auto& line : c.logLines)
    EXPECT_NE(log.find("\r\n" + Cp1252(Fill(line, temp)) + "\r\n"), std::string::npos)
        << Fill(line, temp) << "\n--- log:\n"
        << log;

  if (*c.box) {
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(outcome.boxes[0].text.substr(0, std::string(c.box).size()), c.box);
  } else {
    EXPECT_TRUE(outcome.boxes.empty());
  }
}

const char* const kBC2 = R"~(C:\BC2\BC2.exe)~";

INSTANTIATE_TEST_SUITE_P(
    Wine, FileSafety,
    testing::Values(
        // 1. A file Velmora moved goes back wherever it lies.
        SafetyCase{
            "RevisionOutsideTheTemporaryDirectory",
            kBC2,
            true,
            {{R"~(C:\work\pvc1.tmp)~", kAncestor}, {R"~({T}\pvc2.tmp)~", kDerivative}},
            R"~("C:\work\pvc1.tmp","File 1: main.c 1.4")~",
            R"~("{T}\pvc2.tmp","File 2: main.c 1.5")~",
            {},
            {},
            R"~("C:\BC2\BC2.exe" "{T}\pvc2.c" "C:\work\pvc1.c" /title1="main.c (Rev. 1.5)" /title2="main.c (Rev. 1.4)" /lro /rro)~",
            {R"~("C:\work\pvc1.c" is recognized as 'persistent file' - moved back to "C:\work\pvc1.tmp")~",
             R"~("{T}\pvc2.c" is recognized as temporary file - deletion managed by PVCS / Dimensions)~"},
            ""},
        SafetyCase{
            "UsersFileNamedAsARevision",
            kBC2,
            true,
            {{R"~(C:\work\main.c)~", kDerivative}, {R"~({T}\pvc1.tmp)~", kAncestor}},
            R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
            R"~("C:\work\main.c","File 2: main.h 1.5")~",
            {},
            {},
            R"~("C:\BC2\BC2.exe" "C:\work\main.h" "{T}\pvc1.c" /title1="main.h (Rev. 1.5)" /title2="main.c (Rev. 1.4)" /lro /rro)~",
            {R"~("C:\work\main.h" is recognized as 'persistent file' - moved back to "C:\work\main.c")~"},
            ""},
        SafetyCase{"ComparisonProgramNamedAsARevision",
                   R"~(C:\bc\BC2.exe)~",
                   true,
                   {{R"~({T}\pvc1.tmp)~", kAncestor}},
                   R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
                   R"~("C:\bc\BC2.exe","File 2: BC2.bak 1.0")~",
                   {},
                   {},
                   "",
                   {R"~(FileForBC   > "C:\bc\BC2.bak")~"},
                   "Failed to start \"C:\\bc\\BC2.exe\". System error message was:\r\r"
                   "System Error.  Code: 2.\r\n"},
        SafetyCase{
            "CaptionExtensionDiffersInLetterCaseOnly",
            kBC2,
            true,
            {{R"~(C:\work\main.c)~", kDerivative}, {R"~({T}\pvc1.tmp)~", kAncestor}},
            R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
            R"~("C:\Work\main.c","File 2: MAIN.C")~",
            {},
            {},
            R"~("C:\BC2\BC2.exe" "C:\Work\main (1).C" "{T}\pvc1.c" /title1="MAIN.C" /title2="main.c (Rev. 1.4)" /lro /rro)~",
            {R"~("C:\Work\main (1).C" is recognized as 'persistent file' - moved back to "C:\Work\main.c")~"},
            ""},
        // 2. A failed run undoes its moves before the error is shown.
        SafetyCase{"MissingEntry",
                   kBC2,
                   true,
                   {{R"~({T}\pvc2.tmp)~", kDerivative}},
                   R"~("{T}\pvc1.tmp")~",
                   R"~("{T}\pvc2.tmp","File 2: main.c 1.5")~",
                   {},
                   {},
                   "",
                   {},
                   "List index out of bounds (1)"},
        SafetyCase{"ComparisonProgramCannotStart",
                   R"~(C:\BC3\BComp.exe)~",
                   false,
                   {{R"~({T}\pvc1.tmp)~", kAncestor}, {R"~({T}\pvc2.tmp)~", kDerivative}},
                   R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
                   R"~("{T}\pvc2.tmp","File 2: main.c 1.5")~",
                   {},
                   {},
                   "",
                   {R"~(FileForBC   > "{T}\pvc2.c")~"},
                   "Failed to start \"C:\\BC3\\BComp.exe\". System error message was:\r\r"
                   "System Error.  Code: 193.\r\n"},
        SafetyCase{"ParameterFileNamedAsASide",
                   kBC2,
                   true,
                   {{R"~({T}\pvc1.tmp)~", kAncestor}},
                   R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
                   R"~("{T}\pvc4712.tmp","File 2: request.txt 1.0")~",
                   {},
                   {},
                   "",
                   {},
                   "Cannot open file \""},
        // 3. Path tricks are judged on the real path.
        SafetyCase{
            "DotDotOutOfTheTemporaryDirectoryWithTheNameTakenAgain",
            kBC2,
            true,
            {{R"~(C:\work\data.tmp)~", kDerivative},
             {R"~({T}\acc\keep.txt)~", "k"},
             {R"~({T}\pvc1.tmp)~", kAncestor}},
            R"~("{T}\pvc1.tmp","File 1: data.c 1.1")~",
            R"~("{T}\acc\..\..\..\..\work\data.tmp","File 2: data.c 1.2")~",
            {R"~(C:\work\data.tmp)~"},
            {{R"~(C:\work\data.tmp)~", kTaken}, {R"~(C:\work\data.c)~", kDerivative}},
            R"~("C:\BC2\BC2.exe" "{T}\acc\..\..\..\..\work\data.c" "{T}\pvc1.c" /title1="data.c (Rev. 1.2)" /title2="data.c (Rev. 1.1)" /lro /rro)~",
            {R"~("{T}\acc\..\..\..\..\work\data.c" is recognized as 'persistent file' - cannot be moved back to "{T}\acc\..\..\..\..\work\data.tmp", no delete)~"},
            ""},
        SafetyCase{
            "ForwardSlashesInsideTheTemporaryDirectory",
            kBC2,
            true,
            {{R"~({T}\pvc1.tmp)~", kAncestor}, {R"~({T}\acc\pvc2.tmp)~", kDerivative}},
            R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
            R"~("{t}/acc/pvc2.tmp","File 2: main.c 1.5")~",
            {},
            {},
            R"~("C:\BC2\BC2.exe" "{t}/acc/pvc2.c" "{T}\pvc1.c" /title1="main.c (Rev. 1.5)" /title2="main.c (Rev. 1.4)" /lro /rro)~",
            {R"~("{t}/acc/pvc2.c" is recognized as temporary file - deletion managed by PVCS / Dimensions)~"},
            ""},
        SafetyCase{
            "LongPathPrefixInsideTheTemporaryDirectory",
            kBC2,
            true,
            {{R"~({T}\pvc1.tmp)~", kAncestor}, {R"~({T}\pvc2.tmp)~", kDerivative}},
            R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
            R"~("\\?\{T}\pvc2.tmp","File 2: main.c 1.5")~",
            {},
            {},
            R"~("C:\BC2\BC2.exe" "\\?\{T}\pvc2.c" "{T}\pvc1.c" /title1="main.c (Rev. 1.5)" /title2="main.c (Rev. 1.4)" /lro /rro)~",
            {R"~("\\?\{T}\pvc2.c" is recognized as temporary file - deletion managed by PVCS / Dimensions)~"},
            ""},
        // 4. A quote in a path cannot add switches; the log keeps the path as given.
        SafetyCase{
            "QuoteInAPath",
            kBC2,
            true,
            {{R"~({T}\pvc1.tmp)~", kAncestor}, {R"~({T}\pvc2.tmp)~", kDerivative}},
            R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
            R"~("{T}\pvc2.tmp"" /lro /x=""y","")~",
            {},
            {},
            R"~("C:\BC2\BC2.exe" "{T}\pvc2.tmp' /lro /x='y" "{T}\pvc1.c" /title1="" /title2="main.c (Rev. 1.4)" /lro /rro)~",
            {R"~(PVCS File   > "{T}\pvc2.tmp" /lro /x="y")~"},
            ""},
        // 5. A copy never takes the run log's name.
        SafetyCase{
            "CaptionNamingTheRunLog",
            kBC2,
            true,
            {{R"~({T}\pvc1.tmp)~", kAncestor}, {R"~({T}\Velmora.tmp)~", kDerivative}},
            R"~("{T}\pvc1.tmp","File 1: main.c 1.4")~",
            R"~("{T}\Velmora.tmp","File 2: Velmora.log 1.4")~",
            {},
            {},
            R"~("C:\BC2\BC2.exe" "{T}\Velmora (1).log" "{T}\pvc1.c" /title1="Velmora.log (Rev. 1.4)" /title2="main.c (Rev. 1.4)" /lro /rro)~",
            {R"~("{T}\Velmora (1).log" is recognized as temporary file - deletion managed by PVCS / Dimensions)~"},
            ""},
        // 6. Two sides that would trade names both come back.
        SafetyCase{
            "SidesThatWouldTradeNames",
            kBC2,
            true,
            {{R"~({T}\s.tmp)~", kAncestor}, {R"~({T}\s.c)~", kDerivative}},
            R"~("{T}\s.tmp","File 1: s.c 1.4")~",
            R"~("{T}\s.c","File 2: s.h 1.5")~",
            {},
            {},
            R"~("C:\BC2\BC2.exe" "{T}\s.h" "{T}\s (1).c" /title1="s.h (Rev. 1.5)" /title2="s.c (Rev. 1.4)" /lro /rro)~",
            {R"~("{T}\s.h" is recognized as temporary file - deletion managed by PVCS / Dimensions)~",
             R"~("{T}\s (1).c" is recognized as temporary file - deletion managed by PVCS / Dimensions)~"},
            ""},
        // Non-ASCII names outside the temporary directory.
        SafetyCase{"NonAsciiNamesOutsideTheTemporaryDirectory",
                   kBC2,
                   true,
                   {{"C:\\work\\gr\xC3\xB6\xC3\x9F"
                     "e.tmp",
                     kAncestor},
                    {R"~({T}\pvc2.tmp)~", kDerivative}},
                   "\"C:\\work\\gr\xC3\xB6\xC3\x9F"
                   "e.tmp\",\"File 1: gr\xC3\xB6\xC3\x9F"
                   "e.c 1.4\"",
                   R"~("{T}\pvc2.tmp","File 2: main.c 1.5")~",
                   {},
                   {},
                   "\"C:\\BC2\\BC2.exe\" \"{T}\\pvc2.c\" \"C:\\work\\gr\xC3\xB6\xC3\x9F"
                   "e.c\" /title1=\"main.c (Rev. 1.5)\" /title2=\"gr\xC3\xB6\xC3\x9F"
                   "e.c (Rev. 1.4)\" /lro /rro",
                   {"\"C:\\work\\gr\xC3\xB6\xC3\x9F"
                    "e.c\" is recognized as 'persistent file' - moved back to "
                    "\"C:\\work\\gr\xC3\xB6\xC3\x9F"
                    "e.tmp\""},
                   ""}),
    [](const testing::TestParamInfo<SafetyCase>& param) { return param.param.name; });

// The wait for the PVCS Merge Tool answers sent messages as well.
TEST(MergeToolWait, AnswersABroadcastWhileTheToolRuns) {
  e2e::WineSession wine(e2e::CurrentTestName());
  wine.Install("StandInSender.exe", "C:\\PVCS\\Velmora.exe.exe");
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "0");
  const std::string request = kRequest + "C:\\Temp\\p.tmp";
  auto outcome = wine.RunLikePvcs(request, 0);
  EXPECT_EQ(outcome.launcher, "0");
  std::string record = wine.ReadFile("C:\\PVCS\\Velmora.exe.exe.cmdline");
  EXPECT_EQ(record.substr(0, record.find('\n')), request);
  EXPECT_EQ(wine.ReadFile("C:\\PVCS\\Velmora.exe.exe.sent"),
            "before ready: answered\nwhile running: answered\n");
}

// Ten requests started together whose parameter files lie in one folder all save the same run
// log. None of them stops with an error box (a box would keep its request waiting), every file
// is back under its PVCS name, and the log is one request's complete log.
TEST(ConcurrentRequests, TenInOneFolderShareTheLogWithoutAnErrorBox) {
  constexpr int kRequests = 10;
  e2e::WineSession wine(e2e::CurrentTestName());
  const std::string temp = e2e::WineSession::TempDir();
  wine.Install("StandInGui.exe", kBC2);
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", kBC2);
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  Files before;
  for (int n = 0; n < kRequests; ++n) {
    const std::string id = std::to_string(n);
    const std::string ancestor = temp + "\\a" + id + ".tmp",
                      derivative = temp + "\\d" + id + ".tmp";
    before[ancestor] = "ancestor " + id;
    before[derivative] = "derivative " + id;
    for (const auto& name : {ancestor, derivative}) wine.WriteFile(name, before[name]);
    wine.WriteFile(temp + "\\p" + id + ".tmp",
                   "ANCESTOR=\"" + ancestor + "\",\"File 1: main.c 1.4\"\r\n" + "DERIVATIVES=\"" +
                       derivative + "\",\"File 2: main.c 1.5\"\r\n");
    wine.WriteFile("C:\\e2e\\cmdline" + id + ".txt", kRequest + temp + "\\p" + id + ".tmp");
  }
  std::vector<pid_t> started;
  for (int n = 0; n < kRequests; ++n) {
    const std::string id = std::to_string(n);
    started.push_back(wine.Start({"C:\\e2e\\PvcsStandIn.exe", "C:\\e2e\\cmdline" + id + ".txt",
                                  "C:\\e2e\\result" + id + ".txt", "90000"}));
  }
  auto finished = [&] {
    for (int n = 0; n < kRequests; ++n)
      if (!wine.Exists("C:\\e2e\\result" + std::to_string(n) + ".txt")) return false;
    return true;
  };
  if (!e2e::WineSession::WaitUntil(finished, 60)) {
    // Some request waits: read and answer what it shows, for the failure message.
    wine.Wine({"C:\\e2e\\UiProbe.exe", "C:\\e2e\\probe.txt", "5000", std::to_string(kRequests)},
              30);
    ADD_FAILURE() << "a request did not end on its own; boxes:\n"
                  << wine.ReadFile("C:\\e2e\\probe.txt");
  }
  for (pid_t pid : started) wine.Finish(pid, 120);
  for (int n = 0; n < kRequests; ++n)
    EXPECT_EQ(wine.ReadFile("C:\\e2e\\result" + std::to_string(n) + ".txt"), "0") << n;

  for (const auto& [name, bytes] : before) EXPECT_EQ(wine.ReadFile(name), bytes) << name;
  for (const auto& entry : fs::directory_iterator(wine.UnixPath(temp)))
    EXPECT_NE(entry.path().extension(), ".c") << entry.path();
  const std::string log = wine.ReadFile(temp + "\\Velmora.log");
  EXPECT_TRUE(log.starts_with("Tempfile:\r\n")) << log;
  EXPECT_NE(
      log.find(" is recognized as temporary file - deletion managed by PVCS / Dimensions\r\n"),
      std::string::npos)
      << log;
}

}  // namespace
