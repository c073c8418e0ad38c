#include <gtest/gtest.h>

#include <algorithm>

#include "helper/DeferredDeletion.h"
#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryFileSystem.h"

namespace velmora {
namespace {

const Text kTemp = u"C:\\Users\\Ann\\AppData\\Local\\Temp";
const Text kList = u"C:\\Users\\Ann\\AppData\\Local\\Velmora\\VelmoraHelper.pending";

class Deferred : public testing::Test {
 protected:
  Deferred() {
    environment.SetVariable(u"LOCALAPPDATA", u"C:\\Users\\Ann\\AppData\\Local");
    environment.SetTempPath(kTemp + u"\\");
    files.AddFile(kTemp + u"\\a.zip", "PK");
    files.AddFile(kTemp + u"\\b.zip", "PK");
    files.AddFile(u"C:\\Work\\main.c", "int main;");
  }
  std::vector<Text> ListOnDisk() {
    std::vector<Text> paths;
    for (const PendingFile& file : ParsePendingList(files.ContentString(kList)))
      paths.push_back(file.path);
    return paths;
  }
  // A list as a server writes it: each file with its identity, none for a file not there.
  std::string ListOf(const std::vector<Text>& paths) {
    std::vector<PendingFile> entries;
    for (const Text& path : paths) {
      auto entry = files.OpenEntry(path, platform::EntryAccess::Inspect, nullptr);
      entries.push_back({path, entry ? entry->Identity() : std::nullopt});
    }
    return FormatPendingList(entries);
  }

