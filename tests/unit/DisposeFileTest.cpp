#include <gtest/gtest.h>

#include "disposal/DisposeFile.h"
#include "platform/memory/MemoryPlatform.h"

namespace velmora {
namespace {

using platform::ComCallResult;
using platform::MemoryFileSystem;

const Text kClsid = u"{3F990032-0766-453D-AC59-3A33A8722940}";

bool InTemp(const Text& path) {
  return StartsWith(UpperAscii(path), u"C:\\TEMP\\");
}

TFileInfo Side(Text fromPvcs, Text forBc, bool readOnly, bool useHelper) {
  return {fromPvcs, u"main.c", u" Rev 1.4", forBc, readOnly, useHelper};
}

TEST(DisposeFile, EachDecisionWithItsLineAndWhatIsLeftOnDisk) {
  struct Row {
    const char* name;
    TFileInfo info;
    void (*setUp)(MemoryFileSystem&);
    ComCallResult server;
    Text line;
    std::vector<Text> filesAfter;
    size_t serverCalls;
  } rows[] = {
      {"copy moved back to the free PVCS name",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.c", true, false),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Temp\\pvc4711.c"); },
       {},
       u"\"C:\\Temp\\pvc4711.c\" is recognized as temporary file - deletion managed by PVCS / "
       u"Dimensions",
       {u"C:\\Temp\\pvc4711.tmp"},
       0},
      {"PVCS name taken again: the copy is deleted now",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.c", true, false),
       [](MemoryFileSystem& f) {
         f.AddFile(u"C:\\Temp\\pvc4711.c");
         f.AddFile(u"C:\\Temp\\pvc4711.tmp");
       },
       {},
       u"\"C:\\Temp\\pvc4711.c\" is recognized as temporary file - delete now",
       {u"C:\\Temp\\pvc4711.tmp"},
       0},
      {"read-only copy deleted after a failed move back",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.c", true, false),
       [](MemoryFileSystem& f) {
         f.AddFile(u"C:\\Temp\\pvc4711.c", "", platform::kAttrReadOnly);
         f.FailMoveOf(u"C:\\Temp\\pvc4711.c");
       },
       {},
       u"\"C:\\Temp\\pvc4711.c\" is recognized as temporary file - delete now",
       {},
       0},
      {"copy already gone: delete now, silently",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.c", true, false),
       [](MemoryFileSystem&) {},
       {},
       u"\"C:\\Temp\\pvc4711.c\" is recognized as temporary file - delete now",
       {},
       0},
      {"equal names still go through the move",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.tmp", true, false),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Temp\\pvc4711.tmp"); },
       {},
       u"\"C:\\Temp\\pvc4711.tmp\" is recognized as temporary file - deletion managed by PVCS / "
       u"Dimensions",
       {u"C:\\Temp\\pvc4711.tmp"},
       0},
      {"equal names whose move fails are deleted",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.tmp", true, false),
       [](MemoryFileSystem& f) {
         f.AddFile(u"C:\\Temp\\pvc4711.tmp");
         f.FailMoveOf(u"C:\\Temp\\pvc4711.tmp");
       },
       {},
       u"\"C:\\Temp\\pvc4711.tmp\" is recognized as temporary file - delete now",
       {},
       0},
      {"archive handed to the server",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.zip", true, true),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Temp\\pvc4711.zip"); },
       {},
       u"\"C:\\Temp\\pvc4711.zip\" is deleted after Beyond Compare is closed",
       {u"C:\\Temp\\pvc4711.zip"},
       1},
      {"server not registered: the file stays",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.zip", true, true),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Temp\\pvc4711.zip"); },
       {ComCallResult::Stage::CreateFailed, int32_t(0x80040154), u""},
       u"Failed to add the temp file \"C:\\Temp\\pvc4711.zip\" to VelmoraHelper COM-Server "
       u"(EOleSysError:Class not registered, ClassID: " +
           kClsid + u")",
       {u"C:\\Temp\\pvc4711.zip"},
       1},
      {"server lacks the interface",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.zip", true, true),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Temp\\pvc4711.zip"); },
       {ComCallResult::Stage::InterfaceMissing, int32_t(0x80004002), u""},
       u"Failed to add the temp file \"C:\\Temp\\pvc4711.zip\" to VelmoraHelper COM-Server "
       u"(EIntfCastError:Interface not supported)",
       {u"C:\\Temp\\pvc4711.zip"},
       1},
      {"server refuses the file",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.zip", true, true),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Temp\\pvc4711.zip"); },
       {ComCallResult::Stage::CallFailed, int32_t(0x80004005), u"Not a temporary file"},
       u"Failed to add the temp file \"C:\\Temp\\pvc4711.zip\" to VelmoraHelper COM-Server "
       u"(EOleException:Not a temporary file)",
       {u"C:\\Temp\\pvc4711.zip"},
       1},
      {"rename failed earlier: the PVCS file itself goes to the server",
       Side(u"C:\\Temp\\pvc4711.tmp", u"C:\\Temp\\pvc4711.tmp", true, true),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Temp\\pvc4711.tmp"); },
       {},
       u"\"C:\\Temp\\pvc4711.tmp\" is deleted after Beyond Compare is closed",
       {u"C:\\Temp\\pvc4711.tmp"},
       1},
      {"outside the temporary directory, whatever UseHelper says",
       Side(u"C:\\Work\\lib.zip", u"C:\\Work\\lib.zip", true, true),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Work\\lib.zip"); },
       {},
       u"\"C:\\Work\\lib.zip\" is recognized as 'persistent file' - no delete",
       {u"C:\\Work\\lib.zip"},
       0},
      {"working file outside the temporary directory",
       Side(u"C:\\Work\\main.c", u"C:\\Work\\main.c", false, false),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Work\\main.c"); },
       {},
       u"\"C:\\Work\\main.c\" is recognized as 'persistent file' - no delete",
       {u"C:\\Work\\main.c"},
       0},
      // The user's own data is never moved, deleted or handed over, wherever it lies.
      {"working file inside the temporary directory, PVCS name taken",
       Side(u"C:\\Temp\\main.tmp", u"C:\\Temp\\main.c", false, false),
       [](MemoryFileSystem& f) {
         f.AddFile(u"C:\\Temp\\main.c");
         f.AddFile(u"C:\\Temp\\main.tmp");
       },
       {},
       u"\"C:\\Temp\\main.c\" is recognized as 'persistent file' - no delete",
       {u"C:\\Temp\\main.c", u"C:\\Temp\\main.tmp"},
       0},
      {"working archive inside the temporary directory",
       Side(u"C:\\Temp\\lib.zip", u"C:\\Temp\\lib.zip", false, true),
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\Temp\\lib.zip"); },
       {},
       u"\"C:\\Temp\\lib.zip\" is recognized as 'persistent file' - no delete",
       {u"C:\\Temp\\lib.zip"},
       0},
  };
  for (const auto& r : rows) {
    platform::MemoryPlatform m;
    r.setUp(m.files);
    m.com.result = r.server;
    EXPECT_EQ(DisposeFile(m.files, m.com, r.info, InTemp), r.line) << r.name;
    EXPECT_EQ(m.files.Files(), r.filesAfter) << r.name;
    ASSERT_EQ(m.com.calls.size(), r.serverCalls) << r.name;
    for (const auto& call : m.com.calls) EXPECT_EQ(call.path, r.info.FileForBC) << r.name;
  }
}

