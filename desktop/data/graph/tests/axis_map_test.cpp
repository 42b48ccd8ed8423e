// The axis map between data and pixels, and the tick plan of an axis.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "desktop/data/graph/axis_map.h"

namespace {

// A y map: data start at the bottom pixel 400, data end at the top pixel 0.
axisMap y_map(double start, double end) {
  axisMap map;
  map.set_pixels(400, 0);
  map.set_data(start, end);
  return map;
}

// The ticks as "value:M" (major), "value:m" (minor) with "*" when labelled.
std::vector<std::string> describe(const axisTickPlan& plan) {
  std::vector<std::string> out;
  for (const axisTick& t : plan.ticks) {
    char text[64];
    std::snprintf(text, sizeof text, "%g:%s%s", t.value, t.major ? "M" : "m", t.labelled ? "*" : "");
    out.push_back(text);
  }
  return out;
}

}  // namespace

TEST(AxisMap, MapsValuesToTruncatedPixelsAndBack) {
  axisMap x;
  EXPECT_EQ(x.to_pixel(42.7), 42);  // construction: 0..100 over 0..100
  x.set_pixels(50, 450);
  ASSERT_TRUE(x.set_data(0, 200));
  EXPECT_DOUBLE_EQ(x.scale(), 2.0);
  EXPECT_EQ(x.to_pixel(0), 50);
  EXPECT_EQ(x.to_pixel(200), 450);
  EXPECT_EQ(x.to_pixel(10.99), 71);
  EXPECT_DOUBLE_EQ(x.to_data(71), 10.5);
  EXPECT_DOUBLE_EQ(x.data_per_pixel(), 0.5);

  axisMap y = y_map(0, 100);
  EXPECT_LT(y.scale(), 0.0);
  EXPECT_EQ(y.to_pixel(0), 400);
  EXPECT_EQ(y.to_pixel(100), 0);
  EXPECT_DOUBLE_EQ(y.to_data(200), 50.0);
}

TEST(AxisMap, NoNaNOrInfinityReachesAPixel) {
  // Equal ends are widened around the value (or around 0 by 1).
  axisMap flat = y_map(5, 5);
  EXPECT_TRUE(std::isfinite(flat.scale()));
  EXPECT_LT(flat.data_start(), 5.0);
  EXPECT_GT(flat.data_end(), 5.0);
  EXPECT_EQ(flat.to_pixel(5), 200);
  axisMap zero = y_map(0, 0);
  EXPECT_DOUBLE_EQ(zero.data_start(), -1.0);
  EXPECT_DOUBLE_EQ(zero.data_end(), 1.0);

  // Ends that are no numbers are refused; the map keeps its range.
  axisMap map = y_map(0, 100);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(map.set_data(nan, 1));
  EXPECT_FALSE(map.set_data(0, inf));
  EXPECT_FALSE(map.set_data(-1e308, 1e308));  // the width overflows
  EXPECT_DOUBLE_EQ(map.data_end(), 100.0);

  // Values far outside the range, or NaN, give bounded pixels.
  EXPECT_EQ(map.to_pixel(1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(map.to_pixel(-1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(map.to_pixel(nan), 0);

  // A map without pixel width maps every pixel back to its start.
  axisMap none;
  none.set_pixels(10, 10);
  none.set_data(0, 50);
  EXPECT_DOUBLE_EQ(none.to_data(10), 0.0);
  EXPECT_DOUBLE_EQ(none.data_per_pixel(), 0.0);
}

TEST(AxisTicks, LabelDensityFromTheSpacingRatio) {
  struct row {
    double r;
    int every;
  };
  for (const row& c : {row{2.5, 1}, row{2.0, 1}, row{1.5, 2}, row{1.0, 2}, row{0.5, 5}, row{0.2, 20}, row{0.01, 20}}) {
    EXPECT_EQ(minor_label_every(c.r), c.every) << c.r;
  }
}

TEST(AxisTicks, PlansForTypicalRanges) {
  struct row {
    const char* name;
    double start, end;
    bool y_axis;
    int exponent;
    double k0;
    int majors;
    size_t tick_count;
    std::vector<std::string> first_ticks;  // the plan's first ticks
    std::vector<double> labelled;          // every labelled value
  };
  const std::vector<row> rows = {
      // 0..100 over 400 pixels, labels 16 high: r = 40 / 16 = 2.5, all labelled.
      {"0 to 100", 0, 100, true, 2, 0, 2, 11, {"0:M*", "10:m*", "20:m*"},
       {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
      // -20..180: the major -100 lies below the range (no tick), its minors
      // -20 and -10 do; r = 20 / 16 = 1.25, every second minor labelled.
      {"-20 to 180", -20, 180, true, 2, -1, 2, 21, {"-20:m*", "-10:m", "0:M*", "10:m", "20:m*"},
       {-20, 0, 20, 40, 60, 80, 100, 120, 140, 160, 180}},
      // Three majors or more: the y axis labels no minor.
      {"0 to 350", 0, 350, true, 2, 0, 4, 36, {"0:M*", "10:m", "20:m"}, {0, 100, 200, 300}},
      // The x axis labels every m-th minor whatever the count of majors
      // (r = 11 / 16: every fifth).
      {"x 0 to 350", 0, 350, false, 2, 0, 4, 36, {"0:M*", "10:m", "20:m"},
       {0, 50, 100, 150, 200, 250, 300, 350}},
  };
  for (const row& c : rows) {
    SCOPED_TRACE(c.name);
    axisTickPlan plan = plan_axis_ticks(y_map(c.start, c.end), 16, c.y_axis);
    EXPECT_EQ(plan.exponent, c.exponent);
    EXPECT_DOUBLE_EQ(plan.k0, c.k0);
    EXPECT_EQ(plan.major_count, c.majors);
    std::vector<std::string> ticks = describe(plan);
    EXPECT_EQ(ticks.size(), c.tick_count);
    ticks.resize(std::min(ticks.size(), c.first_ticks.size()));
    EXPECT_EQ(ticks, c.first_ticks);
    std::vector<double> labelled;
    for (const axisTick& t : plan.ticks) {
      if (t.labelled) labelled.push_back(t.value);
    }
    ASSERT_EQ(labelled.size(), c.labelled.size());
    for (size_t i = 0; i < labelled.size(); i++) EXPECT_NEAR(labelled[i], c.labelled[i], 1e-9);
  }
}

TEST(AxisTicks, PixelsFollowTheMapAndOddRangesEnd) {
  axisMap map = y_map(0, 100);
  axisTickPlan plan = plan_axis_ticks(map, 16, true);
  ASSERT_FALSE(plan.ticks.empty());
  for (const axisTick& t : plan.ticks) EXPECT_EQ(t.pixel, map.to_pixel(t.value));

  // Far from 0 the steps vanish in the doubles' precision: the plan still
  // ends with a bounded number of ticks.
  axisTickPlan remote = plan_axis_ticks(y_map(1e20, 1e20 + 1e5), 16, true);
  EXPECT_LT(remote.ticks.size(), 500u);
  // A reversed range gives no ticks, and a label extent of 0 is taken as 1.
  axisMap reversed;
  reversed.set_pixels(0, 400);
  reversed.set_data(100, 0);
  EXPECT_TRUE(plan_axis_ticks(reversed, 16, false).ticks.empty());
  EXPECT_FALSE(plan_axis_ticks(map, 0, false).ticks.empty());
}
