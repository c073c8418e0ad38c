#include <gtest/gtest.h>

#include "helper/PathJudgement.h"
#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryEnvironment.h"
#include "platform/memory/MemoryFileSystem.h"

namespace velmora {
namespace {

using Kind = Verdict::Kind;

const Text kTemp = u"C:\\Users\\Ann\\AppData\\Local\\Temp";

// A user's temporary directory with a few files, folders and links around it.
class Judgement : public testing::Test {
 protected:
  Judgement() {
    environment.SetTempPath(kTemp + u"\\");
    files.AddFile(kTemp + u"\\pvc1.zip", "PK");
    files.AddFile(kTemp + u"\\sub\\pvc2.zip", "PK");
    files.AddDirectory(kTemp + u"\\folder.zip");
    files.AddFile(u"C:\\Outside\\keep.zip", "keep");
    files.AddFile(u"C:\\Users\\Ann\\AppData\\Local\\Temp2\\pvc3.zip", "PK");
    files.AddFile(u"\\\\server\\share\\pvc4.zip", "PK");
    files.AddLink(kTemp + u"\\junction", u"C:\\Outside", true);
    files.AddLink(kTemp + u"\\link.zip", kTemp + u"\\pvc1.zip", false);
    files.AddLink(kTemp + u"\\outlink.zip", u"C:\\Outside\\keep.zip", false);
    files.AddLink(u"C:\\Outside\\intoTemp", kTemp, true);
    files.SetAlternateName(u"C:\\Users\\Ann\\AppData", u"APPDAT~1");
  }
  Verdict Judge(const Text& path) {
    return JudgeRequest(files, FinalTempDirectory(files, environment), path);
  }