// A file Velmora moved goes back to its PVCS name wherever it lies; outside the temporary
// directory it is never deleted nor handed over, also when that name is taken.
TEST(DisposeFile, MovedFileOutsideTheTemporaryDirectoryGoesBack) {
  struct Row {
    const char* name;
    Text fromPvcs, forBc;
    bool useHelper;
    void (*setUp)(MemoryFileSystem&);
    Text line;
    std::vector<Text> filesAfter;
  } rows[] = {
      {"PVCS file outside the temporary directory",
       u"C:\\work\\pvc1.tmp",
       u"C:\\work\\pvc1.c",
       false,
       [](MemoryFileSystem&) {},
       u"\"C:\\work\\pvc1.c\" is recognized as 'persistent file' - moved back to "
       u"\"C:\\work\\pvc1.tmp\"",
       {u"C:\\work\\pvc1.tmp"}},
      {"the comparison program itself",
       u"C:\\bc\\BC2.exe",
       u"C:\\bc\\BC2.bak",
       true,
       [](MemoryFileSystem&) {},
       u"\"C:\\bc\\BC2.bak\" is recognized as 'persistent file' - moved back to "
       u"\"C:\\bc\\BC2.exe\"",
       {u"C:\\bc\\BC2.exe"}},
      {"extension differing in letter case only",
       u"C:\\Work\\main.c",
       u"C:\\Work\\main (1).C",
       false,
       [](MemoryFileSystem&) {},
       u"\"C:\\Work\\main (1).C\" is recognized as 'persistent file' - moved back to "
       u"\"C:\\Work\\main.c\"",
       {u"C:\\Work\\main.c"}},
      {"PVCS name taken again: the copy stays",
       u"C:\\work\\data.tmp",
       u"C:\\work\\data.c",
       false,
       [](MemoryFileSystem& f) { f.AddFile(u"C:\\work\\data.tmp", "other"); },
       u"\"C:\\work\\data.c\" is recognized as 'persistent file' - cannot be moved back to "
       u"\"C:\\work\\data.tmp\", no delete",
       {u"C:\\work\\data.c", u"C:\\work\\data.tmp"}},
  };
  for (const auto& r : rows) {
    platform::MemoryPlatform m;
    m.files.AddFile(r.forBc, "revision");
    r.setUp(m.files);
    TFileInfo info = Side(r.fromPvcs, r.forBc, true, r.useHelper);
    info.Moved = true;
    EXPECT_EQ(DisposeFile(m.files, m.com, info, InTemp), r.line) << r.name;
    EXPECT_EQ(m.files.Files(), r.filesAfter) << r.name;
    EXPECT_EQ(m.files.ContentString(r.filesAfter[0] == r.forBc ? r.forBc : r.fromPvcs), "revision")
        << r.name;
    EXPECT_TRUE(m.com.calls.empty()) << r.name;
  }
}

