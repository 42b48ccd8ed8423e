// The OP panel's rules: taps by length, the sliders' frequency limit by
// sampling rate, traces that give no rate, the view of the centre and
// magnification sliders, the y range of a flat trace, and the texts.
#include <gtest/gtest.h>

#include <cmath>

#include "desktop/windows/op_panel/op_panel_rules.h"
#include "desktop/data/trace_filters.h"

namespace {

TEST(OpPanelRules, TapsByPointCount) {
  struct row {
    int points, taps;
  } rows[] = {{1, 31}, {512, 31}, {513, 63}, {1024, 63}, {1025, 127}};
  for (const row& r : rows) EXPECT_EQ(taps_for(r.points), r.taps) << r.points;
}

TEST(OpPanelRules, RateAndFrequencyLimit) {
  // 601 points over 1000 mS: 600 Hz.
  EXPECT_DOUBLE_EQ(op_sampling_rate(601, 0.0, 1000.0), 600.0);
  struct row {
    double rate;
    int limit;
  } rows[] = {{600.0, 299}, {1000.0, 499}, {1001.0, 500}, {5000.0, 500}, {0.0, 0}, {0.5, 0}, {NAN, 0}};
  for (const row& r : rows) EXPECT_EQ(op_frequency_limit(r.rate), r.limit) << r.rate;
  // No data: one point, no span, a span that is no number.
  EXPECT_EQ(op_sampling_rate(1, 0.0, 0.0), 0.0);
  EXPECT_EQ(op_sampling_rate(0, 1e31, -1e31), 0.0);
  EXPECT_EQ(op_sampling_rate(5, 3.0, 3.0), 0.0);
  EXPECT_EQ(op_sampling_rate(5, 0.0, NAN), 0.0);
}

TEST(OpPanelRules, CentreAndMagnificationChooseTheView) {
  // A trace from -20 to 180 mS; step = span / 1000.
  const double step = 200.0 / 1000;
  opView whole = op_view(-20.0, 180.0, op_centre_offset(500, step), 1.0);
  EXPECT_DOUBLE_EQ(whole.centre, 80.0);
  EXPECT_DOUBLE_EQ(whole.x_min, -20.0);
  EXPECT_DOUBLE_EQ(whole.x_max, 180.0);
  // Position 0: half the span left of the middle; 1000: half right.
  EXPECT_DOUBLE_EQ(op_view(-20.0, 180.0, op_centre_offset(0, step), 1.0).centre, -20.0);
  EXPECT_DOUBLE_EQ(op_view(-20.0, 180.0, op_centre_offset(1000, step), 1.0).centre, 180.0);
  opView tenth = op_view(-20.0, 180.0, op_centre_offset(500, step), 10.0);
  EXPECT_DOUBLE_EQ(tenth.x_max - tenth.x_min, 20.0);
  EXPECT_DOUBLE_EQ(tenth.centre, 80.0);
  // A magnification below 1 (a slider message out of range) shows it whole.
  opView zero = op_view(-20.0, 180.0, 0.0, 0.0);
  EXPECT_DOUBLE_EQ(zero.x_max - zero.x_min, 200.0);
}

TEST(OpPanelRules, FlatTraceIsWidened) {
  double low, high;
  op_y_range(2.0, 2.05, &low, &high);
  EXPECT_DOUBLE_EQ(low, 1.9);
  EXPECT_DOUBLE_EQ(high, 2.15);
  op_y_range(-3.0, 4.0, &low, &high);
  EXPECT_DOUBLE_EQ(low, -3.0);
  EXPECT_DOUBLE_EQ(high, 4.0);
}

TEST(OpPanelRules, Texts) {
  EXPECT_EQ(op_low_caption(100), "Min Freq = 100.0 Hz ");
  EXPECT_EQ(op_high_caption(300), "Max Freq = 300.0 Hz ");
  EXPECT_EQ(op_centre_caption(80.0), "Center:  80.00 mS");
  EXPECT_EQ(op_magnification_caption(2.0), "Magnification :   2.00");
  EXPECT_EQ(op_band_text(100, 300), "[100 Hz .. 300 Hz]");
  EXPECT_EQ(op_band_text(300, 100), "]100 Hz .. 300 Hz[");
  EXPECT_EQ(op_band_text(200, 200), "]200 Hz .. 200 Hz[");
  EXPECT_EQ(op_view_text(80.0, 10.0), "ctr  80.00 mS  mag 10");
  EXPECT_EQ(op_clipboard_name(100, 300), "(OP 100..300)");
  EXPECT_EQ(op_trace_label(100, 300), "OP 100..300");
  EXPECT_EQ(literal_format("OP( 5% %s )"), "OP( 5%% %%s )");
}

}  // namespace
