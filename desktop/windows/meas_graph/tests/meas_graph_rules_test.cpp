// The measurement graph's rules as tables: mark lines, flash ticks, the
// arrow-key table, the order in which a click tests the circles, the
// amplitude at a time and the status and date texts.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "desktop/windows/meas_graph/meas_graph_rules.h"
#include "desktop/data/trace.h"

namespace {

TEST(MeasGraphRules, MarkSegmentsRunFromTheFlashToTheBwaveAndAThirdUpFromTheAwave) {
  auto s = wave_mark_segments(20.0, -30.0, 45.0, 90.0);
  struct row {
    double x0, y0, x1, y1;
  } expected[4] = {{0.0, 90.0, 45.0, 90.0}, {0.0, -30.0, 45.0, -30.0}, {45.0, 90.0, 45.0, -30.0}, {20.0, -30.0, 20.0, 10.0}};
  for (int i = 0; i < 4; i++) {
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(s[i].x0, expected[i].x0);
    EXPECT_DOUBLE_EQ(s[i].y0, expected[i].y0);
    EXPECT_DOUBLE_EQ(s[i].x1, expected[i].x1);
    EXPECT_DOUBLE_EQ(s[i].y1, expected[i].y1);
  }
}

TEST(MeasGraphRules, FlashTicksStartAt0_4AndFollowThePeriodOfTheRecordVersion) {
  EXPECT_EQ(flash_period(3000, 33.0, 120.0), 33.0);
  EXPECT_EQ(flash_period(2999, 33.0, 120.0), 120.0);

  struct row {
    double period, start, end;
    std::vector<double> ticks;
  } rows[] = {
      {25.0, -20.0, 80.0, {0.4, 25.0, 50.0, 75.0}},  // n = 4
      {30.0, -20.0, 80.0, {0.4, 30.0, 60.0, 90.0}},  // n = ceil(100 / 30) = 4: the last tick lies past the range
      {100.0, 0.0, 100.0, {0.4}},                    // n = 1: the first tick only
      {0.0, 0.0, 100.0, {}},                         // no period: no tick, no division by zero
      {-5.0, 0.0, 100.0, {}},
      {std::numeric_limits<double>::quiet_NaN(), 0.0, 100.0, {}},
      {10.0, 0.0, std::numeric_limits<double>::infinity(), {}},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.period);
    EXPECT_EQ(flash_tick_times(r.period, r.start, r.end), r.ticks);
  }
  // A period far below the range's width gives at most the limit.
  EXPECT_EQ(flash_tick_times(1e-9, 0.0, 1000.0).size(), static_cast<size_t>(flash_tick_limit));
}

TEST(MeasGraphRules, ArrowKeysFollowTheFirstRowOfTheKeyTableThatHolds) {
  using C = adjustCircle;
  using K = arrowKey;
  using T = keyTarget;
  struct row {
    K key;
    C selected;
    bool shift, control, xhair;
    T target;
    int direction;
  } rows[] = {
      // Left and right: a selected a- or b-wave circle, or control, moves a time.
      {K::left, C::awave, false, false, false, T::awave_time, -1},
      {K::left, C::bwave, false, false, false, T::bwave_time, -1},
      {K::left, C::bwave, true, false, false, T::awave_time, -1},  // shift takes the a-wave
      {K::left, C::none, false, true, true, T::bwave_time, -1},    // control alone: the b-wave
      {K::left, C::none, true, true, true, T::awave_time, -1},     // control and shift: the a-wave
      {K::left, C::flash_time, false, true, false, T::bwave_time, -1},
      {K::left, C::flash_time, false, false, true, T::xhair, -1},
      {K::left, C::none, true, false, true, T::xhair, -1},  // shift alone moves the cross-hair
      {K::left, C::none, false, false, false, T::nothing, -1},
      {K::right, C::awave, false, false, true, T::awave_time, 1},
      {K::right, C::bwave, false, false, true, T::bwave_time, 1},
      {K::right, C::none, false, true, false, T::bwave_time, 1},
      {K::right, C::right_time, false, false, true, T::xhair, 1},
      {K::right, C::none, false, false, false, T::nothing, 1},
      // Up: by the selected circle, else the cross-hair.
      {K::up, C::awave, false, false, true, T::awave_amplitude, 1},
      {K::up, C::flash_time, false, false, true, T::baseline_intercept, 1},
      {K::up, C::right_time, false, false, true, T::baseline_right, 1},
      {K::up, C::bwave, false, false, true, T::bwave_amplitude, 1},
      {K::up, C::none, true, false, true, T::xhair, 1},  // shift does not raise the a-wave
      {K::up, C::none, true, false, false, T::nothing, 1},
      {K::up, C::none, false, true, false, T::nothing, 1},
      // Down: shift lowers the a-wave whatever is selected.
      {K::down, C::awave, false, false, false, T::awave_amplitude, -1},
      {K::down, C::none, true, false, true, T::awave_amplitude, -1},
      {K::down, C::bwave, true, false, false, T::awave_amplitude, -1},
      {K::down, C::flash_time, false, false, false, T::baseline_intercept, -1},
      {K::down, C::right_time, false, false, false, T::baseline_right, -1},
      {K::down, C::bwave, false, false, false, T::bwave_amplitude, -1},
      {K::down, C::none, false, false, true, T::xhair, -1},
      {K::down, C::none, false, true, false, T::nothing, -1},
  };
  int index = 0;
  for (const row& r : rows) {
    SCOPED_TRACE(index++);
    keyAction action = arrow_key_action(r.key, r.selected, r.shift, r.control, r.xhair);
    EXPECT_EQ(action.target, r.target);
    EXPECT_EQ(action.direction, r.direction);
  }
}