  platform::MemoryFileSystem files;
  platform::MemoryEnvironment environment;
};

TEST_F(Deferred, FreeFileIsDeletedAtTheFirstAttempt) {
  DeferredDeletion work(files, environment);
  work.Resume(0);
  EXPECT_TRUE(work.Idle());
  EXPECT_EQ(work.Accept(kTemp + u"\\a.zip", 10).kind, Verdict::Kind::Accepted);
  EXPECT_EQ(ListOnDisk(), std::vector<Text>{kTemp + u"\\a.zip"}) << "owned from now on";
  EXPECT_TRUE(files.Exists(kTemp + u"\\a.zip")) << "nothing happens inside the call";
  EXPECT_FALSE(work.Work(10));
  EXPECT_FALSE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_TRUE(work.Idle());
  EXPECT_TRUE(ListOnDisk().empty());
}

TEST_F(Deferred, HeldFileWaitsWithGrowingIntervalsUntilReleased) {
  DeferredDeletion work(files, environment);
  files.Lock(kTemp + u"\\a.zip");
  work.Accept(kTemp + u"\\a.zip", 0);
  EXPECT_EQ(work.Work(0), 250u);
  EXPECT_EQ(work.Work(100), 250u) << "not due yet: untouched";
  EXPECT_EQ(work.Work(250), 750u);
  EXPECT_EQ(work.Work(750), 1750u);
  EXPECT_TRUE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_EQ(ListOnDisk(), std::vector<Text>{kTemp + u"\\a.zip"});
  files.Unlock(kTemp + u"\\a.zip");
  EXPECT_EQ(work.Work(1000), 1750u);
  EXPECT_FALSE(work.Work(1750));
  EXPECT_FALSE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_TRUE(ListOnDisk().empty());
}

TEST_F(Deferred, RefusedFileIsNeitherOwnedNorListed) {
  DeferredDeletion work(files, environment);
  Verdict verdict = work.Accept(u"C:\\Work\\main.c", 0);
  EXPECT_EQ(verdict.kind, Verdict::Kind::NotAllowed);
  EXPECT_TRUE(work.Idle());
  EXPECT_FALSE(files.Exists(kList));
  EXPECT_FALSE(work.Work(0));
  EXPECT_TRUE(files.Exists(u"C:\\Work\\main.c"));
}

TEST_F(Deferred, NextRunFinishesTheListButNeverDeletesWhatIsNotAllowed) {
  // Left by a run that ended early; someone put a working file into the list.
  files.AddFile(kList, ListOf({kTemp + u"\\a.zip", u"C:\\Work\\main.c", kTemp + u"\\gone.zip"}));
  DeferredDeletion work(files, environment);
  work.Resume(5);
  EXPECT_EQ(work.Pending().size(), 3u);
  EXPECT_FALSE(work.Work(5));
  EXPECT_FALSE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_EQ(files.ContentString(u"C:\\Work\\main.c"), "int main;");
  EXPECT_TRUE(ListOnDisk().empty());
}

TEST_F(Deferred, InterruptedListWriteOfAnEarlierRunIsNotLost) {
  files.AddFile(kList, ListOf({kTemp + u"\\a.zip"}));
  files.AddFile(kList + u".new", ListOf({kTemp + u"\\a.zip", kTemp + u"\\b.zip"}));
  DeferredDeletion work(files, environment);
  work.Resume(0);
  EXPECT_EQ(ListOnDisk(), (std::vector<Text>{kTemp + u"\\a.zip", kTemp + u"\\b.zip"}));
  EXPECT_FALSE(files.Exists(kList + u".new"));
  work.Work(0);
  EXPECT_FALSE(files.Exists(kTemp + u"\\b.zip"));
}

TEST_F(Deferred, TornListWriteKeepsWhatWasPendingBefore) {
  DeferredDeletion work(files, environment);
  files.Lock(kTemp + u"\\a.zip");
  work.Accept(kTemp + u"\\a.zip", 0);
  files.TearNextReplace();
  EXPECT_EQ(work.Accept(kTemp + u"\\b.zip", 0).kind, Verdict::Kind::Accepted);
  EXPECT_EQ(ListOnDisk(), std::vector<Text>{kTemp + u"\\a.zip"});
  // The next write puts the whole list down.
  work.Work(0);
  EXPECT_EQ(ListOnDisk(), std::vector<Text>{kTemp + u"\\a.zip"});
  EXPECT_FALSE(files.Exists(kTemp + u"\\b.zip"));
}

TEST_F(Deferred, TakesOverWhatAnotherServerProcessListed) {
  DeferredDeletion work(files, environment);
  files.Lock(kTemp + u"\\a.zip");
  work.Accept(kTemp + u"\\a.zip", 0);
  files.AddFile(kList, ListOf({kTemp + u"\\a.zip", kTemp + u"\\b.zip"}));
  files.Unlock(kTemp + u"\\a.zip");
  work.Work(0);
  EXPECT_FALSE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_EQ(work.Pending(), std::vector<Text>{kTemp + u"\\b.zip"});
  EXPECT_EQ(ListOnDisk(), std::vector<Text>{kTemp + u"\\b.zip"});
  EXPECT_FALSE(work.Work(0));
  EXPECT_FALSE(files.Exists(kTemp + u"\\b.zip"));
}

TEST_F(Deferred, FileThatKeepsFailingIsGivenUpAndLeftInPlace) {
  DeferredDeletion work(files, environment);
  files.FailDeleteOf(kTemp + u"\\a.zip", platform::kErrorAccessDenied);
  work.Accept(kTemp + u"\\a.zip", 0);
  uint64_t now = 0;
  int attempts = 0;
  while (auto next = work.Work(now)) {
    now = *next;
    ASSERT_LT(++attempts, 100);
  }
  EXPECT_EQ(attempts + 1, DeferredDeletion::kMostFailures);
  EXPECT_TRUE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_TRUE(ListOnDisk().empty());
}

TEST_F(Deferred, FileReplacedByALinkBeforeItsTurnIsLeftAlone) {
  DeferredDeletion work(files, environment);
  files.Lock(kTemp + u"\\a.zip");
  work.Accept(kTemp + u"\\a.zip", 0);
  work.Work(0);
  files.Unlock(kTemp + u"\\a.zip");
  files.Delete(kTemp + u"\\a.zip");
  files.AddLink(kTemp + u"\\a.zip", u"C:\\Work\\main.c", false);
  EXPECT_FALSE(work.Work(250));
  EXPECT_TRUE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_EQ(files.ContentString(u"C:\\Work\\main.c"), "int main;");
}

TEST_F(Deferred, FileReplacedAfterItWasAcceptedIsKeptAndTheReasonRecorded) {
  DeferredDeletion work(files, environment);
  files.Lock(kTemp + u"\\a.zip");
  work.Accept(kTemp + u"\\a.zip", 0);
  work.Accept(kTemp + u"\\b.zip", 0);
  work.Work(0);
  // Another program deletes the accepted file and makes its own under the same name.
  files.Unlock(kTemp + u"\\a.zip");
  files.Delete(kTemp + u"\\a.zip");
  files.AddFile(kTemp + u"\\a.zip", "another program's");
  EXPECT_FALSE(work.Work(250));
  EXPECT_EQ(files.ContentString(kTemp + u"\\a.zip"), "another program's");
  EXPECT_TRUE(ListOnDisk().empty()) << "the entry is dropped";
  EXPECT_EQ(files.ContentString(work.RecordPath()),
            "\"" + ToUtf8(kTemp) +
                "\\a.zip\" is no longer the file handed over (it was deleted and made again, or "
                "replaced); it is left alone.\r\n");
  // A run started later (after a logoff, say) knows the same from the list.
  files.AddFile(kTemp + u"\\c.zip", "PK");
  files.Lock(kTemp + u"\\c.zip");
  work.Accept(kTemp + u"\\c.zip", 300);
  files.Unlock(kTemp + u"\\c.zip");
  files.Delete(kTemp + u"\\c.zip");
  files.AddFile(kTemp + u"\\c.zip", "made again");
  DeferredDeletion next(files, environment, u"2");
  next.Resume(0);
  EXPECT_FALSE(next.Work(0));
  EXPECT_EQ(files.ContentString(kTemp + u"\\c.zip"), "made again");
  EXPECT_TRUE(ListOnDisk().empty());
}

TEST_F(Deferred, ListOfTheFirstVersionIsFinishedByPathAsBefore) {
  files.AddFile(kList, "VelmoraHelper pending deletions 1\r\n" + ToUtf8(kTemp) + "\\a.zip\r\n");
  files.AddFile(kList + u".new", "VelmoraHelper pending deletions 1\r\n" + ToUtf8(kTemp) +
                                     "\\a.zip\r\n" + ToUtf8(kTemp) + "\\b.zip\r\n");
  DeferredDeletion work(files, environment);
  work.Resume(0);
  EXPECT_FALSE(files.Exists(kList + u".new"));
  EXPECT_EQ(files.ContentString(kList).substr(0, 35), "VelmoraHelper pending deletions 2\r\n");
  EXPECT_FALSE(work.Work(0));
  EXPECT_FALSE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_FALSE(files.Exists(kTemp + u"\\b.zip"));
  EXPECT_TRUE(ListOnDisk().empty());
}

TEST_F(Deferred, WithoutItsLockTheListIsStillWrittenButNoOtherFileBesideItRemoved) {
  files.AddFile(kList + u".lock", "");
  files.DenyAccess(kList + u".lock");
  files.AddFile(kList + u".9.new", ListOf({kTemp + u"\\b.zip"}));
  files.Lock(kTemp + u"\\b.zip");
  DeferredDeletion work(files, environment);
  work.Resume(0);
  EXPECT_EQ(ListOnDisk(), std::vector<Text>{kTemp + u"\\b.zip"});
  EXPECT_TRUE(files.Exists(kList + u".9.new")) << "it may be another process's work";
}

// Two server processes of one user on one list: whatever step of one the other's whole save
// falls between, no entry is lost and none finished comes back.
TEST_F(Deferred, TwoServerProcessesSavingAtOnceLoseNoEntry) {
  struct Row {
    const char* name;
    bool firstFinishes;  // the first one deletes its file, else it accepts one
  } rows[] = {{"both accept", false}, {"one accepts while the other finishes", true}};
  for (const Row& row : rows) {
    for (int at = 1;; ++at) {
      SCOPED_TRACE(std::string(row.name) + ", at step " + std::to_string(at));
      platform::MemoryFileSystem disk;
      disk.AddFile(kTemp + u"\\a.zip", "PK");
      disk.AddFile(kTemp + u"\\b.zip", "PK");
      disk.Lock(kTemp + u"\\b.zip");
      if (!row.firstFinishes) disk.Lock(kTemp + u"\\a.zip");
      DeferredDeletion first(disk, environment, u"1"), second(disk, environment, u"2");
      first.Resume(0);
      second.Resume(0);
      if (row.firstFinishes) {
        ASSERT_EQ(first.Accept(kTemp + u"\\a.zip", 0).kind, Verdict::Kind::Accepted);
      }

      int step = 0;
      bool interleaved = false;
      disk.BeforeEachStep([&] {
        if (++step != at) return;
        interleaved = true;
        EXPECT_EQ(second.Accept(kTemp + u"\\b.zip", 0).kind, Verdict::Kind::Accepted);
      });
      if (row.firstFinishes)
        first.Work(0);
      else
        first.Accept(kTemp + u"\\a.zip", 0);
      disk.BeforeEachStep(nullptr);
      if (!interleaved) break;  // past the first one's last step
      // Whoever found the list busy writes it when it comes back.
      uint64_t later = DeferredDeletion::kSaveRetryMs;
      first.Work(later);
      second.Work(later);

      std::vector<Text> listed;
      for (const PendingFile& file : ParsePendingList(disk.ContentString(kList)))
        listed.push_back(file.path);
      std::vector<Text> expected{kTemp + u"\\b.zip"};
      if (!row.firstFinishes) expected.insert(expected.begin(), kTemp + u"\\a.zip");
      std::sort(listed.begin(), listed.end());
      EXPECT_EQ(listed, expected);
      EXPECT_TRUE(disk.FindAll(kList + u"*.new").empty());
      EXPECT_EQ(disk.Exists(kTemp + u"\\a.zip"), !row.firstFinishes);
    }
  }
}

}  // namespace
}  // namespace velmora
