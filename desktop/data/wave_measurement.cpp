#include "desktop/data/wave_measurement.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/math/straight_line_fit.h"
#include "desktop/data/record_fields.h"

namespace {

// The right end of the baseline starts this far before the trace's end and
// moves left in steps until the fitted line reaches the trace's values.
constexpr double right_time_margin = 20.0;
constexpr double right_time_step = 5.0;
// Enough steps to cross the longest block the unit stores.
constexpr int right_time_step_limit = 200000;

constexpr double no_bwave_yet = -200000.0;
constexpr double no_awave_yet = 200000.0;

// |b-wave amplitude / a-wave amplitude|; 0.0 for an a-wave of exactly 0.0.
double ba_ratio_routine(referenceNodeClass* first_link) {
  linkClass* args[2] = {nullptr, nullptr};
  double b = 0.0, a = 0.0;
  if (!resolve_arguments(2, first_link, args) || !args[0]->numeric_value(&b) || !args[1]->numeric_value(&a)) {
    return ba_ratio_unresolved;
  }
  if (a == 0.0) return 0.0;
  return std::fabs(b / a);
}

// A trace's displayed coordinates, read from its points; points not made
// yet are made for this reading alone into a buffer kept for the next, so
// that measuring a trace nothing shows keeps no points of it.
class traceReading {
 public:
  explicit traceReading(const traceClass& trace)
      : trace_(trace), points_(trace.read_points(scratch())), count_(trace.get_count()) {}
  int32_t count() const { return count_; }
  const xyPair* points() const { return points_; }
  // As traceClass::x and y.
  double x(int32_t i) const { return (points_[i].x + trace_.x_offset()) * trace_.x_factor; }
  double y(int32_t i) const { return (points_[i].y + trace_.y_offset()) * trace_.y_factor; }
  double last_time() const { return count_ > 0 ? x(count_ - 1) : 0.0; }

 private:
  static std::vector<xyPair>& scratch() {
    thread_local std::vector<xyPair> points;
    return points;
  }
  const traceClass& trace_;
  const xyPair* points_;
  int32_t count_;
};

// The baseline fit of waveMeasurementModel::fit_baseline on a reading.
double fit_baseline_on(waveMeasurementModel& model, const traceReading& trace, const testFileRecord& test_record) {
  int32_t n = trace.count();
  blockFields fields{0, 1.0, 1, 0};
  bool block_ok = read_block_fields(test_record.Average, fields);
  if (n < 1) return model.baseline_intercept.value();
  if (!block_ok || fields.pretrigger == 0) {
    // No pre-flash points to fit (a flicker test starts at a flash): a level
    // baseline at the trace's mean, about which a flicker response swings.
    // (The microvolts of a raw zero, the record's offset, lie far from any
    // signal and made every amplitude meaningless.)
    double sum = 0.0;
    for (int32_t i = 0; i < n; i++) sum += trace.y(i);
    model.baseline_slope.set_value(0.0);
    model.baseline_intercept.set_value(sum / n);
    model.baseline_right_time.set_value(trace.last_time() - right_time_margin);
    return model.baseline_intercept.value();
  }
  int capacity = static_cast<int>(static_cast<double>(fields.count) * fields.pretrigger / fields.total_time);
  lineFit fit(std::max(capacity, 0));
  for (int32_t i = 0; i < n && trace.x(i) <= 0.0; i++) fit.add_point(trace.x(i), trace.y(i));
  model.baseline_slope.set_value(model.slope_switch ? 0.0 : fit.slope());
  model.baseline_intercept.set_value(fit.intercept());

  double lowest = trace.y(0);
  for (int32_t i = 1; i < n; i++) lowest = std::min(lowest, trace.y(i));
  double first = trace.x(0);
  double right = trace.last_time() - right_time_margin;
  for (int steps = 0; steps < right_time_step_limit && fit.value(right) < lowest && right - right_time_step >= first;
       steps++) {
    right -= right_time_step;
  }
  model.baseline_right_time.set_value(right);
  return model.baseline_intercept.value();
}

}  // namespace

double ab_window_end(const testFileRecord& record) {
  if (record.FlickerMark != u'Y') return 150.0;
  if (record.ProgramVersion < 3000) return record.Config.PostTime;
  return record.Config.RepeatInterval;
}

