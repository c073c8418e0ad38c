// The real Velmora.exe under Wine serving PVCS requests with stand-ins of the project's own in
// place of Beyond Compare: what the comparison program receives, the run log's bytes and where
// every file ends up.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "WineHarness.h"

namespace {

const std::string kSettings = "HKCU\\Software\\Tessmark\\Velmora";
const std::string kRequest = "\"C:\\PVCS\\Velmora.exe\" -r ";

// The stand-ins' digest of a file's bytes (FNV-1a, 64 bits).
std::string Digest(const std::string& bytes) {
  uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::string Seen(const std::string& bytes) {
  return "exists=1 size=" + std::to_string(bytes.size()) + " digest=" + Digest(bytes);
}

// One request: the comparison program, the settings, and the parameter file in the temporary
// directory naming two revision files there.
class ComparisonRun : public testing::Test {
 protected:
  ComparisonRun() : wine(e2e::CurrentTestName()), temp(e2e::WineSession::TempDir()) {}

  void UseProgram(const std::string& standIn, const std::string& path) {
    wine.Install(standIn, path);
    wine.RegAdd(kSettings, "BC2Path", "REG_SZ", path);
    wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
    program = path;
  }
  std::string Record() const { return wine.ReadFile(program + ".cmdline"); }
  std::string CommandLineSeen() const {
    std::string record = Record();
    return record.substr(0, record.find('\n'));
  }
  void WriteParameterFile(const std::string& ancestor, const std::string& derivative) {
    parameterFile = temp + "\\pvc4712.tmp";
    wine.WriteFile(parameterFile,
                   "ANCESTOR=" + ancestor + "\r\nDERIVATIVES=" + derivative + "\r\n");
  }
  e2e::RequestOutcome Run(int boxes = 0) {
    return wine.RunLikePvcs(kRequest + parameterFile, boxes);
  }

  e2e::WineSession wine;
  std::string temp;
  std::string program;
  std::string parameterFile;
  const std::string ancestorBytes = "int main(void) { return 0; }\r\n";
  const std::string derivativeBytes = "int main(void) { return 1; }\r\n";
};

TEST_F(ComparisonRun, RevisionAgainstRevision) {
  UseProgram("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.WriteFile(temp + "\\pvc4710.tmp", ancestorBytes);
  wine.WriteFile(temp + "\\pvc4711.tmp", derivativeBytes);
  WriteParameterFile("\"" + temp + "\\pvc4710.tmp\",\"File 1: main.c 1.4\"",
                     "\"" + temp + "\\pvc4711.tmp\",\"File 2: main.c 1.5\"");
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0");

  const std::string left = temp + "\\pvc4711.c", right = temp + "\\pvc4710.c";
  const std::string commandLine = "\"C:\\BC3\\BComp.exe\" \"" + left + "\" \"" + right +
                                  "\" /title1=\"main.c (Rev. 1.5)\" /title2=\"main.c (Rev. 1.4)\""
                                  " /lro /rro";
  EXPECT_EQ(Record(), commandLine + "\nfile1=" + left + "\n" + Seen(derivativeBytes) +
                          "\nfile2=" + right + "\n" + Seen(ancestorBytes));
  // Handed back under the names PVCS gave them; the copies are gone.
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc4711.tmp"), derivativeBytes);
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc4710.tmp"), ancestorBytes);
  EXPECT_FALSE(wine.Exists(left));
  EXPECT_FALSE(wine.Exists(right));

  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  std::string expected =
      "Tempfile:\r\n=========\r\n"
      "ANCESTOR=\"" +
      temp +
      "\\pvc4710.tmp\",\"File 1: main.c 1.4\"\r\n"
      "DERIVATIVES=\"" +
      temp +
      "\\pvc4711.tmp\",\"File 2: main.c 1.5\"\r\n"
      "\r\nLeft:\r\n=====\r\n"
      "PVCS File   > \"" +
      temp +
      "\\pvc4711.tmp\"\r\n"
      "Origin Name > \"main.c\"\r\n"
      "Version     > \" (Rev. 1.5)\"\r\n"
      "FileForBC   > \"" +
      left +
      "\"\r\n"
      "\r\nRight:\r\n======\r\n"
      "PVCS File   > \"" +
      temp +
      "\\pvc4710.tmp\"\r\n"
      "Origin Name > \"main.c\"\r\n"
      "Version     > \" (Rev. 1.4)\"\r\n"
      "FileForBC   > \"" +
      right +
      "\"\r\n"
      "\r\nComparison:\r\n===========\r\n"
      "CreateProcess: " +
      commandLine + "\r\n";
  ASSERT_EQ(log.substr(0, expected.size()), expected);
  std::string rest = log.substr(expected.size());
  EXPECT_TRUE(std::regex_match(
      rest, std::regex("CreateProcess returned after [0-9]+\\.[0-9]{3} seconds \\{0/0\\}\r\n"
                       "\"[^\r\n]*pvc4711\\.c\" is recognized as temporary file - deletion "
                       "managed by PVCS / Dimensions\r\n"
                       "\"[^\r\n]*pvc4710\\.c\" is recognized as temporary file - deletion "
                       "managed by PVCS / Dimensions\r\n")))
      << rest;
}

struct WorkingFileCase {
  const char* name;
  bool ancestorLeft;
  const char* standIn;
  const char* programPath;
  const char* ready;  // the wait-for-readiness result in the log
};

void PrintTo(const WorkingFileCase& c, std::ostream* out) {
  *out << c.name;
}

class WorkingFile : public ComparisonRun, public testing::WithParamInterface<WorkingFileCase> {};

TEST_P(WorkingFile, IsEditableAndStaysWhereItIs) {
  const WorkingFileCase& c = GetParam();
  UseProgram(c.standIn, c.programPath);
  if (c.ancestorLeft) wine.RegAdd(kSettings, "AncestorLeft", "REG_DWORD", "1");
  wine.RegAdd(kSettings, "BC_Args", "REG_EXPAND_SZ", "/solo %APPDATA% \"/x=a b\"");
  const std::string work = "C:\\work\\main.c";
  wine.WriteFile(work, derivativeBytes);
  wine.WriteFile(temp + "\\pvc4710.tmp", ancestorBytes);
  WriteParameterFile("\"" + temp + "\\pvc4710.tmp\",\"File 1: main.c 1.4\"",
                     "\"" + temp + "\\pvc4711.tmp\",\"" + work + "\"");
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0");

  const std::string revision = "\"" + temp + "\\pvc4710.c\"";
  const std::string working = "\"" + work + "\"";
  std::string expected =
      "\"" + std::string(c.programPath) + "\" " +
      (c.ancestorLeft ? revision + " " + working +
                            " /title1=\"main.c (Rev. 1.4)\" /title2=\"main.c (workfile)\" /lro  "
                      : working + " " + revision +
                            " /title1=\"main.c (workfile)\" /title2=\"main.c (Rev. 1.4)\"  /rro ") +
      "/solo %APPDATA% \"/x=a b\"";
  EXPECT_EQ(CommandLineSeen(), expected);
  EXPECT_NE(Record().find(Seen(derivativeBytes)), std::string::npos);
  EXPECT_EQ(wine.ReadFile(work), derivativeBytes) << "the working file is never touched";
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc4710.tmp"), ancestorBytes);
  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  EXPECT_NE(log.find("\"" + work + "\" is recognized as 'persistent file' - no delete\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(std::string("seconds {") + c.ready + "/0}\r\n"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Wine, WorkingFile,
    testing::Values(WorkingFileCase{"DerivativeLeftGuiProgram", false, "StandInGui.exe",
                                    "C:\\BC3\\BComp.exe", "0"},
                    // A console program: the wait for readiness cannot be determined.
                    WorkingFileCase{"AncestorLeftConsoleProgram", true, "StandInConsole.exe",
                                    "C:\\BC2\\BC2.exe", "-1"}),
    [](const testing::TestParamInfo<WorkingFileCase>& param) { return param.param.name; });

TEST_F(ComparisonRun, TakenCopyNameGetsANumber) {
  UseProgram("StandInGui.exe", "C:\\BC2\\BC2.exe");
  wine.WriteFile(temp + "\\pvc4710.tmp", ancestorBytes);
  wine.WriteFile(temp + "\\pvc4711.tmp", derivativeBytes);
  wine.WriteFile(temp + "\\pvc4711.c", "someone else's file");
  WriteParameterFile("\"" + temp + "\\pvc4710.tmp\",\"File 1: main.c 1.4\"",
                     "\"" + temp + "\\pvc4711.tmp\",\"File 2: main.c 1.5\"");
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0");
  EXPECT_NE(Record().find("file1=" + temp + "\\pvc4711 (1).c\n" + Seen(derivativeBytes)),
            std::string::npos)
      << Record();
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc4711.c"), "someone else's file");
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc4711.tmp"), derivativeBytes);
  EXPECT_FALSE(wine.Exists(temp + "\\pvc4711 (1).c"));
}

TEST_F(ComparisonRun, FailedStartShowsTheErrorAndKeepsTheFirstLog) {
  // A file named like the program that is no program at all.
  wine.WriteFile("C:\\BC3\\BComp.exe", "not a program");
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe");
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  wine.Install("StandInGui.exe", "C:\\PVCS\\Velmora.exe.exe");
  wine.WriteFile(temp + "\\pvc4710.tmp", ancestorBytes);
  wine.WriteFile(temp + "\\pvc4711.tmp", derivativeBytes);
  WriteParameterFile("\"" + temp + "\\pvc4710.tmp\",\"File 1: main.c 1.4\"",
                     "\"" + temp + "\\pvc4711.tmp\",\"File 2: main.c 1.5\"");
  auto outcome = Run(1);
  EXPECT_EQ(outcome.launcher, "0");
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].caption, "Error");
  EXPECT_EQ(outcome.boxes[0].icon, "error");
  const std::string prefix =
      "Failed to start \"C:\\BC3\\BComp.exe\". System error message was:\r\r"
      "System Error.  Code: 193.\r\n";
  EXPECT_EQ(outcome.boxes[0].text.substr(0, prefix.size()), prefix);
  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  EXPECT_TRUE(std::regex_search(log, std::regex("\r\nCreateProcess: [^\r\n]*/rro\r\n$"))) << log;
  // The copies went back to PVCS's names before the error was shown; the merge tool is not
  // started.
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc4711.tmp"), derivativeBytes);
  EXPECT_EQ(wine.ReadFile(temp + "\\pvc4710.tmp"), ancestorBytes);
  EXPECT_FALSE(wine.Exists(temp + "\\pvc4711.c"));
  EXPECT_FALSE(wine.Exists(temp + "\\pvc4710.c"));
  EXPECT_FALSE(wine.Exists("C:\\PVCS\\Velmora.exe.exe.cmdline"));
}

TEST_F(ComparisonRun, LogIsWrittenInTheAnsiCodePage) {
  UseProgram("StandInGui.exe", "C:\\BC2\\BC2.exe");
  wine.WriteFile(temp + "\\pvc4710.tmp", ancestorBytes);
  wine.WriteFile(temp + "\\pvc4711.tmp", derivativeBytes);
  parameterFile = temp + "\\pvc4712.tmp";
  // UTF-8 with its byte-order mark, lines ending in a lone CR and a lone LF.
  wine.WriteFile(parameterFile,
                 "\xEF\xBB\xBF"
                 "ANCESTOR=\"" +
                     temp +
                     "\\pvc4710.tmp\",\"File 1: \xC3\xA4rger.c 1.4\"\r"
                     "DERIVATIVES=\"" +
                     temp +
                     "\\pvc4711.tmp\",\"File 2: \xC3\xA4rger.c 1.5\"\n"
                     "COMMENT=\xE2\x82\xAC \xE6\x97\xA5 \xCE\xA9");
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0");
  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  ASSERT_GE(log.size(), 3u);
  EXPECT_NE(log.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
  EXPECT_EQ(log.substr(0, 22), "Tempfile:\r\n=========\r\n");
  EXPECT_NE(log.find("\",\"File 1: \xE4rger.c 1.4\"\r\nDERIVATIVES="), std::string::npos) << log;
  // The euro sign exists in code page 1252; the CJK character and the capital omega do not, and
  // the omega must not pass for a look-alike "O".
  EXPECT_NE(log.find("COMMENT=\x80 ? ?\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Origin Name > \"\xE4rger.c\"\r\n"), std::string::npos);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  // The comparison program gets the caption as Unicode text.
  EXPECT_NE(CommandLineSeen().find("/title1=\"\xC3\xA4rger.c (Rev. 1.5)\""), std::string::npos);
}

TEST_F(ComparisonRun, ArchiveWithServerNotRegisteredStaysInPlace) {
  UseProgram("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.WriteFile(temp + "\\pvc4710.tmp", "PK-ancestor");
  wine.WriteFile(temp + "\\pvc4711.tmp", "PK-derivative");
  WriteParameterFile("\"" + temp + "\\pvc4710.tmp\",\"File 1: lib.zip 1.4\"",
                     "\"" + temp + "\\pvc4711.tmp\",\"File 2: lib.zip 1.5\"");
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0");
  const std::string left = temp + "\\pvc4711.zip", right = temp + "\\pvc4710.zip";
  EXPECT_NE(Record().find("file1=" + left + "\n" + Seen("PK-derivative")), std::string::npos);
  EXPECT_EQ(wine.ReadFile(left), "PK-derivative");
  EXPECT_EQ(wine.ReadFile(right), "PK-ancestor");
  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  EXPECT_NE(log.find("------------> The file remains on disk until Beyond Compare is closed\r\n"),
            std::string::npos);
  std::regex failure(
      "\r\nFailed to add the temp file \"([^\"]*)\" to VelmoraHelper COM-Server "
      "\\(EOleSysError:[^\r\n]*ClassID: \\{3F990032-0766-453D-AC59-3A33A8722940\\}\\)");
  std::smatch first, second;
  ASSERT_TRUE(std::regex_search(log, first, failure)) << log;
  std::string after = first.suffix();
  ASSERT_TRUE(std::regex_search(after, second, failure)) << log;
  EXPECT_EQ(first[1], left);
  EXPECT_EQ(second[1], right);
}

// A parameter file found by fuzzing: a drive letter that is no letter and a path-like title.
// The request ends; neither side can be moved, so both are compared under PVCS's names.
TEST_F(ComparisonRun, UnknownDriveLetterAndPathLikeTitleEnd) {
  UseProgram("StandInGui.exe", "C:\\BC2\\BC2.exe");
  parameterFile = temp + "\\pvc4712.tmp";
  wine.WriteFile(parameterFile,
                 "ANCESTOR=\"\xC3:\\Temp\\a.tmp\",\"File 1: main.c 1.4\"\r\n"
                 "DERIVATIVES=\"\xC3:\\TempAd.\x8E\x92p\",\"CG\\work\\main\xD2\x9E;2.4 - "
                 "DerivatRIVA\r\n");
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0");
  EXPECT_TRUE(outcome.boxes.empty());
  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  EXPECT_NE(log.find("FileForBC   > \"\xC3:\\TempAd.\x8E\x92p\"\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("FileForBC   > \"\xC3:\\Temp\\a.tmp\"\r\n"), std::string::npos) << log;
  EXPECT_TRUE(std::regex_search(log, std::regex("\r\nCreateProcess returned after ")));
}

// Beyond Compare 3's launcher named with forward slashes is recognised as such: its archives
// are marked to outlive the run.
TEST_F(ComparisonRun, LauncherNamedWithForwardSlashesIsBeyondCompare3) {
  UseProgram("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:/BC3/BComp.exe");
  wine.WriteFile(temp + "\\pvc4710.tmp", "PK-ancestor");
  wine.WriteFile(temp + "\\pvc4711.tmp", "PK-derivative");
  WriteParameterFile("\"" + temp + "\\pvc4710.tmp\",\"File 1: lib.zip 1.4\"",
                     "\"" + temp + "\\pvc4711.tmp\",\"File 2: lib.zip 1.5\"");
  auto outcome = Run();
  ASSERT_EQ(outcome.launcher, "0");
  EXPECT_EQ(CommandLineSeen().substr(0, 20), "\"C:/BC3/BComp.exe\" \"");
  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  EXPECT_NE(log.find("------------> The file remains on disk until Beyond Compare is closed\r\n"),
            std::string::npos)
      << log;
}

}  // namespace
