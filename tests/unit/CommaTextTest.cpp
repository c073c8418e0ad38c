#include <gtest/gtest.h>

#include <vector>

#include "request/CommaText.h"
#include "support/Errors.h"

namespace velmora {
namespace {

TEST(SplitCommaText, ItemsOfEntryValues) {
  struct Row {
    Text value;
    std::vector<Text> items;
  } rows[] = {
      {u"\"C:\\Temp\\anc.tmp\",\"File 1: main.c 1.4\"",
       {u"C:\\Temp\\anc.tmp", u"File 1: main.c 1.4"}},
      {u"C:\\Temp\\anc.tmp,File 1: main.c 1.4",
       {u"C:\\Temp\\anc.tmp", u"File", u"1:", u"main.c", u"1.4"}},
      {u"\"a \"\"b\"\" c\",\"t\"", {u"a \"b\" c", u"t"}},
      {u"\"p\",,\"t\"", {u"p", u"", u"t"}},
      {u"\"C:\\Temp\\anc.tmp\",", {u"C:\\Temp\\anc.tmp", u""}},
      {u"\"C:\\Temp\\anc.tmp\", ", {u"C:\\Temp\\anc.tmp"}},
      {u"", {}},
      {u"  \t ", {}},
      {u",a", {u"", u"a"}},
      {u"\"\"", {u""}},
      {u"\"ab\"cd", {u"ab", u"cd"}},  // text right after a closing quote starts an item
      {u"a\"b", {u"a\"b"}},           // a quote inside an unquoted run is ordinary
      {u"  a ,  b  ", {u"a", u"b"}},
      {u"\"open to the end", {u"open to the end"}},
      {u"\"ends in a quote\"\"", {u"ends in a quote\""}},
      {Text(u"a,b\0,c", 6), {u"a", u"b"}},
      {Text(u"a,\0b", 4), {u"a", u""}},  // the comma is the last character before the NUL
  };
  for (const auto& r : rows) EXPECT_EQ(SplitCommaText(r.value), r.items) << ToUtf8(r.value);
}

TEST(ListItem, MissingItemRaisesListIndexOutOfBounds) {
  std::vector<Text> items{u"only"};
  EXPECT_EQ(ListItem(items, 0), u"only");
  try {
    ListItem(items, 1);
    FAIL() << "no error";
  } catch (const EVelmora& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (1)");
  }
}

}  // namespace
}  // namespace velmora
