#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/block_traces.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/data/wave_measurement.h"

namespace {

// A synthetic ERG of 1000 points over 250 mS, the flash at point 200
// (50 mS pre-trigger), in raw units of 1/20 uV: a baseline 5 + 0.2 t uV,
// a triangular a-wave 30 uV deep at 20 mS (10 mS each side) and a
// triangular b-wave 60 uV high at 50 mS (15 mS each side).
std::vector<int32_t> synthetic_erg() {
  std::vector<int32_t> raw;
  for (int i = 0; i < 1000; i++) {
    int k = i - 200;  // quarter milliseconds from the flash
    int value = 100 + k;
    if (std::abs(k - 80) <= 40) value += -600 + 15 * std::abs(k - 80);
    if (std::abs(k - 200) <= 60) value += 1200 - 20 * std::abs(k - 200);
    raw.push_back(value);
  }
  return raw;
}

struct measured_test {
  std::unique_ptr<testFileRecord> record = make_record();
  std::unique_ptr<traceClass> trace;
  std::unique_ptr<tracePlusClass> entry;
  std::unique_ptr<waveMeasurementModel> model;

  explicit measured_test(const std::vector<int32_t>& raw, double divisor = 20.0, uint32_t total = 250,
                         uint32_t pretrigger = 50) {
    fill_block(record->Average, raw, divisor, total, pretrigger);
    trace.reset(make_trace_from_block(*record, record->Average, 3));
    entry.reset(new tracePlusClass(trace.get()));
    model.reset(new waveMeasurementModel(record.get(), entry.get()));
  }
  void find(double t_start = 0.0, double t_end = 150.0) {
    model->find_ab_waves(*entry->active_trace(), t_start, t_end, *record, 1);
  }
};

TEST(WaveMeasurement, ValuesCarryTheirNames) {
  measured_test test({1, 2, 3});
  waveMeasurementModel& m = *test.model;
  struct {
    const linkClass* value;
    const char* name;
  } names[] = {
      {&m.baseline_slope, "BaselineSlope"},       {&m.baseline_intercept, "BaselineIntercept"},
      {&m.baseline_at_left_time, "BaselineFlashTime_uV"}, {&m.baseline_at_right_time, "BaselineRightTime_uV"},
      {&m.bwave_point, "Bwave_uV"},               {&m.awave_point, "Awave_uV"},
      {&m.bwave_time, "Bwave_mS"},                {&m.awave_time, "Awave_mS"},
      {&m.amplitude_slope, "AmplitudeSlope"},     {&m.amplitude_intercept, "AmplitudeIntercept"},
      {&m.awave_implicit_time, "AwaveImplicitTime"}, {&m.awave_amplitude, "AwaveActualAmplitude"},
      {&m.abs_awave_amplitude, "fabsAwaveAmplitude"}, {&m.bwave_amplitude, "BwaveAmplitude"},
      {&m.bwave_implicit_time, "BwaveImplicitTime"},
  };
  for (const auto& n : names) EXPECT_STREQ(n.value->name(), n.name);
  EXPECT_EQ(m.slope_switch, 1);
  EXPECT_EQ(m.baseline_slope.value(), 0.0);
  EXPECT_EQ(m.baseline_intercept.value(), 0.0);
  EXPECT_EQ(m.amplitude_slope.value(), 1.0);
  EXPECT_EQ(m.amplitude_intercept.value(), 0.0);

  // The sweep count is read in the record, where it is.
  double count = 0.0;
  ASSERT_TRUE(m.sweep_count.numeric_value(&count));
  EXPECT_EQ(count, 20.0);
  test.record->Average.Divisor = 7.0;
  m.sweep_count.numeric_value(&count);
  EXPECT_EQ(count, 7.0);
}

TEST(WaveMeasurement, SyntheticErgWithAndWithoutTheBaselineSlope) {
  struct row {
    uint8_t slope_switch;
    double slope, intercept, a_amplitude, b_amplitude, ratio;
  } rows[] = {
      {0, 0.2, 5.0, -30.0, 90.0, 3.0},
      {1, 0.0, 5.0, -26.0, 96.0, 96.0 / 26.0},
  };
  for (const row& r : rows) {
    measured_test test(synthetic_erg());
    waveMeasurementModel& m = *test.model;
    m.slope_switch = r.slope_switch;
    test.find();
    EXPECT_NEAR(m.baseline_slope.value(), r.slope, 1e-9);
    EXPECT_NEAR(m.baseline_intercept.value(), r.intercept, 1e-9);
    EXPECT_EQ(m.awave_point.value(), -21.0);
    EXPECT_EQ(m.awave_time.value(), 20.0);
    EXPECT_EQ(m.bwave_point.value(), 75.0);
    EXPECT_EQ(m.bwave_time.value(), 50.0);
    EXPECT_EQ(m.awave_implicit_time.value(), 20.0);
    EXPECT_EQ(m.bwave_implicit_time.value(), 50.0);
    EXPECT_NEAR(m.awave_amplitude.value(), r.a_amplitude, 1e-9);
    EXPECT_NEAR(m.abs_awave_amplitude.value(), -r.a_amplitude, 1e-9);
    EXPECT_NEAR(m.bwave_amplitude.value(), r.b_amplitude, 1e-9);
    EXPECT_NEAR(m.ba_ratio.value(), r.ratio, 1e-9);
    EXPECT_NEAR(m.baseline_at_left_time.value(), r.intercept, 1e-9);
    EXPECT_NEAR(m.baseline_at(10.0), r.intercept + 10.0 * r.slope, 1e-9);
    EXPECT_EQ(m.baseline_right_time.value(), 199.75 - 20.0);
  }
}

// A test's stored trace is measured without making its points, to the same
// values as once they are made.
TEST(WaveMeasurement, AStoredTraceIsMeasuredWithoutMakingItsPoints) {
  measured_test test(synthetic_erg());
  waveMeasurementModel& m = *test.model;
  auto values = [&m] {
    return std::vector<double>{m.awave_point.value(), m.awave_time.value(),         m.bwave_point.value(),
                               m.bwave_time.value(),  m.baseline_intercept.value(), m.baseline_right_time.value()};
  };
  test.find();
  const std::vector<double> pending = values();
  EXPECT_TRUE(test.entry->active_trace()->points_pending());
  EXPECT_TRUE(test.trace->points_pending());
  EXPECT_NE(test.entry->active_trace()->points(), nullptr);
  test.find();
  EXPECT_EQ(values(), pending);
}

TEST(WaveMeasurement, TiesKeepTheEarliestPoint) {
  // Points every 1 mS from -2 mS: the maximum 9 twice, the minimum -3 twice
  // before it.
  measured_test test({0, 0, 5, -3, 1, -3, 9, 2, 9, 0}, 1.0, 10, 2);
  test.find(0.0, 7.0);
  EXPECT_EQ(test.model->bwave_time.value(), 4.0);
  EXPECT_EQ(test.model->awave_time.value(), 1.0);

  // A maximum at the window's first point: no a-wave point is examined.
  measured_test first({0, 0, 9, -3, 1}, 1.0, 5, 2);
  first.model->awave_time.set_value(-7.0);
  first.find(0.0, 2.0);
  EXPECT_EQ(first.model->bwave_time.value(), 0.0);
  EXPECT_EQ(first.model->awave_point.value(), 200000.0);
  EXPECT_EQ(first.model->awave_time.value(), -7.0);
}

TEST(WaveMeasurement, WindowsClampedToTheTraceAndEmptyOnesChangeNothing) {
  measured_test test(synthetic_erg());
  waveMeasurementModel& m = *test.model;
  test.find(-1000.0, 1e9);  // clamped to the whole trace
  EXPECT_EQ(m.bwave_time.value(), 50.0);

  struct {
    double t_start, t_end;
  } empty[] = {{300.0, 400.0}, {-90.0, -60.0}, {100.0, 50.0}, {0.0, -1e300}};
  for (const auto& w : empty) {
    m.bwave_point.set_value(1.5);
    m.baseline_intercept.set_value(2.5);
    test.find(w.t_start, w.t_end);
    EXPECT_EQ(m.bwave_point.value(), 1.5) << w.t_start;
    EXPECT_EQ(m.baseline_intercept.value(), 2.5) << w.t_start;
  }

  traceClass nothing;
  m.find_ab_waves(nothing, 0.0, 150.0, *test.record, 1);
  EXPECT_EQ(m.bwave_point.value(), 1.5);
}

TEST(WaveMeasurement, FlatAndShortTracesTerminate) {
  message_capture capture;
  // Flat at 100 uV, with too few pre-flash points for a line: the fitted
  // value stays below the trace, and the right end stops at the trace's start.
  measured_test flat(std::vector<int32_t>(100, 100), 1.0, 250, 2);
  flat.find();
  EXPECT_EQ(flat.model->bwave_point.value(), 100.0);
  EXPECT_GE(flat.model->baseline_right_time.value(), flat.trace->x(0));

  for (uint32_t n = 1; n <= 3; n++) {
    measured_test short_trace(std::vector<int32_t>(n, 4), 1.0, n, n > 1 ? 1 : 0);
    short_trace.find();
    EXPECT_EQ(short_trace.model->bwave_point.value(), 4.0) << n;
  }
}

// A flicker test has no pre-flash points: its baseline is level at the
// trace's mean, not at the microvolts of a raw zero.
TEST(WaveMeasurement, WithoutPreFlashPointsTheBaselineIsLevelAtTheTracesMean) {
  measured_test test({200, 100, 0, 100, 200, 100, 0, 100}, 1.0, 250, 0);
  test.model->slope_switch = 0;
  test.find();
  const traceClass& trace = *test.entry->active_trace();
  double mean = 0.0;
  for (int32_t i = 0; i < trace.get_count(); i++) mean += trace.y(i) / trace.get_count();
  EXPECT_EQ(test.model->baseline_slope.value(), 0.0);
  EXPECT_NEAR(test.model->baseline_intercept.value(), mean, 1e-9);
  EXPECT_NEAR(mean, 100.0, 1e-9);
}

TEST(WaveMeasurement, BaRatio) {
  measured_test test({1, 2, 3});
  waveMeasurementModel& m = *test.model;
  m.baseline_intercept.set_value(0.0);
  m.awave_time.set_value(0.0);
  m.bwave_time.set_value(0.0);
  m.awave_point.set_value(-20.0);
  m.bwave_point.set_value(20.0);  // 40 uV over the a-wave
  EXPECT_EQ(m.bwave_amplitude.value(), 40.0);
  EXPECT_EQ(m.ba_ratio.value(), 2.0);
  m.awave_point.set_value(0.0);
  EXPECT_EQ(m.ba_ratio.value(), 0.0);
}

TEST(WaveMeasurement, WindowEndOfATest) {
  auto record = make_record();
  record->Config.PostTime = 180;
  record->Config.RepeatInterval = 33;
  struct {
    char16_t flicker;
    int32_t version;
    double end;
  } cases[] = {{u'N', 2000, 150.0}, {u'Y', 2999, 180.0}, {u'Y', 3000, 33.0}, {u'Y', 0, 180.0}};
  for (const auto& c : cases) {
    record->FlickerMark = c.flicker;
    record->ProgramVersion = c.version;
    EXPECT_EQ(ab_window_end(*record), c.end) << c.version;
  }
}

}  // namespace
