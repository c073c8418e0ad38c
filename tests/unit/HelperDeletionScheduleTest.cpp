#include <gtest/gtest.h>

#include "helper/DeletionSchedule.h"

namespace velmora {
namespace {

PendingFile File(const Text& path) {
  return PendingFile{path, std::nullopt};
}

std::vector<Text> Paths(const std::vector<PendingFile>& files) {
  std::vector<Text> paths;
  for (const PendingFile& file : files) paths.push_back(file.path);
  return paths;
}

TEST(DeletionSchedule, NewFileIsDueAtOnceAndOnlyOnce) {
  DeletionSchedule schedule;
  EXPECT_TRUE(schedule.Empty());
  EXPECT_FALSE(schedule.NextDue());
  EXPECT_TRUE(schedule.Add(File(u"C:\\Temp\\a.zip"), 1000));
  EXPECT_FALSE(schedule.Add(File(u"c:\\temp\\A.ZIP"), 2000))
      << "the same file in other letter case";
  EXPECT_EQ(Paths(schedule.Due(999)), std::vector<Text>{});
  EXPECT_EQ(Paths(schedule.Due(1000)), std::vector<Text>{u"C:\\Temp\\a.zip"});
  EXPECT_EQ(schedule.NextDue(), 1000u);
}

TEST(DeletionSchedule, RetriesWaitTwiceAsLongEachTimeUpToAMinute) {
  DeletionSchedule schedule;
  schedule.Add(File(u"C:\\Temp\\a.zip"), 0);
  const uint64_t waits[] = {250, 500, 1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000};
  uint64_t now = 0;
  int failures = 0;
  for (uint64_t wait : waits) {
    EXPECT_EQ(schedule.Retry(File(u"C:\\Temp\\a.zip"), now), ++failures);
    EXPECT_EQ(schedule.NextDue(), now + wait);
    EXPECT_TRUE(Paths(schedule.Due(now + wait - 1)).empty());
    now += wait;
    EXPECT_EQ(Paths(schedule.Due(now)).size(), 1u);
  }
}

TEST(DeletionSchedule, EachFileKeepsItsOwnPace) {
  DeletionSchedule schedule;
  schedule.Add(File(u"C:\\Temp\\a.zip"), 0);
  schedule.Add(File(u"C:\\Temp\\b.zip"), 0);
  schedule.Add(File(u"C:\\Temp\\c.zip"), 0);
  schedule.Retry(File(u"C:\\Temp\\a.zip"), 0);    // due at 250
  schedule.Retry(File(u"C:\\Temp\\a.zip"), 250);  // due at 750
  schedule.Retry(File(u"C:\\Temp\\b.zip"), 100);  // due at 350
  EXPECT_EQ(Paths(schedule.Due(0)), std::vector<Text>{u"C:\\Temp\\c.zip"});
  EXPECT_EQ(Paths(schedule.Due(350)), (std::vector<Text>{u"C:\\Temp\\b.zip", u"C:\\Temp\\c.zip"}));
  schedule.Remove(File(u"C:\\TEMP\\C.ZIP"));
  EXPECT_EQ(schedule.NextDue(), 350u);
  EXPECT_EQ(schedule.Paths(), (std::vector<Text>{u"C:\\Temp\\a.zip", u"C:\\Temp\\b.zip"}));
  EXPECT_TRUE(schedule.Contains(File(u"c:\\temp\\a.zip")));
  EXPECT_FALSE(schedule.Contains(File(u"C:\\Temp\\c.zip")));
  EXPECT_EQ(schedule.Retry(File(u"C:\\Temp\\c.zip"), 0), 0)
      << "a file not pending is not rescheduled";
}

TEST(DeletionSchedule, AFileMadeAgainUnderTheSameNameIsAnotherEntry) {
  DeletionSchedule schedule;
  const PendingFile first{u"C:\\Temp\\a.zip", platform::FileIdentity{7, 100}};
  const PendingFile again{u"C:\\Temp\\a.zip", platform::FileIdentity{7, 101}};
  EXPECT_TRUE(schedule.Add(first, 0));
  EXPECT_TRUE(schedule.Add(again, 0));
  EXPECT_FALSE(schedule.Add({u"c:\\temp\\A.zip", platform::FileIdentity{7, 101}}, 0));
  schedule.Remove(first);
  EXPECT_EQ(schedule.Files(), std::vector<PendingFile>{again});
}

}  // namespace
}  // namespace velmora
