#include <gtest/gtest.h>

#include "platform/memory/MemoryFileSystem.h"
#include "support/FileExists.h"

namespace velmora {
namespace {

TEST(FileExists, AttributesThenSearchFallback) {
  platform::MemoryFileSystem files;
  files.AddFile(u"C:\\work\\main.c");
  files.AddFile(u"C:\\work\\locked.c");
  files.Lock(u"C:\\work\\locked.c");
  files.AddFile(u"C:\\work\\denied.c");
  files.DenyAccess(u"C:\\work\\denied.c");
  files.AddDirectory(u"C:\\work\\denied dir");
  files.DenyAccess(u"C:\\work\\denied dir");
  files.SetCurrentDir(u"C:\\work");
  struct Row {
    Text path;
    bool exists;
  } rows[] = {
      {u"C:\\work\\main.c", true},
      {u"C:\\WORK\\MAIN.C", true},
      {u"main.c", true},
      {u"C:\\work", false},              // a folder
      {u"C:\\work\\other.c", false},     // file not found
      {u"C:\\none\\main.c", false},      // path not found
      {u"C:\\work\\ma|n.c", false},      // invalid name
      {u"C:\\work\\locked.c", true},     // attributes readable despite the lock
      {u"C:\\work\\denied.c", true},     // access denied: the search finds a file
      {u"C:\\work\\denied dir", false},  // access denied: the search finds a folder
      {u"", false},
  };
  for (const auto& r : rows) EXPECT_EQ(FileExists(files, r.path), r.exists) << ToUtf8(r.path);
}

}  // namespace
}  // namespace velmora
