#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CodePageScope.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/TWideComponentHelper.h"
#include "unicode/UcSyncedWideString.h"
#include "unicode/WideException.h"

namespace {

int CompareInts(const void* item, const void* target) {
  auto a = reinterpret_cast<std::intptr_t>(item), b = reinterpret_cast<std::intptr_t>(target);
  return a < b ? -1 : a > b ? 1 : 0;
}

TEST(FindSortedListByTarget, FindsTheFirstEqualOrTheInsertionPoint) {
  TList list;
  int index = -1;
  EXPECT_FALSE(FindSortedListByTarget(&list, CompareInts, reinterpret_cast<void*>(5), index));
  EXPECT_EQ(index, 0);
  for (std::intptr_t v : {1, 3, 3, 3, 7}) list.Add(reinterpret_cast<void*>(v));
  EXPECT_TRUE(FindSortedListByTarget(&list, CompareInts, reinterpret_cast<void*>(3), index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(FindSortedListByTarget(&list, CompareInts, reinterpret_cast<void*>(9), index));
  EXPECT_EQ(index, 5);
  EXPECT_FALSE(FindSortedListByTarget(&list, CompareInts, reinterpret_cast<void*>(4), index));
  EXPECT_EQ(index, 4);
}

// Addresses that agree in their low 32 bits are still told apart and ordered.
TEST(TWideComponentHelper, OrdersByTheWholeAddress) {
  TComponent component(nullptr);
  TComponentList list(false);
  auto* helper = new TWideComponentHelper(&component, &list);
  auto address = reinterpret_cast<std::uintptr_t>(&component);
  ASSERT_GT(address, std::uintptr_t{1} << 32);
  auto above = reinterpret_cast<const void*>(address + (std::uintptr_t{1} << 32));
  auto below = reinterpret_cast<const void*>(address - (std::uintptr_t{1} << 32));
  EXPECT_EQ(CompareComponentHelperToTarget(helper, &component), 0);
  EXPECT_EQ(CompareComponentHelperToTarget(helper, above), -1);
  EXPECT_EQ(CompareComponentHelperToTarget(helper, below), 1);
  delete helper;
}

TEST(TWideComponentHelper, HelpersAreFoundAndLeaveWithTheirComponent) {
  TComponentList list(true);
  std::vector<TComponent*> components;
  for (int i = 0; i < 5; ++i) components.push_back(new TComponent(nullptr));
  for (TComponent* c : components) new TWideComponentHelper(c, &list);
  ASSERT_EQ(list.Count(), 5);
  std::less<const void*> less;
  for (int i = 1; i < list.Count(); ++i)
    EXPECT_TRUE(less(static_cast<TWideComponentHelper*>(list.Items(i - 1))->Component(),
                     static_cast<TWideComponentHelper*>(list.Items(i))->Component()));
  for (TComponent* c : components) {
    TWideComponentHelper* helper = FindWideComponentHelper(&list, c);
    ASSERT_NE(helper, nullptr);
    EXPECT_EQ(helper->Component(), c);
  }
  TComponent* gone = components[2];
  delete gone;
  EXPECT_EQ(list.Count(), 4);
  TComponent stranger(nullptr);
  EXPECT_EQ(FindWideComponentHelper(&list, &stranger), nullptr);
  for (TComponent* c : components)
    if (c != gone) delete c;
  EXPECT_EQ(list.Count(), 0);
  try {
    TWideComponentHelper plain(nullptr);
    ADD_FAILURE();
  } catch (const EUcInternalError& e) {
    EXPECT_STREQ(e.what(), "UC Internal Error: TWideComponentHelper.Create should never be encountered.");
  }
}

// A Khmer caption looks like "???" in 1252; the 8-bit property is made to change all the same.
TEST(UcSyncedWideString, ChangesTheEightBitValueEvenWhenItLooksTheSame) {
  CodePageScope scope(1252);
  AnsiString ansi = "???";
  WideString wide;
  std::vector<std::string> calls;
  auto setter = [&](const AnsiString& value) {
    calls.emplace_back(value.c_str());
    ansi = value;
  };
  SetSyncedWideString(u"\u1780\u1781\u1782", wide, ansi, setter);
  EXPECT_EQ(calls, (std::vector<std::string>{"", "???"}));
  EXPECT_EQ(GetSyncedWideString(wide, ansi).ToU16(), u"\u1780\u1781\u1782");
  calls.clear();
  SetSyncedWideString(u"\u1780\u1781\u1782", wide, ansi, setter);
  EXPECT_TRUE(calls.empty());
  SetSyncedWideString(u"caf\u00E9", wide, ansi, setter);
  EXPECT_EQ(calls, (std::vector<std::string>{"caf\xE9"}));
  ansi = "direct";
  EXPECT_EQ(GetSyncedWideString(wide, ansi).ToU16(), u"direct");
}

}  // namespace
