#include <gtest/gtest.h>

#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryPlatform.h"
#include "request/MoveJournal.h"

namespace velmora {
namespace {

TEST(MoveJournal, UndoPutsFilesBackLastMoveFirstAndReturnsWhatItCannotMove) {
  platform::MemoryPlatform m;
  m.files.AddFile(u"C:\\Temp\\a.c", "a");
  m.files.AddFile(u"C:\\Temp\\b (1).h", "b");
  m.files.AddFile(u"C:\\Temp\\c.x", "c");
  m.files.AddFile(u"C:\\Temp\\c.tmp", "someone else's");
  MoveJournal moves;
  // The third name is taken again: that file stays under its copy name.
  moves.Record(u"C:\\Temp\\a.tmp", u"C:\\Temp\\a.c");
  moves.Record(u"C:\\Temp\\b.tmp", u"C:\\Temp\\b (1).h");
  moves.Record(u"C:\\Temp\\c.tmp", u"C:\\Temp\\c.x");  // its name is taken again
  std::vector<MoveJournal::Refused> refused = moves.Undo(m.files);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].move.to, u"C:\\Temp\\c.x");
  EXPECT_EQ(refused[0].move.from, u"C:\\Temp\\c.tmp");
  EXPECT_EQ(refused[0].error, platform::kErrorAlreadyExists);
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\a.tmp"), "a");
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\b.tmp"), "b");
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\c.x"), "c") << "left where it is, not deleted";
  EXPECT_EQ(m.files.ContentString(u"C:\\Temp\\c.tmp"), "someone else's");
  EXPECT_TRUE(moves.Moves().empty());
  EXPECT_TRUE(moves.Undo(m.files).empty());  // nothing left to undo
  EXPECT_EQ(m.files.Files().size(), 4u);
}

TEST(MoveJournal, ChainedMovesUndoneInReverse) {
  platform::MemoryPlatform m;
  m.files.AddFile(u"C:\\w\\y", "first");
  m.files.AddFile(u"C:\\w\\x", "second");
  MoveJournal moves;
  moves.Record(u"C:\\w\\x", u"C:\\w\\y");  // first's file went x -> y
  moves.Record(u"C:\\w\\z", u"C:\\w\\x");  // then second's file z -> x
  moves.Undo(m.files);
  EXPECT_EQ(m.files.ContentString(u"C:\\w\\z"), "second");
  EXPECT_EQ(m.files.ContentString(u"C:\\w\\x"), "first");
  EXPECT_FALSE(m.files.Exists(u"C:\\w\\y"));
}

TEST(MoveJournal, ForgetLeavesADisposedSideAlone) {
  platform::MemoryPlatform m;
  m.files.AddFile(u"C:\\w\\a.c", "a");
  m.files.AddFile(u"C:\\w\\b.c", "b");
  MoveJournal moves;
  moves.Record(u"C:\\w\\a.tmp", u"C:\\w\\a.c");
  moves.Record(u"C:\\w\\b.tmp", u"C:\\w\\b.c");
  moves.Forget(u"C:\\w\\a.c");
  moves.Undo(m.files);
  EXPECT_TRUE(m.files.Exists(u"C:\\w\\a.c"));
  EXPECT_TRUE(m.files.Exists(u"C:\\w\\b.tmp"));
}

}  // namespace
}  // namespace velmora
