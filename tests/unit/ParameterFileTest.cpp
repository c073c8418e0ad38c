#include <gtest/gtest.h>

#include <string>

#include "platform/memory/MemoryPlatform.h"
#include "request/ParameterFile.h"
#include "support/Errors.h"

namespace velmora {
namespace {

class ParameterFileTest : public ::testing::Test {
 protected:
  Text Value(const Text& key) {
    return GetNamedValue(mem.locale, ReadTextLines(mem.files, mem.locale, u"C:\\p\\params.txt"),
                         key);
  }
  Text OpenError(const Text& path) {
    try {
      ReadTextLines(mem.files, mem.locale, path);
    } catch (const EVelmora& e) {
      return e.Message();
    }
    return u"no error";
  }
  platform::MemoryPlatform mem;
};

TEST_F(ParameterFileTest, GetNamedValueFindsTheFirstLineByLocaleCase) {
  mem.files.AddFile(u"C:\\p\\params.txt",
                    "[Compare]\r\n"
                    "Derivatives=d1\r\n"
                    "ANCESTOR =blank before equals\r\n"
                    "ancestor=a1=x\r\n"
                    "ANCESTOR=a2\r\n"
                    "\xC4rger=umlaut\r\n"
                    "=no name\r\n");
  struct Row {
    Text key, value;
  } rows[] = {
      {u"DERIVATIVES", u"d1"},
      {u"ANCESTOR", u"a1=x"},  // first match wins, the value keeps later "="
      {u"ANCESTOR ", u"blank before equals"},
      {u"\u00E4RGER", u"umlaut"},  // the locale folds beyond ASCII
      {u"", u"no name"},
      {u"MISSING", u""},
      {u"[Compare]", u""},  // a line without "=" is no entry
  };
  for (const auto& r : rows) EXPECT_EQ(Value(r.key), r.value) << ToUtf8(r.key);
}

TEST_F(ParameterFileTest, EncodingsAndLineEndsReadTheSame) {
  using namespace std::string_literals;
  const std::string files[] = {
      "ANCESTOR=\xE4\r\nDERIVATIVES=d\r\n",
      "ANCESTOR=\xE4\nDERIVATIVES=d\n",
      "ANCESTOR=\xE4\rDERIVATIVES=d",
      "\xEF\xBB\xBF"
      "ANCESTOR=\xC3\xA4\r\nDERIVATIVES=d\r\n",
      "\xFF\xFE"
      "A\0N\0C\0E\0S\0T\0O\0R\0=\0\xE4\0\n\0D\0E\0R\0I\0V\0A\0T\0I\0V\0E\0S\0=\0d\0"s,
      "\xFE\xFF"
      "\0A\0N\0C\0E\0S\0T\0O\0R\0=\0\xE4\0\r\0D\0E\0R\0I\0V\0A\0T\0I\0V\0E\0S\0=\0d"s,
  };
  for (const auto& content : files) {
    mem.files.AddFile(u"C:\\p\\params.txt", content);
    EXPECT_EQ(Value(u"ANCESTOR"), u"\u00E4");
    EXPECT_EQ(Value(u"DERIVATIVES"), u"d");
  }
}

TEST_F(ParameterFileTest, UnreadableFileRaisesWithFullPathAndSystemText) {
  mem.files.AddFile(u"C:\\p\\busy.txt", "ANCESTOR=a");
  mem.files.LockForWriting(u"C:\\p\\busy.txt");
  mem.files.AddDirectory(u"C:\\p\\dir");
  mem.files.SetCurrentDir(u"C:\\p");
  struct Row {
    Text path, message;
  } rows[] = {
      {u"busy.txt",
       u"Cannot open file \"C:\\p\\busy.txt\". The process cannot access the file because it is "
       u"being used by another process"},
      {u"C:\\p\\none.txt",
       u"Cannot open file \"C:\\p\\none.txt\". The system cannot find the file specified"},
      {u"..\\p\\sub\\none.txt",
       u"Cannot open file \"C:\\p\\sub\\none.txt\". The system cannot find the path specified"},
      {u"dir", u"Cannot open file \"C:\\p\\dir\". Access is denied"},
  };
  for (const auto& r : rows) EXPECT_EQ(OpenError(r.path), r.message) << ToUtf8(r.path);
}

}  // namespace
}  // namespace velmora
