#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "unicode/TUcStringList.h"

namespace {

using Lines = std::vector<std::u16string>;

Lines Items(TUcStringList& list) {
  Lines out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Strings(i).ToU16());
  return out;
}

void ExpectError(const std::function<void()>& action, const char* message) {
  try {
    action();
    ADD_FAILURE() << "no error, expected " << message;
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST(TUcStringList, SortedListsFollowTheDuplicatesPolicy) {
  TUcStringList list;
  list.SetSorted(true);
  EXPECT_EQ(list.Add(u"b"), 0);
  EXPECT_EQ(list.Add(u"a"), 0);
  EXPECT_EQ(list.Add(u"B"), 1);  // dupIgnore: the first copy's index, nothing added
  EXPECT_EQ(Items(list), (Lines{u"a", u"b"}));
  list.SetDuplicates(dupError);
  ExpectError([&] { list.Add(u"A"); }, "String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  list.Add(u"a");
  EXPECT_EQ(list.Count(), 3);
  int index = -1;
  EXPECT_TRUE(list.Find(u"A", index));
  EXPECT_EQ(index, 0);
  EXPECT_EQ(list.IndexOf(u"B"), 2);
  EXPECT_EQ(list.IndexOf(u"c"), -1);
}

TEST(TUcStringList, SortedListsRefuseChangesThatBreakTheOrder) {
  TUcStringList list;
  list.SetText(u"c\r\na\r\nb\r\n");
  list.SetSorted(true);
  EXPECT_EQ(Items(list), (Lines{u"a", u"b", u"c"}));
  ExpectError([&] { list.Insert(0, u"z"); }, "Operation not allowed on sorted list");
  ExpectError([&] { list.SetStrings(0, u"z"); }, "Operation not allowed on sorted list");
  ExpectError([&] { list.Move(0, 2); }, "Operation not allowed on sorted list");
  ExpectError([&] { list.Exchange(0, 2); }, "Operation not allowed on sorted list");
  EXPECT_EQ(Items(list), (Lines{u"a", u"b", u"c"}));  // nothing lost, nothing moved
  ExpectError([&] { list.Strings(3); }, "List index out of bounds (3)");
  ExpectError([&] { list.Delete(-1); }, "List index out of bounds (-1)");
  ExpectError([&] { list.Exchange(1, 7); }, "List index out of bounds (7)");
  list.SetSorted(false);
  list.Move(0, 2);
  EXPECT_EQ(Items(list), (Lines{u"b", u"c", u"a"}));
}

// A new comparison puts a sorted list in order again, so searches keep finding every item.
TEST(TUcStringList, SwitchingCaseSensitivityResorts) {
  TUcStringList list;
  list.SetDuplicates(dupAccept);
  list.SetText(u"b\r\nB\r\na\r\nA\r\n");
  list.SetCaseSensitive(true);
  list.SetSorted(true);
  Lines sensitive = Items(list);
  EXPECT_EQ(sensitive, (Lines{u"a", u"A", u"b", u"B"}));  // the locale's order: lowercase first
  list.SetCaseSensitive(false);
  for (int i = 1; i < list.Count(); ++i)
    EXPECT_LE(list.Strings(i - 1).UpperCase(), list.Strings(i).UpperCase());
  list.SetCaseSensitive(true);
  for (const std::u16string& s : sensitive) {
    int index = -1;
    EXPECT_TRUE(list.Find(WideString(s), index));
    EXPECT_EQ(list.Strings(index).ToU16(), s);
  }
}

TEST(TUcStringList, RandomAddsStayOrderedAndFindable) {
  std::mt19937 random(5);
  const char16_t letters[] = u"aAbB\u00E9\u00C9\u1780z";
  TUcStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  for (int i = 0; i < 400; ++i) {
    std::u16string s;
    for (unsigned n = 1 + random() % 3; n > 0; --n) s += letters[random() % 8];
    list.Add(WideString(s));
  }
  for (int i = 1; i < list.Count(); ++i) {
    int index = -1;
    ASSERT_TRUE(list.Find(list.Strings(i), index));
    EXPECT_LE(index, i);
    EXPECT_EQ(list.Strings(index).UpperCase(), list.Strings(i).UpperCase());
    EXPECT_LE(list.Strings(i - 1).UpperCase(), list.Strings(i).UpperCase());
  }
}

TEST(TUcStringList, SortedNamesAreFoundByBinarySearch) {
  TUcStringList list;
  list.SetSorted(true);
  list.SetText(u"key=1\r\nalpha=2\r\nzed\r\n");
  EXPECT_EQ(list.IndexOfName(u"KEY"), 1);
  EXPECT_EQ(list.Values(u"alpha").ToU16(), u"2");
  EXPECT_EQ(list.IndexOfName(u"zed"), -1);
}

TEST(TUcStringList, CapacityGrowsInSteps) {
  TUcStringList list;
  std::vector<int> capacities = {list.Capacity()};
  for (int i = 0; i < 95; ++i) {
    list.Add(u"x");
    if (list.Capacity() != capacities.back()) capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{0, 4, 8, 12, 28, 44, 60, 76, 95}));
  list.SetCapacity(10);  // below the count: ignored
  EXPECT_EQ(list.Capacity(), 95);
  EXPECT_EQ(list.Count(), 95);
}

TEST(TUcStringList, AnUpdateBlockReportsOneChange) {
  TUcStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject*) { ++changing; };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add(u"x");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  changing = changed = 0;
  list.BeginUpdate();
  list.Add(u"a");
  list.Add(u"b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  changing = changed = 0;
  list.SetText(u"1\r\n2\r\n");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
}

}  // namespace
