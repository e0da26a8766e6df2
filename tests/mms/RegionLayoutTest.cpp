// The page layout: region defaults, lookups by id, hit tests and the re-stacking of moved regions.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "mms/TMmsLayout.h"

namespace {

struct Rect {
  int left, top, width, height;
};

void ExpectRegion(const TMmsLayout& layout, const std::string& id, Rect r) {
  SCOPED_TRACE(id);
  EXPECT_EQ(layout.GetRegionLeft(id), r.left);
  EXPECT_EQ(layout.GetRegionTop(id), r.top);
  EXPECT_EQ(layout.GetRegionWidth(id), r.width);
  EXPECT_EQ(layout.GetRegionHeight(id), r.height);
}

TEST(RegionLayout, AddRegionGivesEachIdItsDefaults) {
  struct Case {
    std::string id;
    int width, height, left, top;
    Rect expected;
  } cases[] = {
      // The text sits in the band at 123 whatever top the caller gives.
      {"Text", 120, 28, 4, -1, {4, 123, 120, 28}},
      {"Text", 120, 28, 4, 7, {4, 123, 120, 28}},
      // The picture starts at the page top and may reach down to 305 at most.
      {"Img", 120, 400, 4, -1, {4, 0, 120, 305}},
      {"Img", 120, 305, 4, -1, {4, 0, 120, 305}},
      {"Img", -1, 50, -1, 77, {0, 0, 128, 50}},
      // The unused slots take the page size in both directions.
      {"Video", -1, -1, -1, -1, {0, 0, 128, 128}},
      {"Ref", 30, 40, 5, 9, {5, 0, 30, 40}},
  };
  for (const Case& c : cases) {
    TMmsLayout layout;
    EXPECT_EQ(layout.AddRegion(3, c.id, c.width, c.height, c.left, c.top, 7), 0);
    ExpectRegion(layout, c.id, c.expected);
    EXPECT_EQ(layout.GetRegion(0)->Fit, 7);
  }
}

TEST(RegionLayout, TheFirstRegionOfAnIdGovernsEveryLookup) {
  TMmsLayout layout;
  EXPECT_EQ(layout.HasRegion("Text"), 0);
  EXPECT_EQ(layout.IndexOfRegion("Text"), 0);  // the count when there is none
  EXPECT_EQ(layout.GetRegionHeight("Text"), TMmsLayout::kNoRegion);
  EXPECT_EQ(layout.SetRegionWidth("Text", 5), TMmsLayout::kNoRegion);

  layout.AddRegion(0, "Img", 120, 120, 4, -1, 0);
  layout.AddRegion(0, "Text", 120, 28, 4, -1, 0);
  layout.AddRegion(1, "Text", 120, 42, 4, -1, 0);
  EXPECT_EQ(layout.GetRegionCount(), 3);
  EXPECT_EQ(layout.IndexOfRegion("Text"), 1);
  EXPECT_EQ(layout.GetRegionHeight("Text"), 28);
  EXPECT_EQ(layout.SetRegionHeight("Text", 56), 0);
  EXPECT_EQ(layout.SetRegionWidth("Text", 60), 0);
  EXPECT_EQ(layout.GetRegion(1)->Height, 56);
  EXPECT_EQ(layout.GetRegion(1)->Width, 60);
  EXPECT_EQ(layout.GetRegion(2)->Height, 42);
  // Ids are compared exactly.
  EXPECT_EQ(layout.HasRegion("text"), 0);
  EXPECT_EQ(layout.GetRegion(3), nullptr);
  EXPECT_EQ(layout.GetRegion(-1), nullptr);
}

TEST(RegionLayout, RegionContainsIncludesTheEdges) {
  TMmsLayout layout;
  layout.AddRegion(0, "Text", 120, 28, 4, -1, 0);  // x 4..124, y 123..151
  struct Case {
    int x, y, expected;
  } cases[] = {
      {4, 123, 1},    {124, 151, 1}, {124, 130, 1}, {50, 151, 1},
      {125, 130, -9}, {50, 152, -9}, {3, 130, -9},  {50, 122, -9},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(layout.RegionContains("Text", c.x, c.y), c.expected) << c.x << "," << c.y;
  }
  EXPECT_EQ(layout.RegionContains("Img", 50, 50), TMmsLayout::kNoRegion);
}

TEST(RegionLayout, HitTestOfARegionFarOffThePageDoesNotWrapAround) {
  TMmsLayout layout;
  layout.NewRegion(INT_MAX, 10, INT_MAX - 5, 0, 0, "Img");
  EXPECT_EQ(layout.RegionContains("Img", INT_MAX, 5), 1);
  EXPECT_EQ(layout.RegionContains("Img", 0, 5), -9);
}

class RegionMove : public ::testing::Test {
 protected:
  void SetUp() override {
    layout.AddRegion(0, "Img", 120, 120, 4, -1, 0);  // (4, 0) 120 x 120
    layout.AddRegion(0, "Text", 120, 28, 4, -1, 0);  // (4, 123) 120 x 28
  }
  TMmsLayout layout;
};

TEST_F(RegionMove, AMovedRegionPushesTheOneItCoversBelowItself) {
  EXPECT_EQ(layout.MoveRegion("Img", 4, 100, 9964), 0);
  // Text's centre (137) lies above Img's (160), so Text keeps its place and Img goes under it.
  ExpectRegion(layout, "Text", {4, 123, 120, 28});
  ExpectRegion(layout, "Img", {4, 151, 120, 120});
}

TEST_F(RegionMove, AStackReachingPastTheLimitIsLiftedByTheExcess) {
  EXPECT_EQ(layout.MoveRegion("Img", 4, 100, 200), 0);
  // 123 + (28 + 120) - 200 = 71 too low: both move up by 71.
  ExpectRegion(layout, "Text", {4, 52, 120, 28});
  ExpectRegion(layout, "Img", {4, 80, 120, 120});
}

TEST_F(RegionMove, AMoveIntoFreeSpaceTouchesNothingElse) {
  EXPECT_EQ(layout.MoveRegion("Text", 10, 200, 9964), 0);
  ExpectRegion(layout, "Text", {10, 200, 120, 28});
  ExpectRegion(layout, "Img", {4, 0, 120, 120});
  EXPECT_EQ(layout.MoveRegion("Video", 0, 0, 100), TMmsLayout::kNoRegion);
}

TEST_F(RegionMove, AMoveUpwardsOverAnotherRegionStacksThemDownwards) {
  // Text moved into the picture's lower half: Text's centre (114) is below Img's (60), so Img
  // stays and Text is chained beneath it.
  EXPECT_EQ(layout.MoveRegion("Text", 4, 100, 9964), 0);
  ExpectRegion(layout, "Img", {4, 0, 120, 120});
  ExpectRegion(layout, "Text", {4, 120, 120, 28});
}

TEST(RegionLayoutRestack, RegionsCrossingWithoutACornerInsideAreNotCollected) {
  TMmsLayout layout;
  layout.NewRegion(100, 10, 0, 50, 0, "Text");  // wide and flat: x 0..100, y 50..60
  layout.NewRegion(10, 100, 45, 0, 0, "Img");   // narrow and tall: x 45..55, y 0..100
  TMmsLayout::RegionSet set{layout.FindRegion("Text")};
  EXPECT_EQ(layout.CollectOverlaps(set), 0);
  EXPECT_EQ(set.size(), 1u);

  // A corner of either inside the other, or just on an edge, is enough.
  layout.NewRegion(10, 10, 100, 60, 0, "Video");  // its top-left corner is Text's bottom-right
  EXPECT_EQ(layout.CollectOverlaps(set), TMmsLayout::kCollected);
  ASSERT_EQ(set.size(), 2u);
  EXPECT_EQ(set[1]->Id, "Video");
}

TEST(RegionLayoutRestack, OnlyTheGoverningRegionOfAnIdIsCollected) {
  // The second slide's "Text" region lies where the moved picture goes, the governing one does not
  // touch it: the stale copy must not be collected (and moved), or the governing "Text" could
  // never join the set and the visible regions would be left overlapping.
  TMmsLayout layout;
  layout.AddRegion(0, "Img", 120, 120, 4, -1, 0);
  layout.AddRegion(0, "Text", 120, 28, 4, -1, 0);  // governing: (4, 123)
  layout.NewRegion(120, 28, 4, 300, 0, "Text");    // stale copy: (4, 300)
  EXPECT_EQ(layout.MoveRegion("Img", 4, 250, 9964), 0);
  ExpectRegion(layout, "Img", {4, 250, 120, 120});
  EXPECT_EQ(layout.GetRegion(2)->Top, 300);

  // And the governing one is still collected when the picture comes down onto it.
  EXPECT_EQ(layout.MoveRegion("Img", 4, 100, 9964), 0);
  ExpectRegion(layout, "Text", {4, 123, 120, 28});
  ExpectRegion(layout, "Img", {4, 151, 120, 120});
  EXPECT_EQ(layout.GetRegion(2)->Top, 300);
}

TEST(RegionLayoutRestack, SortKeepsEqualCentresInTheirOrderAndChainsInEachDirection) {
  TMmsLayout layout;
  layout.NewRegion(10, 10, 0, 0, 0, "A");    // centre (5, 5)
  layout.NewRegion(20, 20, -5, -5, 0, "B");  // centre (5, 5): equal to A
  layout.NewRegion(10, 10, 30, 40, 0, "C");  // centre (35, 45)
  TMmsLayout::RegionSet set{layout.FindRegion("A"), layout.FindRegion("B"), layout.FindRegion("C")};

  TMmsLayout::SortByCentre(set, TMmsLayout::kUp);
  EXPECT_EQ(set[0]->Id + set[1]->Id + set[2]->Id, "CAB");
  TMmsLayout::SortByCentre(set, TMmsLayout::kRight);
  EXPECT_EQ(set[0]->Id + set[1]->Id + set[2]->Id, "ABC");

  TMmsLayout::ChainRegions(set, TMmsLayout::kRight);  // each placed right of its predecessor
  EXPECT_EQ(layout.GetRegionLeft("B"), 10);
  EXPECT_EQ(layout.GetRegionLeft("C"), 30);
  EXPECT_EQ(layout.GetRegionTop("C"), 40);  // only the one coordinate changes
  TMmsLayout::ChainRegions(set, TMmsLayout::kLeft);
  EXPECT_EQ(layout.GetRegionLeft("B"), -20);
  EXPECT_EQ(layout.GetRegionLeft("C"), -30);
  TMmsLayout::ChainRegions(set, TMmsLayout::kUp);
  EXPECT_EQ(layout.GetRegionTop("B"), -20);
  EXPECT_EQ(layout.GetRegionTop("C"), -30);
}

TEST(RegionLayoutRestack, RestackingEndsWithEveryIdInTheSetAtMostOnce) {
  // A pile of regions on top of each other, several per id: the stack holds one region per id,
  // chained without overlap.
  TMmsLayout layout;
  for (int round = 0; round < 3; ++round) {
    for (const char* id : {"Text", "Img", "Video", "Ref"}) layout.NewRegion(50, 20, 0, 10, 0, id);
  }
  EXPECT_EQ(layout.MoveRegion("Img", 0, 12, 100000), 0);
  // Img's centre (22) is below the others' (20), which keep their order of addition.
  EXPECT_EQ(layout.GetRegionTop("Text"), 10);
  EXPECT_EQ(layout.GetRegionTop("Video"), 30);
  EXPECT_EQ(layout.GetRegionTop("Ref"), 50);
  EXPECT_EQ(layout.GetRegionTop("Img"), 70);
  for (int i = 4; i < layout.GetRegionCount(); ++i) EXPECT_EQ(layout.GetRegion(i)->Top, 10);
}

}  // namespace
