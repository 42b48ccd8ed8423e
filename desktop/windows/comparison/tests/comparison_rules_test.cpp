// The comparison graph's rules: the colour cycle, the row and style texts,
// the per-trace command identifiers, the alignment offsets (also at a time
// outside a trace), the view ranges, the save-all limits and the low-pass
// entry check.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "desktop/windows/comparison/comparison_rules.h"
#include "desktop/data/trace.h"

namespace {

TEST(ComparisonRules, TheColourCycleRepeatsEverySixSteps) {
  const int32_t expected[] = {3, 5, 0, 2, 4, 1, 3, 5};
  for (int step = 0; step < 8; step++) EXPECT_EQ(cycle_colour(step), expected[step]) << step;
  EXPECT_EQ(cycle_colour(-1), 1);
  EXPECT_EQ(cycle_colour(600001), 5);
}

TEST(ComparisonRules, RowItemStyleAndPrintedTexts) {
  EXPECT_EQ(trace_line_text(1, 3, "P01S02T0301A.tst"), "1.   Blue P01S02T0301A.tst");
  EXPECT_EQ(trace_line_text(12, 1, ""), "12. Yellow ");
  EXPECT_EQ(trace_line_text(2, 99, nullptr), "2.      ? ");
  EXPECT_EQ(trace_item_text(3, "summary"), "3. [summary]");

  struct {
    int32_t colour, points_only, dash;
    const char* text;
  } styles[] = {{5, 0, 0, " Black LD0"}, {0, 1, 0, "   Red ND0"}, {2, 7, 10, " Green ?D10"}};
  for (const auto& s : styles) EXPECT_EQ(trace_style_text(s.colour, s.points_only, s.dash), s.text);

  traceFilterMarks none{false, false, false, false, 50.0};
  EXPECT_EQ(trace_long_line_text(1, " Black LD0", "a(csv)", none), "1.  Black LD0 a(csv)");
  traceFilterMarks all{true, true, true, true, 12.5};
  EXPECT_EQ(trace_long_line_text(4, "  Blue LD5", "b", all), "4.   Blue LD5 b spks 60Hz 50Hz LP(12.5)");
}

TEST(ComparisonRules, PerTraceIdentifiersDecode) {
  EXPECT_EQ(trace_command_id(3, 7050), 307050);
  struct {
    int id, number, command;
  } cases[] = {{100000, 1, 0},     {102300, 1, 2300},  {207040, 2, 7040}, {1206700, 12, 6700},
               {90001, 0, 0},      {89999, 0, 0},      {2260, 0, 0},      {1001, 0, 0}};
  for (const auto& c : cases) {
    traceCommand decoded = decode_trace_command(c.id);
    EXPECT_EQ(decoded.number, c.number) << c.id;
    EXPECT_EQ(decoded.command, c.command) << c.id;
  }
}

TEST(ComparisonRules, AlignmentAndSeparationOffsets) {
  traceOffsets first = alignment_offsets(0, true, 10.0, 25.0, 4.0, true);
  EXPECT_EQ(first.x, 0.0);
  EXPECT_EQ(first.y, -4.0);
  traceOffsets third = alignment_offsets(2, true, 10.0, 25.0, -3.0, true);
  EXPECT_EQ(third.x, 20.0);
  EXPECT_EQ(third.y, 53.0);
  traceOffsets plain = alignment_offsets(5, false, 10.0, 25.0, 7.0, true);
  EXPECT_EQ(plain.x, 0.0);
  EXPECT_EQ(plain.y, -7.0);
  // A time outside the trace: no amplitude, only the separation.
  traceOffsets outside = alignment_offsets(1, true, 10.0, 25.0, 999.0, false);
  EXPECT_EQ(outside.x, 10.0);
  EXPECT_EQ(outside.y, 25.0);
  EXPECT_EQ(alignment_offsets(1, false, 10.0, 25.0, 999.0, false).y, 0.0);
}

TEST(ComparisonRules, AmplitudeNearATimeOnlyInsideTheTrace) {
  traceClass trace;
  double xs[] = {-20.0, -10.0, 0.0, 10.0, 20.0};
  double ys[] = {1.0, 2.0, 3.0, 4.0, 5.0};
  ASSERT_TRUE(trace.set_data(3, xs, ys, 5));
  trace.y_factor = 2.0;
  double y = 0.0;
  EXPECT_TRUE(amplitude_near_time(trace, 0.0, &y));
  EXPECT_EQ(y, 6.0);
  EXPECT_TRUE(amplitude_near_time(trace, 6.0, &y));
  EXPECT_EQ(y, 8.0);
  EXPECT_TRUE(amplitude_near_time(trace, 20.0, &y));
  EXPECT_EQ(y, 10.0);
  y = -1.0;
  for (double t : {-20.5, 20.5, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_FALSE(amplitude_near_time(trace, t, &y)) << t;
    EXPECT_EQ(y, -1.0);
  }
  traceClass empty;
  EXPECT_FALSE(amplitude_near_time(empty, 0.0, &y));
}

TEST(ComparisonRules, ViewRangesAndGains) {
  EXPECT_DOUBLE_EQ(x_view_span(200.0, 1.0), 210.0);
  EXPECT_DOUBLE_EQ(x_view_span(200.0, 2.0), 105.0);
  EXPECT_DOUBLE_EQ(y_view_span(80.0, 0.5), 160.0);
  viewRange r = view_range(50.0, 105.0);
  EXPECT_DOUBLE_EQ(r.low, -2.5);
  EXPECT_DOUBLE_EQ(r.high, 102.5);
}

TEST(ComparisonRules, SaveAllLimitsAndLowPassEntries) {
  EXPECT_STREQ(save_all_refusal(0), "*** NO TRACES TO OUTPUT ***");
  EXPECT_STREQ(save_all_refusal(1), "");
  EXPECT_STREQ(save_all_refusal(20), "");
  EXPECT_STREQ(save_all_refusal(21), "*** TOO MANY TRACES TO OUTPUT (20 MAX) ***");

  EXPECT_EQ(check_lowpass_entry(50.0, 50.0), lowpassEntry::unchanged);
  EXPECT_EQ(check_lowpass_entry(50.0, 0.1), lowpassEntry::accepted);
  EXPECT_EQ(check_lowpass_entry(50.0, 0.09), lowpassEntry::too_low);
  EXPECT_EQ(check_lowpass_entry(50.0, -3.0), lowpassEntry::too_low);
  EXPECT_EQ(check_lowpass_entry(50.0, std::numeric_limits<double>::quiet_NaN()), lowpassEntry::too_low);
  EXPECT_EQ(check_lowpass_entry(50.0, 30.0), lowpassEntry::accepted);
}

}  // namespace