TEST(MeasGraphRules, AClickTakesTheFirstCircleInTheOrderBwaveAwaveFlashRight) {
  // All four squares overlap at (100, 100).
  std::array<pixelPoint, adjust_circle_count> centres{{{100, 100}, {105, 100}, {95, 104}, {100, 96}}};
  struct row {
    int x, y;
    adjustCircle hit;
  } rows[] = {
      {100, 100, adjustCircle::bwave},       // overlapping b- and a-wave: the b-wave
      {111, 100, adjustCircle::bwave},       // the square's edge counts
      {112, 100, adjustCircle::awave},       // past the b-wave's square, inside the a-wave's
      {116, 100, adjustCircle::awave},
      {88, 104, adjustCircle::flash_time},
      {100, 85, adjustCircle::right_time},
      {100, 84, adjustCircle::none},
      {200, 200, adjustCircle::none},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.x * 1000 + r.y);
    EXPECT_EQ(hit_circle(r.x, r.y, centres, 11, 11), r.hit);
  }
}

TEST(MeasGraphRules, TheAmplitudeAtATimeOutsideTheTraceIsItsNearestEndPoint) {
  traceClass trace;
  const double xs[] = {-10.0, -5.0, 0.0, 5.0, 10.0};
  const double ys[] = {1.0, 2.0, 3.0, 4.0, 5.0};
  ASSERT_TRUE(trace.set_data(3, xs, ys, 5));
  trace.set_y_offset(10.0);  // displayed amplitudes
  struct row {
    double t, y;
  } rows[] = {{-100.0, 11.0}, {-10.0, 11.0}, {-7.4, 12.0}, {-7.5, 12.0}, {4.0, 14.0}, {10.0, 15.0}, {1e9, 15.0}};
  for (const row& r : rows) {
    SCOPED_TRACE(r.t);
    double y = 0.0;
    ASSERT_TRUE(amplitude_at(trace, r.t, &y));
    EXPECT_EQ(y, r.y);
  }
  // The lookup is in displayed time: a shifted trace is read where it is drawn.
  trace.set_x_offset(5.0);
  double y = 0.0;
  ASSERT_TRUE(amplitude_at(trace, 10.0, &y));
  EXPECT_EQ(y, 14.0);

  double untouched = -1.0;
  EXPECT_FALSE(amplitude_at(trace, std::numeric_limits<double>::quiet_NaN(), &untouched));
  traceClass empty;
  EXPECT_FALSE(amplitude_at(empty, 0.0, &untouched));
  EXPECT_EQ(untouched, -1.0);
}

TEST(MeasGraphRules, StatusAndDateTexts) {
  EXPECT_EQ(cursor_status_text(12.345, "mS", -3.5, "uV"), "   12.35 [mS]     -3.50 [uV]");
  EXPECT_EQ(xhair_status_text(-1.0, 250.126), "X-HAIR TO CURSOR:    -1.00 [mS]    250.13 [uV]");
  // A unit too long for the read-out is cut, never overrun.
  EXPECT_EQ(cursor_status_text(1.0, std::string(300, 'u').c_str(), 2.0, "uV").size(), 127u + 2u + 13u);
  EXPECT_EQ(date_line_text(2026, 3, 7, 9, 5, 1), "  7Mar 2026 09:05:01");
  EXPECT_EQ(date_line_text(2026, 12, 24, 23, 59, 59), " 24Dec 2026 23:59:59");
}

}  // namespace