TEST(DisposeFile, UnregisteredServerGivesEachSideItsOwnLineInOrder) {
  platform::MemoryPlatform m;
  m.com.result = {ComCallResult::Stage::CreateFailed, int32_t(0x80040154), u""};
  TFileInfo left = Side(u"C:\\Temp\\pvc1.tmp", u"C:\\Temp\\pvc1.zip", true, true);
  TFileInfo right = Side(u"C:\\Temp\\pvc2.tmp", u"C:\\Temp\\pvc2.zip", true, true);
  std::vector<Text> lines{DisposeFile(m.files, m.com, left, InTemp),
                          DisposeFile(m.files, m.com, right, InTemp)};
  const Text reason = u"(EOleSysError:Class not registered, ClassID: " + kClsid + u")";
  EXPECT_EQ(lines, (std::vector<Text>{
                       u"Failed to add the temp file \"C:\\Temp\\pvc1.zip\" to VelmoraHelper "
                       u"COM-Server " +
                           reason,
                       u"Failed to add the temp file \"C:\\Temp\\pvc2.zip\" to VelmoraHelper "
                       u"COM-Server " +
                           reason}));
  ASSERT_EQ(m.com.calls.size(), 2u);
  EXPECT_EQ(m.com.calls[0].path, u"C:\\Temp\\pvc1.zip");
  EXPECT_EQ(m.com.calls[1].path, u"C:\\Temp\\pvc2.zip");
}

}  // namespace
}  // namespace velmora