waveMeasurementModel::waveMeasurementModel(testFileRecord* test_record, tracePlusClass* trace_entry)
    : record(test_record), entry(trace_entry) {
  baseline_slope.set_name("BaselineSlope");
  baseline_intercept.set_name("BaselineIntercept");
  baseline_at_left_time.set_name("BaselineFlashTime_uV");
  baseline_at_right_time.set_name("BaselineRightTime_uV");
  bwave_point.set_name("Bwave_uV");
  awave_point.set_name("Awave_uV");
  bwave_time.set_name("Bwave_mS");
  awave_time.set_name("Awave_mS");
  amplitude_slope.set_name("AmplitudeSlope");
  amplitude_intercept.set_name("AmplitudeIntercept");
  awave_implicit_time.set_name("AwaveImplicitTime");
  awave_amplitude.set_name("AwaveActualAmplitude");
  abs_awave_amplitude.set_name("fabsAwaveAmplitude");
  bwave_amplitude.set_name("BwaveAmplitude");
  bwave_implicit_time.set_name("BwaveImplicitTime");

  baseline_intercept.set_value(0.0);
  if (record) {
    amplitude_slope.set_value(record->Config.Scale);
    amplitude_intercept.set_value(record->Config.Offset);
    sweep_count.set_target(&record->Average.Divisor, indirectObject::kind_double);
  }

  awave_amplitude.add_arguments(&awave_point, &baseline_at_awave_time, nullptr);
  awave_implicit_time.add_arguments(&awave_time, nullptr);
  bwave_over_baseline.add_arguments(&bwave_point, &baseline_at_bwave_time, nullptr);
  bwave_amplitude.add_arguments(&bwave_over_baseline, &awave_amplitude, nullptr);
  abs_awave_amplitude.add_arguments(&awave_amplitude, nullptr);
  bwave_implicit_time.add_arguments(&bwave_time, nullptr);
  ba_ratio.define_routine(ba_ratio_routine, &bwave_amplitude, &abs_awave_amplitude, nullptr);
  baseline_at_left_time.add_arguments(&baseline_left_time, &baseline_slope, &baseline_intercept, nullptr);
  baseline_at_right_time.add_arguments(&baseline_right_time, &baseline_slope, &baseline_intercept, nullptr);
  baseline_at_awave_time.add_arguments(&awave_implicit_time, &baseline_slope, &baseline_intercept, nullptr);
  baseline_at_bwave_time.add_arguments(&bwave_implicit_time, &baseline_slope, &baseline_intercept, nullptr);

  baseline_left_time.set_value(0.0);
  baseline_right_time.set_value((entry ? entry->active_last_x() : 0.0) - right_time_margin);
  zero_baseline_slope();
}

bool waveMeasurementModel::awave_found() { return awave_point.value() != no_awave_yet; }

bool waveMeasurementModel::bwave_found() { return bwave_point.value() != no_bwave_yet; }

double waveMeasurementModel::baseline_at(double x) { return baseline_slope.value() * x + baseline_intercept.value(); }

void waveMeasurementModel::zero_baseline_slope() {
  slope_switch = 1;
  baseline_slope.set_value(0.0);
}

double waveMeasurementModel::refit_baseline() {
  if (!entry || !record) return baseline_intercept.value();
  return fit_baseline(*entry->active_trace(), *record);
}

double waveMeasurementModel::fit_baseline(const traceClass& trace, const testFileRecord& test_record) {
  return fit_baseline_on(*this, traceReading(trace), test_record);
}

void waveMeasurementModel::find_ab_waves(const traceClass& trace, double t_start, double t_end,
                                         const testFileRecord& test_record, int propagate) {
  int32_t n = trace.get_count();
  if (n < 1) return;
  const traceReading reading(trace);
  const xyPair* points = reading.points();
  double first = points[0].x;
  double last = points[n - 1].x;
  if (!(t_start <= t_end) || t_end < first || t_start > last) return;
  int32_t i0 = nearest_point_index(points, n, std::max(t_start, first));
  int32_t i1 = nearest_point_index(points, n, std::min(t_end, last));
  if (i0 < 0 || i1 < i0) return;

  fit_baseline_on(*this, reading, test_record);

  linkClass* quiet[] = {&bwave_point, &awave_point, &bwave_time, &awave_time, &baseline_at_left_time,
                        &baseline_at_right_time};
  for (linkClass* value : quiet) value->set_active(false);

  std::vector<double> y;
  y.reserve(static_cast<size_t>(i1 - i0 + 1));
  for (int32_t i = i0; i <= i1; i++) y.push_back(points[i].y);

  bwave_point.set_value(no_bwave_yet);
  awave_point.set_value(no_awave_yet);
  int32_t b_index = -1;
  for (int32_t k = 0; k <= i1 - i0; k++) {
    if (bwave_point.value() < y[k]) {
      bwave_point.set_value(y[k]);
      bwave_time.set_value(reading.x(i0 + k));
      b_index = k;
    }
  }
  for (int32_t k = 0; k < b_index; k++) {
    if (awave_point.value() > y[k]) {
      awave_point.set_value(y[k]);
      awave_time.set_value(reading.x(i0 + k));
    }
  }

  for (linkClass* value : quiet) value->set_active(true);
  if (propagate == 1) {
    for (linkClass* value : quiet) value->propagate();
  }
}
