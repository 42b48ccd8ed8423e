#include <gtest/gtest.h>

#include <cmath>

#include "handheld/ui/plotter/plot_scales.h"

TEST(PlotScales, FillingAnEntry) {
  plotArea area;
  area.left = 0;
  area.right = 200;
  area.top = 14;
  area.bottom = 214;
  scaleEntry e;
  // A minimum range of 50 around 10..20: -10..40, then 5 % wider.
  fill_scale_entry(e, area, 0, 100, 10, 20, -1.0, 50);
  EXPECT_DOUBLE_EQ(e.y_min, -11.25);
  EXPECT_DOUBLE_EQ(e.y_max, 41.25);
  EXPECT_DOUBLE_EQ(e.x_origin, 0.0);
  EXPECT_DOUBLE_EQ(e.y_origin, -11.25);
  EXPECT_DOUBLE_EQ(e.x_per_unit, 2.0);
  EXPECT_EQ(map_column(e, area, 50), 100);
  EXPECT_EQ(map_row(e, area, -11.25), 214);
  EXPECT_EQ(map_row(e, area, 41.25), 14);
  fill_scale_entry(e, area, 0, 100, 10, 20, 25.0, no_minimum_range);
  EXPECT_DOUBLE_EQ(e.x_origin, 25.0);
  EXPECT_DOUBLE_EQ(e.y_max - e.y_min, 10.5);
  // Empty and not finite ranges are widened: the pixels per unit stay finite.
  struct Case {
    double a, b;
  } bad[] = {{5, 5}, {NAN, 1}, {INFINITY, INFINITY}, {3, -3}};
  for (const Case& c : bad) {
    fill_scale_entry(e, area, c.a, c.b, c.a, c.b, -1.0, no_minimum_range);
    EXPECT_TRUE(std::isfinite(e.x_per_unit) && std::isfinite(e.y_per_unit)) << c.a << " " << c.b;
  }
}

TEST(PlotScales, TickSteps) {
  const double cases[][2] = {{6, 1}, {6.01, 2}, {2500, 500}, {3001, 1000}, {0.5, 0.1}, {2400, 400}, {0, 0.1}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(tick_step(c[0]), c[1]) << c[0];
}

TEST(PlotScales, RingOfFive) {
  scaleRing ring;
  ring.push();  // the plotter starts on entry 1
  EXPECT_EQ(ring.index(), 1);
  for (int i = 0; i < 5; ++i) ring.push();
  EXPECT_EQ(ring.index(), 1);
  ring.pop();
  EXPECT_EQ(ring.index(), 0);
  ring.pop();
  EXPECT_EQ(ring.index(), 4);
}

TEST(PlotScales, ThinningAndLowPassLengths) {
  EXPECT_EQ(thinning_step(12000, 300), 40);
  EXPECT_EQ(thinned_count(12000, 40), 300);
  EXPECT_EQ(thinning_step(12000, 0), 1);
  EXPECT_EQ(thinning_step(200, 300), 1);
  EXPECT_EQ(thinning_step(301, 300), 2);
  EXPECT_EQ(thinned_count(301, 2), 151);
  EXPECT_EQ(lowpass_taps(512), 31);
  EXPECT_EQ(lowpass_taps(513), 63);
  // The short-input guard: no filter over fewer points than its taps.
  EXPECT_FALSE(lowpass_applies(31));
  EXPECT_TRUE(lowpass_applies(32));
  EXPECT_FALSE(lowpass_applies(0));
}

TEST(PlotScales, EyeLabels) {
  EXPECT_EQ(eye_label(true, true, 1, 0), "AB");
  EXPECT_EQ(eye_label(true, true, 2, 0), "A(OD)B(OS)");
  EXPECT_EQ(eye_label(true, true, 3, 0), "A(OS)B(OD)");
  EXPECT_EQ(eye_label(true, false, 2, 0), "A(OD)");
  EXPECT_EQ(eye_label(false, true, 0, 1), "B");
  EXPECT_EQ(eye_label(false, true, 0, 3), "B(OS)");
  EXPECT_EQ(eye_label(false, false, 0, 0), "DUMMY");
}
