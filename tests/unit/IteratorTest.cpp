#include <gtest/gtest.h>

#include <vector>

#include "support/Iterator.h"

namespace velmora {
namespace {

std::vector<Text> Walk(TStringEnumerator& e) {
  std::vector<Text> out;
  for (const Text& t : e) out.push_back(t);
  return out;
}

struct Row {
  Text csv, delimiter;
  int32_t bundle;
  std::vector<Text> items;
};

TEST(StringEnumerator, PlainTokens) {
  const Row rows[] = {
      {u"", u";", 1, {}},
      {u";", u";", 1, {}},
      {u"a", u";", 1, {u"a"}},
      {u"a;b", u";", 1, {u"a", u"b"}},
      {u";a;b", u";", 1, {u"a", u"b"}},
      {u";;a", u";", 1, {u"", u"a"}},
      {u"a;;b", u";", 1, {u"a", u"", u"b"}},
      {u"a;", u";", 1, {u"a"}},
      {u"a;;", u";", 1, {u"a", u""}},
      {u";;", u";", 1, {u""}},
      {u"a; b", u";", 1, {u"a", u" b"}},
      {u"a::b", u"::", 1, {u"a", u"b"}},
      {u"a:b", u"::", 1, {u"a:b"}},
      {u"a:::b", u"::", 1, {u"a", u":b"}},
      {u"a;b", u"", 1, {u"a;b"}},
      {u"", u"", 1, {}},
      {u"a;b", u";", 0, {u"a", u"b"}},
      {u"a;b", u";", -5, {u"a", u"b"}},
      {Text(u"a;b\0;c", 6), u";", 1, {u"a", u"b"}},
      {u"a;b", Text(u";\0b", 3), 1, {u"a", u"b"}},
      {u"*.zip;*.jar;*.ear;*.war;*.bcpkg",
       u";",
       1,
       {u"*.zip", u"*.jar", u"*.ear", u"*.war", u"*.bcpkg"}},
  };
  for (const Row& r : rows) {
    auto e = TStringEnumerator::Iterate(r.csv, r.delimiter, r.bundle);
    EXPECT_EQ(e.GetCount(), static_cast<int32_t>(r.items.size())) << ToUtf8(r.csv);
    EXPECT_EQ(Walk(e), r.items) << ToUtf8(r.csv);
    EXPECT_EQ(e.GetItemIndex(), -1);
  }
}

TEST(StringEnumerator, GroupedItems) {
  const Row rows[] = {
      {u"a;b;c;d;e", u";", 2, {u"a;b", u"c;d", u"e"}},
      {u"a;;b;c", u";", 2, {u"a;", u"b;c"}},
      {u"a;b;;c", u";", 2, {u"a;b", u"c"}},
      {u"a;b;;;c", u";", 2, {u"a;b", u"", u"c"}},
      {u"", u";", 2, {}},
      {u"a;b;c", u";", 3, {u"a;b;c"}},
      {u"a::b::c", u"::", 2, {u"a::b", u"c"}},
  };
  for (const Row& r : rows) {
    auto e = TStringEnumerator::Iterate(r.csv, r.delimiter, r.bundle);
    EXPECT_EQ(e.GetCount(), static_cast<int32_t>(r.items.size())) << ToUtf8(r.csv);
    EXPECT_EQ(Walk(e), r.items) << ToUtf8(r.csv);
  }
}

TEST(StringEnumerator, PlainRestartsGroupedRunsOnce) {
  auto plain = TStringEnumerator::Iterate(u"a;b", u";", 1);
  EXPECT_EQ(Walk(plain), (std::vector<Text>{u"a", u"b"}));
  EXPECT_EQ(Walk(plain), (std::vector<Text>{u"a", u"b"}));

  auto grouped = TStringEnumerator::Iterate(u"a;b;c", u";", 2);
  TStringEnumerator& e = grouped.GetEnumerator();
  EXPECT_EQ(&e, &grouped);
  ASSERT_TRUE(e.MoveNext());
  EXPECT_EQ(e.Current(), u"a;b");
  EXPECT_EQ(e.GetItemIndex(), 0);
  ASSERT_TRUE(e.MoveNext());
  EXPECT_EQ(e.Current(), u"c");
  EXPECT_FALSE(e.MoveNext());
  EXPECT_FALSE(e.MoveNext());
  EXPECT_EQ(e.GetItemIndex(), 3);
  EXPECT_TRUE(Walk(e).empty());
  EXPECT_EQ(e.Current(), u"");  // outside a run: empty, never out of bounds
}

TEST(StringEnumerator, LeavingALoopEarly) {
  std::vector<Text> seen;
  for (const Text& t : TStringEnumerator::Iterate(u"x;y;z", u";", 1)) {
    seen.push_back(t);
    if (t == u"y") break;
  }
  EXPECT_EQ(seen, (std::vector<Text>{u"x", u"y"}));
}

class ThreeItems : public TForInEnumerator {
 public:
  explicit ThreeItems(bool Backward) { Create(Backward); }
  int32_t GetCount() const override { return 3; }
};

TEST(ForInEnumerator, ForwardAndBackward) {
  struct Dir {
    bool backward;
    std::vector<int32_t> indexes;
  } dirs[] = {{false, {0, 1, 2}}, {true, {2, 1, 0}}};
  for (const Dir& d : dirs) {
    ThreeItems e(d.backward);
    EXPECT_EQ(e.GetItemIndex(), d.backward ? 3 : -1);
    std::vector<int32_t> seen;
    while (e.MoveNext()) seen.push_back(e.GetItemIndex());
    EXPECT_EQ(seen, d.indexes);
    EXPECT_FALSE(e.MoveNext());
  }
}

}  // namespace
}  // namespace velmora
