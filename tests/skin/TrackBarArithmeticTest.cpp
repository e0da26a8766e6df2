// The track bar's arithmetic at the integer limits and on bars too narrow for their thumbs.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "controls/TrackBarArithmetic.h"

namespace {

using namespace trackbar;

TEST(TrackBarArithmetic, OffsetsAndStepsStayInRangeAtTheIntegerLimits) {
  EXPECT_EQ(TravelLength(10, 11, 4), 0);  // narrower than its thumb: no travel, not less
  EXPECT_EQ(TravelLength(157, 11, 4), 138);
  EXPECT_EQ(ThumbOffset(138, INT_MAX, INT_MIN, INT_MAX), 138);
  EXPECT_EQ(ThumbOffset(138, INT_MIN, INT_MIN, INT_MAX), 0);
  EXPECT_EQ(ThumbOffset(138, 0, INT_MIN, INT_MAX), 69);
  EXPECT_EQ(ThumbOffset(-5, 7, 0, 10), 0);
  struct Case {
    int position;
    long long delta;
    int expected;
  } steps[] = {
      {INT_MAX, 20, INT_MAX},  // Page Up at the top of the integers
      {INT_MIN, -20, INT_MIN}, {INT_MAX - 5, 65535, INT_MAX},
      {100, 20, 120},  // beyond the range is left for the setter to clamp
      {50, -20, 30},
  };
  for (const Case& c : steps) EXPECT_EQ(Step(c.position, c.delta), c.expected) << c.position;
  EXPECT_EQ(DragValue(1e9, 1, INT_MIN, INT_MAX), INT_MAX);
  EXPECT_EQ(DragValue(-1e9, 1, INT_MIN, INT_MAX), INT_MIN);
  EXPECT_EQ(DragValue(5, 0, 3, 9), 3);  // no span: the minimum, no division by zero
  EXPECT_EQ(DragValue(138, 139, 1, 100), 99);
}

TEST(TrackBarArithmetic, LimitsKeepMinBelowMaxWithoutOverflow) {
  int min = INT_MAX - 1, max = INT_MAX;
  ApplyMin(INT_MAX, min, max);
  EXPECT_EQ(min, INT_MAX - 1);
  EXPECT_EQ(max, INT_MAX);
  min = INT_MIN;
  max = INT_MIN + 1;
  ApplyMax(INT_MIN, min, max);
  EXPECT_EQ(min, INT_MIN);
  EXPECT_EQ(max, INT_MIN + 1);
  min = INT_MAX;  // a minimum at the very top leaves room for the maximum
  max = 0;
  ApplyMax(5, min, max);
  EXPECT_LT(min, max);
}

TEST(TrackBarArithmetic, TicksVisitTheSameOffsetsAsEveryValueWouldAtMostOnceEach) {
  struct Case {
    int travel, min, max, step;
  } cases[] = {{138, 1, 100, 20}, {138, 1, 100, 1}, {50, -37, 1000, 3},
               {182, 0, 10, 1},   {0, 0, 10, 1},    {300, -7, 7, 2}};
  for (const Case& c : cases) {
    std::vector<int> expected;
    for (long long v = c.min; v <= c.max; ++v) {
      if (v % c.step) continue;
      const int o = TickOffset(c.travel, v, c.min, c.max);
      if (expected.empty() || expected.back() != o) expected.push_back(o);
    }
    std::vector<int> seen;
    VisitTicks(c.travel, c.min, c.max, c.step, [&](int v, int o) {
      EXPECT_EQ(v % c.step, 0);
      seen.push_back(o);
    });
    EXPECT_EQ(seen, expected) << c.travel << " " << c.min << ".." << c.max << " step " << c.step;
  }
  int count = 0;
  VisitTicks(138, INT_MIN, INT_MAX, 1, [&](int, int) { ++count; });
  EXPECT_EQ(count, 139);
  count = 0;
  VisitTicks(138, INT_MAX - 3, INT_MAX, 1, [&](int, int) { ++count; });
  EXPECT_EQ(count, 4);
}

}  // namespace
