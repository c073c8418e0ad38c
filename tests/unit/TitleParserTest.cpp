#include <gtest/gtest.h>

#include "platform/memory/MemoryFileSystem.h"
#include "request/TitleParser.h"

namespace velmora {
namespace {

struct Parsed {
  bool result;
  Text caption, version;
};

Parsed Parse(platform::IFileSystem& files, const Text& title) {
  Parsed p{false, title, Text()};
  p.result = ParseTitle(files, title, p.caption, p.version);
  return p;
}

TEST(ParseTitle, TitleForms) {
  platform::MemoryFileSystem files;  // no file named in a title exists
  const Text kUnchanged = u"\x1";    // stands for the whole title
  struct Row {
    Text title, caption, version;
    bool result;
  } rows[] = {
      {u"File 1: main.c 1.4", u"main.c", u" (Rev. 1.4)", true},
      {u"File 2: main.c REL_2_0", u"main.c", u" (Label REL_2_0)", true},
      {u"File 1: main.c 7", u"main.c", u" (Label 7)", true},
      {u"File 1: main.c", u"main.c", u"", true},
      {u"File 1: Makefile 1.3", u"Makefile 1.3", u"", true},
      {u"File 1: Makefile", kUnchanged, u"", false},
      {u"File 1: my.old file.c 1.4", u"my.old", u" (Label file.c 1.4)", true},
      {u"File 1: main.c   1.4", u"main.c", u" (Label   1.4)", true},
      {u"file 1: main.c 1.4", kUnchanged, u"", false},
      {u"File 10: main.c", kUnchanged, u"", false},
      {u"C:\\work\\main.c;1.4 - Derivative", u"C:\\work\\main.c", u" (Rev. 1.4)", true},
      {u"C:\\work\\main.c - Ancestor", kUnchanged, u"", false},
      {u"main.c;REL_2", u"main.c", u";REL_2", true},
      {u"main.c;7", u"main.c", u" (Rev. 7)", true},
      {u"a;b;c", u"a;b", u";c", true},
      {u"", u"", u"", false},
      // Beyond the worked examples:
      {u"Header File 3: x.h 2.1.1", u"x.h", u" (Rev. 2.1.1)", true},  // found anywhere
      {u"File 1: main.c\t1.4", u"main.c", u" (Rev. 1.4)", true},
      {u"File 1: main.c 1.4\n", u"main.c", u" (Label 1.4\n)", true},  // \Z only at the very end
      {u"x;1.2 - Ancestor - Derivative", u"x", u";1.2 - Ancestor", true},
      {u"a;1.2 - Ancestor trailing", u"a", u" (Rev. 1.2)", true},  // text after the suffix dropped
      {u"main.c;", kUnchanged, u"", false},
      {u"main.c;1.", u"main.c", u";1.", true},
  };
  for (const auto& r : rows) {
    Parsed p = Parse(files, r.title);
    EXPECT_EQ(p.result, r.result) << ToUtf8(r.title);
    EXPECT_EQ(p.caption, r.caption == kUnchanged ? r.title : r.caption) << ToUtf8(r.title);
    EXPECT_EQ(p.version, r.version) << ToUtf8(r.title);
  }
}

TEST(ParseTitle, ExistingFilesAreRecognisedWithoutVersion) {
  platform::MemoryFileSystem files;
  files.AddFile(u"C:\\work\\main.c");
  files.AddFile(u"C:\\work\\a;b");
  files.SetCurrentDir(u"C:\\work");
  struct Row {
    Text title, caption;
  } rows[] = {
      {u"C:\\work\\main.c", u"C:\\work\\main.c"},
      {u"main.c", u"main.c"},
      {u"C:\\work\\main.c - Ancestor", u"C:\\work\\main.c"},
      {u"C:\\work\\a;b - Derivative", u"C:\\work\\a;b"},  // existence before the ";" split
      {u"a;b", u"a;b"},
  };
  for (const auto& r : rows) {
    Parsed p = Parse(files, r.title);
    EXPECT_TRUE(p.result) << ToUtf8(r.title);
    EXPECT_EQ(p.caption, r.caption) << ToUtf8(r.title);
    EXPECT_EQ(p.version, u"") << ToUtf8(r.title);
  }
}

TEST(IsAbsolutePath, UncOrDriveRooted) {
  struct Row {
    Text path;
    bool absolute;
  } rows[] = {
      {u"\\\\server\\share\\a.c", true},
      {u"C:\\a.c", true},
      {u"a:\\b", true},
      {u"abc:\\x", true},
      {u":\\a", false},
      {u"C:a.c", false},
      {u"", false},
      {u"\\a.c", false},
      {u"x:\\y:\\z", true},
  };
  for (const auto& r : rows) EXPECT_EQ(IsAbsolutePath(r.path), r.absolute) << ToUtf8(r.path);
}

}  // namespace
}  // namespace velmora
