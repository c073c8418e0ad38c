#include <gtest/gtest.h>

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
  std::vector<Text> ListOnDisk() { return ParsePendingList(files.ContentString(kList)); }

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
  files.AddFile(
      kList, FormatPendingList({kTemp + u"\\a.zip", u"C:\\Work\\main.c", kTemp + u"\\gone.zip"}));
  DeferredDeletion work(files, environment);
  work.Resume(5);
  EXPECT_EQ(work.Pending().size(), 3u);
  EXPECT_FALSE(work.Work(5));
  EXPECT_FALSE(files.Exists(kTemp + u"\\a.zip"));
  EXPECT_EQ(files.ContentString(u"C:\\Work\\main.c"), "int main;");
  EXPECT_TRUE(ListOnDisk().empty());
}

TEST_F(Deferred, InterruptedListWriteOfAnEarlierRunIsNotLost) {
  files.AddFile(kList, FormatPendingList({kTemp + u"\\a.zip"}));
  files.AddFile(kList + u".new", FormatPendingList({kTemp + u"\\a.zip", kTemp + u"\\b.zip"}));
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
  files.AddFile(kList, FormatPendingList({kTemp + u"\\a.zip", kTemp + u"\\b.zip"}));
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

}  // namespace
}  // namespace velmora
