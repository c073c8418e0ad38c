#include <gtest/gtest.h>

#include "helper/PendingList.h"
#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryFileSystem.h"

namespace velmora {
namespace {

using platform::FileIdentity;

const Text kList = u"C:\\Users\\Ann\\AppData\\Local\\Velmora\\VelmoraHelper.pending";

PendingFile Unknown(const Text& path) {
  return PendingFile{path, std::nullopt};
}

std::vector<Text> Paths(const std::vector<PendingFile>& files) {
  std::vector<Text> paths;
  for (const PendingFile& file : files) paths.push_back(file.path);
  return paths;
}

TEST(PendingListFormat, IdentityAndPathPerLineAfterTheHeaderInUtf8) {
  std::vector<PendingFile> files{
      {u"C:\\Temp\\a.zip", FileIdentity{0x1234ABCD, 0x0001000000000A2Full}},
      {u"C:\\Temp\\Gr\u00f6\u00dfe \u65e5.zip", std::nullopt}};
  std::string bytes = FormatPendingList(files);
  EXPECT_EQ(bytes,
            "VelmoraHelper pending deletions 2\r\n1234ABCD-0001000000000A2F C:\\Temp\\a.zip\r\n"
            "- C:\\Temp\\Gr\xC3\xB6\xC3\x9F"
            "e \xE6\x97\xA5.zip\r\n");
  EXPECT_EQ(ParsePendingList(bytes), files);
  EXPECT_EQ(FormatPendingList({}), "VelmoraHelper pending deletions 2\r\n");
}

TEST(PendingListFormat, EveryUtf16NameReadsBackExactly) {
  const Text names[] = {
      Text(u"C:\\T\\") + char16_t(0xD800) + u".zip",               // lone high surrogate
      Text(u"C:\\T\\") + char16_t(0xDFFF) + u".zip",               // lone low surrogate
      Text(u"C:\\T\\") + char16_t(0xDC00) + char16_t(0xD800),      // a pair the wrong way round
      Text(u"C:\\T\\x") + char16_t(0xDBFF),                        // high surrogate at the end
      Text(u"C:\\T\\\U0001F600 ") + char16_t(0xD83D) + u"\uFFFD",  // a pair, a lone one, U+FFFD
      u"C:\\T\\\u00e9\u0301\uFEFF.zip",
  };
  std::vector<PendingFile> files;
  for (const Text& name : names) files.push_back({name, FileIdentity{1, 2}});
  EXPECT_EQ(ParsePendingList(FormatPendingList(files)), files);
  // A list of the first version wrote such names the same way; they read back exactly too.
  std::string version1 = "VelmoraHelper pending deletions 1\r\n";
  for (const Text& name : names) version1 += ToUtf8(name) + "\r\n";
  EXPECT_EQ(Paths(ParsePendingList(version1)),
            std::vector<Text>(std::begin(names), std::end(names)));
}

TEST(PendingListFormat, ReadsCompleteLinesOnly) {
  struct Row {
    const char* name;
    std::string bytes;
    std::vector<PendingFile> files;
  } rows[] = {
      {"empty file", "", {}},
      {"header only", "VelmoraHelper pending deletions 2\r\n", {}},
      {"torn last line",
       "VelmoraHelper pending deletions 2\r\n00000001-0000000000000002 C:\\T\\a.zip\r\n"
       "00000001-0000000000000003 C:\\T\\b.z",
       {{u"C:\\T\\a.zip", FileIdentity{1, 2}}}},
      {"torn header", "VelmoraHelper pend", {}},
      {"line feeds and blank lines",
       "VelmoraHelper pending deletions 2\n\n- C:\\T\\a.zip\n\r\n",
       {Unknown(u"C:\\T\\a.zip")}},
      {"identity unreadable",
       "VelmoraHelper pending deletions 2\r\n0000001-0000000000000002 C:\\T\\a.zip\r\n"
       "0000000G-0000000000000002 C:\\T\\b.zip\r\nC:\\T\\c.zip\r\n- \r\n"
       "0000000a-000000000000000b C:\\T\\d.zip\r\n",
       {{u"C:\\T\\d.zip", FileIdentity{10, 11}}}},
      {"version 1: paths alone",
       "VelmoraHelper pending deletions 1\r\nC:\\T\\a.zip\r\n- C:\\T\\b.zip\r\n",
       {Unknown(u"C:\\T\\a.zip"), Unknown(u"- C:\\T\\b.zip")}},
      {"version 1 torn",
       "VelmoraHelper pending deletions 1\r\nC:\\T\\a.zip\r\nC:\\T\\b.z",
       {Unknown(u"C:\\T\\a.zip")}},
      {"no header", "C:\\T\\a.zip\r\n", {Unknown(u"C:\\T\\a.zip")}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ParsePendingList(row.bytes), row.files);
  }
}

TEST(PendingListFormat, MergeKeepsTheFirstListsOrderAndDropsRepeats) {
  const PendingFile b{u"C:\\T\\b.zip", FileIdentity{1, 2}};
  const PendingFile a{u"C:\\T\\a.zip", FileIdentity{1, 3}};
  const PendingFile aMadeAgain{u"C:\\T\\a.zip", FileIdentity{1, 4}};
  EXPECT_EQ(
      MergePending({b, a, {u"c:\\t\\B.ZIP", FileIdentity{1, 2}}},
                   {{u"C:\\T\\A.zip", FileIdentity{1, 3}}, aMadeAgain, Unknown(u"C:\\T\\c.zip")}),
      (std::vector<PendingFile>{b, a, aMadeAgain, Unknown(u"C:\\T\\c.zip")}));
}

class PendingListOnDisk : public testing::Test {
 protected:
  PendingListOnDisk() {
    environment.SetVariable(u"LOCALAPPDATA", u"C:\\Users\\Ann\\AppData\\Local");
    environment.SetTempPath(u"C:\\Users\\Ann\\AppData\\Local\\Temp\\");
    files.AddDirectory(u"C:\\Users\\Ann\\AppData\\Local\\Temp");
  }
  platform::MemoryFileSystem files;
  platform::MemoryEnvironment environment;
  const PendingFile a{u"C:\\T\\a.zip", FileIdentity{1, 2}};
  const PendingFile b{u"C:\\T\\b.zip", FileIdentity{1, 3}};
  const PendingFile c{u"C:\\T\\c.zip", FileIdentity{1, 4}};
};

TEST_F(PendingListOnDisk, LivesUnderLocalAppDataAndMakesItsFolder) {
  PendingListFile list(files, environment, u"77");
  EXPECT_EQ(list.Path(), kList);
  EXPECT_TRUE(list.Read().empty());
  bool busy = true;
  auto lock = list.Lock(&busy);
  EXPECT_TRUE(lock);
  EXPECT_FALSE(busy);
  ASSERT_EQ(list.Write({a}), 0u);
  EXPECT_EQ(files.ContentString(kList),
            "VelmoraHelper pending deletions 2\r\n00000001-0000000000000002 C:\\T\\a.zip\r\n");
  EXPECT_EQ(list.Read(), std::vector<PendingFile>{a});
  EXPECT_FALSE(files.Exists(kList + u".77.new"));
  EXPECT_TRUE(files.Exists(kList + u".lock"));
}

TEST_F(PendingListOnDisk, WithoutLocalAppDataLivesInTheTemporaryDirectory) {
  environment.RemoveVariable(u"LOCALAPPDATA");
  PendingListFile list(files, environment, u"77");
  EXPECT_EQ(list.Path(), u"C:\\Users\\Ann\\AppData\\Local\\Temp\\VelmoraHelper.pending");
  EXPECT_EQ(list.RecordPath(), u"C:\\Users\\Ann\\AppData\\Local\\Temp\\VelmoraHelper.log");
}

TEST_F(PendingListOnDisk, OneProcessAtATimeHoldsTheList) {
  PendingListFile first(files, environment, u"1"), second(files, environment, u"2");
  auto held = first.Lock(nullptr);
  ASSERT_TRUE(held);
  bool busy = false;
  EXPECT_FALSE(second.Lock(&busy));
  EXPECT_TRUE(busy);
  held.reset();
  EXPECT_TRUE(second.Lock(&busy));
  EXPECT_FALSE(busy);
}

TEST_F(PendingListOnDisk, TornReplacementKeepsThePreviousList) {
  PendingListFile list(files, environment, u"77");
  ASSERT_EQ(list.Write({a, b}), 0u);
  files.TearNextReplace();
  EXPECT_NE(list.Write({a, b, c}), 0u);
  EXPECT_EQ(Paths(ParsePendingList(files.ContentString(kList))),
            (std::vector<Text>{u"C:\\T\\a.zip", u"C:\\T\\b.zip"}));
  // What the torn file of this process's own name holds in complete lines is read as well;
  // then it can go.
  EXPECT_TRUE(files.Exists(kList + u".77.new"));
  EXPECT_EQ(list.Read(), (std::vector<PendingFile>{a, b}));
  list.DropLeftovers();
  EXPECT_FALSE(files.Exists(kList + u".77.new"));
}

TEST_F(PendingListOnDisk, CompleteLeftoversOfInterruptedReplacementsAreMerged) {
  PendingListFile list(files, environment, u"77");
  ASSERT_EQ(list.Write({a}), 0u);
  // One left by an earlier version (a list of the first version), one by a process that died.
  files.AddFile(kList + u".new", "VelmoraHelper pending deletions 1\r\nC:\\T\\b.zip\r\n");
  files.AddFile(kList + u".4242.new", FormatPendingList({a, c}));
  files.AddFile(kList + u".4243.new", "VelmoraHelper pending deletions 2\r\n- C:\\T\\d.z");
  EXPECT_EQ(list.Read(), (std::vector<PendingFile>{a, c, Unknown(u"C:\\T\\b.zip")}));
  list.DropLeftovers();
  EXPECT_TRUE(files.FindAll(kList + u"*.new").empty());
  EXPECT_TRUE(files.Exists(kList));
}

TEST_F(PendingListOnDisk, ListThatCannotBeReplacedStaysAsItWas) {
  PendingListFile list(files, environment, u"77");
  ASSERT_EQ(list.Write({a}), 0u);
  files.Lock(kList);
  EXPECT_NE(list.Write({}), 0u);
  files.Unlock(kList);
  EXPECT_EQ(list.Read(), std::vector<PendingFile>{a});
}

TEST_F(PendingListOnDisk, RecordKeepsItsLatestLines) {
  PendingListFile list(files, environment, u"77");
  list.Record({u"first", u"second"});
  EXPECT_EQ(files.ContentString(list.RecordPath()), "first\r\nsecond\r\n");
  for (int i = 0; i < 300; ++i) list.Record({u"line " + ToDecimal(i)});
  std::string record = files.ContentString(list.RecordPath());
  EXPECT_EQ(record.find("second"), std::string::npos);
  EXPECT_EQ(record.substr(0, 10), "line 100\r\n");
  EXPECT_EQ(record.substr(record.size() - 10), "line 299\r\n");
}

}  // namespace
}  // namespace velmora