  platform::MemoryFileSystem files;
  platform::MemoryEnvironment environment;
};

TEST_F(Judgement, AcceptsRegularFilesWhoseFinalPathIsInsideTheTemporaryDirectory) {
  struct Row {
    const char* name;
    Text path, finalPath;
  } rows[] = {
      {"plain", kTemp + u"\\pvc1.zip", kTemp + u"\\pvc1.zip"},
      {"sub folder", kTemp + u"\\sub\\pvc2.zip", kTemp + u"\\sub\\pvc2.zip"},
      {"other letter case", u"c:\\users\\ann\\appdata\\local\\temp\\PVC1.ZIP",
       kTemp + u"\\pvc1.zip"},
      {"8.3 name on the way", u"C:\\Users\\Ann\\APPDAT~1\\Local\\Temp\\pvc1.zip",
       kTemp + u"\\pvc1.zip"},
      {"outside by text, inside by junction", u"C:\\Outside\\intoTemp\\pvc1.zip",
       kTemp + u"\\pvc1.zip"},
      {"dot elements", kTemp + u"\\sub\\..\\pvc1.zip", kTemp + u"\\pvc1.zip"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Verdict verdict = Judge(row.path);
    EXPECT_EQ(verdict.kind, Kind::Accepted) << ToUtf8(verdict.description);
    EXPECT_EQ(verdict.finalPath, row.finalPath);
    EXPECT_TRUE(verdict.description.empty());
  }
}

TEST_F(Judgement, RefusesEverythingElseWithItsReason) {
  struct Row {
    const char* name;
    Text path;
    Kind kind;
    Text description;
  } rows[] = {
      {"empty", u"", Kind::InvalidPath, u"VelmoraHelper was given an empty path."},
      {"relative", u"pvc1.zip", Kind::InvalidPath, u"\"pvc1.zip\" is not a full path."},
      {"relative folder", u"Temp\\pvc1.zip", Kind::InvalidPath,
       u"\"Temp\\pvc1.zip\" is not a full path."},
      {"rooted without drive", u"\\Users\\pvc1.zip", Kind::InvalidPath,
       u"\"\\Users\\pvc1.zip\" is not a full path."},
      {"drive relative", u"C:pvc1.zip", Kind::InvalidPath, u"\"C:pvc1.zip\" is not a full path."},
      {"device", kTemp + u"\\NUL", Kind::InvalidPath,
       u"\"" + kTemp + u"\\NUL\" names a device, not a file."},
      {"device with extension", kTemp + u"\\com1.zip", Kind::InvalidPath,
       u"\"" + kTemp + u"\\com1.zip\" names a device, not a file."},
      {"device namespace", u"\\\\.\\PhysicalDrive0", Kind::InvalidPath,
       u"\"\\\\.\\PhysicalDrive0\" is a device or namespace path; VelmoraHelper accepts only "
       u"plain full paths of files."},
      {"wildcard", kTemp + u"\\*.zip", Kind::InvalidPath,
       u"\"" + kTemp + u"\\*.zip\" holds characters that no file name may hold."},
      {"alternate stream", kTemp + u"\\pvc1.zip:hidden", Kind::InvalidPath,
       u"\"" + kTemp + u"\\pvc1.zip:hidden\" holds characters that no file name may hold."},
      {"missing", kTemp + u"\\none.zip", Kind::Missing,
       u"\"" + kTemp + u"\\none.zip\" does not exist."},
      {"missing folder", kTemp + u"\\none\\x.zip", Kind::Missing,
       u"\"" + kTemp + u"\\none\\x.zip\" does not exist."},
      {"outside", u"C:\\Outside\\keep.zip", Kind::NotAllowed,
       u"\"C:\\Outside\\keep.zip\" is not inside the temporary directory \"" + kTemp +
           u"\" (its final path is \"C:\\Outside\\keep.zip\")."},
      {"sibling with the same beginning", u"C:\\Users\\Ann\\AppData\\Local\\Temp2\\pvc3.zip",
       Kind::NotAllowed,
       u"\"C:\\Users\\Ann\\AppData\\Local\\Temp2\\pvc3.zip\" is not inside the temporary "
       u"directory \"" +
           kTemp + u"\" (its final path is \"C:\\Users\\Ann\\AppData\\Local\\Temp2\\pvc3.zip\")."},
      {"climbing out", kTemp + u"\\..\\..\\..\\..\\..\\Outside\\keep.zip", Kind::NotAllowed,
       u"\"" + kTemp +
           u"\\..\\..\\..\\..\\..\\Outside\\keep.zip\" is not inside the temporary directory \"" +
           kTemp + u"\" (its final path is \"C:\\Outside\\keep.zip\")."},
      {"through a junction", kTemp + u"\\junction\\keep.zip", Kind::NotAllowed,
       u"\"" + kTemp + u"\\junction\\keep.zip\" is not inside the temporary directory \"" + kTemp +
           u"\" (its final path is \"C:\\Outside\\keep.zip\")."},
      {"share", u"\\\\server\\share\\pvc4.zip", Kind::NotAllowed,
       u"\"\\\\server\\share\\pvc4.zip\" is not inside the temporary directory \"" + kTemp +
           u"\" (its final path is \"\\\\server\\share\\pvc4.zip\")."},
      {"folder", kTemp + u"\\folder.zip", Kind::NotAllowed,
       u"\"" + kTemp + u"\\folder.zip\" is a folder; VelmoraHelper deletes only files."},
      {"the temporary directory", kTemp, Kind::NotAllowed,
       u"\"" + kTemp + u"\" is a folder; VelmoraHelper deletes only files."},
      {"junction itself", kTemp + u"\\junction", Kind::NotAllowed,
       u"\"" + kTemp + u"\\junction\" is a folder; VelmoraHelper deletes only files."},
      {"link to a file inside", kTemp + u"\\link.zip", Kind::NotAllowed,
       u"\"" + kTemp + u"\\link.zip\" is a link; VelmoraHelper deletes only files."},
      {"link to a file outside", kTemp + u"\\outlink.zip", Kind::NotAllowed,
       u"\"" + kTemp + u"\\outlink.zip\" is a link; VelmoraHelper deletes only files."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Verdict verdict = Judge(row.path);
    EXPECT_EQ(verdict.kind, row.kind);
    EXPECT_EQ(ToUtf8(verdict.description), ToUtf8(row.description));
    EXPECT_TRUE(verdict.finalPath.empty());
  }
}

TEST_F(Judgement, RefusesEveryDeviceAndNamespaceSpellingBeforeOpeningAnything) {
  const Text spellings[] = {
      u"\\\\.\\PhysicalDrive0",
      u"\\\\./pipe\\x",
      u"//./pipe/x",
      u"\\\\?\\" + kTemp + u"\\pvc1.zip",
      u"\\\\?\\UNC\\server\\share\\pvc4.zip",
      u"//?/C:/Temp/x.zip",
      u"\\??\\C:\\Temp\\x.zip",
      u"/?"
      u"?/C:/Temp/x.zip",
      u"\\\\.\\GLOBALROOT\\Device\\HarddiskVolume1\\x",
      u"\\\\.",
      u"\\\\..\\pipe\\x",
      u"\\\\server\\pipe\\x",
      u"\\\\localhost\\PIPE\\x",
      u"\\\\server\\MailSlot\\x",
      u"\\\\.\\" + kTemp + u"\\pvc1.zip",
  };
  // Anything opened would show as a step; nothing may be.
  int steps = 0;
  files.BeforeEachStep([&] { ++steps; });
  const Text temp = kTemp;
  for (const Text& path : spellings) {
    SCOPED_TRACE(ToUtf8(path));
    Verdict verdict = JudgeRequest(files, temp, path);
    EXPECT_EQ(verdict.kind, Kind::InvalidPath);
    EXPECT_EQ(verdict.description,
              u"\"" + path +
                  u"\" is a device or namespace path; VelmoraHelper accepts only plain full paths "
                  u"of files.");
    EXPECT_EQ(DeleteIfSafe(files, temp, PendingFile{path, std::nullopt}).outcome,
              DeleteOutcome::Refused);
  }
  EXPECT_EQ(steps, 0);
}

TEST_F(Judgement, PathsLongerThanMaxPathAreJudgedAndDeletedLikeAnyOther) {
  // 390 characters in all, as deep folders in the temporary directory make them.
  Text folder = kTemp;
  while (folder.size() < 360) folder += u"\\folder-of-a-deep-tree";
  const Text path = folder + u"\\" + Text(388 - folder.size(), u'x');
  ASSERT_EQ(path.size() + 1, 390u);
  files.AddFile(path + u"z", "PK");
  files.AddFile(u"C:\\Outside" + path.substr(kTemp.size()) + u"z", "keep");
  Verdict verdict = Judge(path + u"z");
  ASSERT_EQ(verdict.kind, Kind::Accepted) << ToUtf8(verdict.description);
  EXPECT_EQ(verdict.finalPath, path + u"z");
  EXPECT_EQ(Judge(u"C:\\Outside" + path.substr(kTemp.size()) + u"z").kind, Kind::NotAllowed);
  EXPECT_EQ(DeleteIfSafe(files, FinalTempDirectory(files, environment),
                         PendingFile{verdict.finalPath, verdict.identity})
                .outcome,
            DeleteOutcome::Deleted);
  EXPECT_FALSE(files.Exists(path + u"z"));
}

// The file accepted is the file deleted: a file made under its name since is left alone.
TEST_F(Judgement, DeletesOnlyTheFileThatWasAccepted) {
  const Text temp = FinalTempDirectory(files, environment);
  Verdict accepted = Judge(kTemp + u"\\pvc1.zip");
  ASSERT_TRUE(accepted.identity);
  const PendingFile file{accepted.finalPath, accepted.identity};

  // Renamed away and back, it stays the same file.
  ASSERT_EQ(files.Move(kTemp + u"\\pvc1.zip", kTemp + u"\\moved.zip"), 0u);
  ASSERT_EQ(files.Move(kTemp + u"\\moved.zip", kTemp + u"\\pvc1.zip"), 0u);
  EXPECT_EQ(Judge(kTemp + u"\\pvc1.zip").identity, accepted.identity);

  // Deleted and made again, it is another file.
  ASSERT_EQ(files.Delete(kTemp + u"\\pvc1.zip"), 0u);
  files.AddFile(kTemp + u"\\pvc1.zip", "someone else's");
  EXPECT_NE(Judge(kTemp + u"\\pvc1.zip").identity, accepted.identity);
  EXPECT_EQ(DeleteIfSafe(files, temp, file).outcome, DeleteOutcome::Replaced);
  EXPECT_EQ(files.ContentString(kTemp + u"\\pvc1.zip"), "someone else's");
  // Replaced as a whole by another file moved over it: the same.
  files.AddFile(kTemp + u"\\sub\\other.zip", "other");
  const PendingFile second{kTemp + u"\\sub\\pvc2.zip", Judge(kTemp + u"\\sub\\pvc2.zip").identity};
  ASSERT_EQ(files.Delete(kTemp + u"\\sub\\pvc2.zip"), 0u);
  ASSERT_EQ(files.Move(kTemp + u"\\sub\\other.zip", kTemp + u"\\sub\\pvc2.zip"), 0u);
  EXPECT_EQ(DeleteIfSafe(files, temp, second).outcome, DeleteOutcome::Replaced);
  EXPECT_TRUE(files.Exists(kTemp + u"\\sub\\pvc2.zip"));
  // An entry of a list without identities is judged by its path alone, as it always was.
  EXPECT_EQ(
      DeleteIfSafe(files, temp, PendingFile{kTemp + u"\\sub\\pvc2.zip", std::nullopt}).outcome,
      DeleteOutcome::Deleted);
}

TEST_F(Judgement, FileThatCannotBeOpenedIsRefused) {
  files.DenyAccess(kTemp + u"\\pvc1.zip");
  Verdict verdict = Judge(kTemp + u"\\pvc1.zip");
  EXPECT_EQ(verdict.kind, Kind::NotAllowed);
  EXPECT_EQ(verdict.description,
            u"\"" + kTemp + u"\\pvc1.zip\" cannot be opened (system error 5).");
}

TEST_F(Judgement, WithoutATemporaryDirectoryNothingIsAccepted) {
  environment.FailTempPath();
  Verdict verdict = Judge(kTemp + u"\\pvc1.zip");
  EXPECT_EQ(verdict.kind, Kind::NotAllowed);
  EXPECT_EQ(verdict.description,
            u"The temporary directory cannot be determined, so VelmoraHelper deletes nothing.");
}

TEST_F(Judgement, TemporaryDirectoryBehindAJunctionIsJudgedByItsFinalPath) {
  files.AddLink(u"C:\\TempLink", kTemp, true);
  environment.SetTempPath(u"C:\\TempLink\\");
  EXPECT_EQ(FinalTempDirectory(files, environment), kTemp);
  EXPECT_EQ(Judge(u"C:\\TempLink\\pvc1.zip").kind, Kind::Accepted);
  EXPECT_EQ(Judge(kTemp + u"\\pvc1.zip").finalPath, kTemp + u"\\pvc1.zip");
}

TEST(InsideDirectory, NeedsABackslashAfterTheDirectoryAndSomethingAfterIt) {
  EXPECT_TRUE(IsInsideDirectory(u"C:\\Temp\\a.zip", u"C:\\Temp"));
  EXPECT_TRUE(IsInsideDirectory(u"c:\\temp\\a.zip", u"C:\\Temp"));
  EXPECT_FALSE(IsInsideDirectory(u"C:\\Temp2\\a.zip", u"C:\\Temp"));
  EXPECT_FALSE(IsInsideDirectory(u"C:\\Temp\\", u"C:\\Temp"));
  EXPECT_FALSE(IsInsideDirectory(u"C:\\Temp", u"C:\\Temp"));
  EXPECT_FALSE(IsInsideDirectory(u"C:\\Temp\\a.zip", u""));
}

// Deletion judges what it opened once more: the path may lead elsewhere by now.
TEST_F(Judgement, DeletionChecksTheFileAgainAndDeletesOnlyRegularFilesInside) {
  const Text temp = FinalTempDirectory(files, environment);
  files.AddFile(kTemp + u"\\readonly.zip", "PK", platform::kAttrReadOnly);
  files.AddFile(kTemp + u"\\held.zip", "PK");
  files.Lock(kTemp + u"\\held.zip");
  files.AddFile(kTemp + u"\\stuck.zip", "PK");
  files.FailDeleteOf(kTemp + u"\\stuck.zip", platform::kErrorAccessDenied);
  struct Row {
    const char* name;
    Text path;
    DeleteOutcome outcome;
    uint32_t error;
    bool remains;
  } rows[] = {
      {"free", kTemp + u"\\pvc1.zip", DeleteOutcome::Deleted, 0, false},
      {"read-only", kTemp + u"\\readonly.zip", DeleteOutcome::Deleted, 0, false},
      {"already gone", kTemp + u"\\none.zip", DeleteOutcome::Gone, platform::kErrorFileNotFound,
       false},
      {"held open", kTemp + u"\\held.zip", DeleteOutcome::Held, platform::kErrorSharingViolation,
       true},
      {"cannot be deleted", kTemp + u"\\stuck.zip", DeleteOutcome::Failed,
       platform::kErrorAccessDenied, true},
      {"now a link", kTemp + u"\\outlink.zip", DeleteOutcome::Refused, 0, true},
      {"now a folder", kTemp + u"\\folder.zip", DeleteOutcome::Refused, 0, true},
      {"now through a junction", kTemp + u"\\junction\\keep.zip", DeleteOutcome::Refused, 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DeleteAttempt attempt = DeleteIfSafe(files, temp, PendingFile{row.path, std::nullopt});
    EXPECT_EQ(attempt.outcome, row.outcome);
    EXPECT_EQ(attempt.error, row.error);
    EXPECT_EQ(files.Exists(row.path), row.remains);
  }
  EXPECT_EQ(files.ContentString(u"C:\\Outside\\keep.zip"), "keep");
}

}  // namespace
}  // namespace velmora
