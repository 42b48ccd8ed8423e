// waveMeasurementModel: the ERG parameters of one test as named, linked
// value objects: a straight baseline fitted to the pre-flash part of the
// trace, the a-wave (the trough before the b-wave) and the b-wave (the
// peak), and what follows from them (amplitudes from the baseline, implicit
// times, the b/a ratio). find_ab_waves fills the four detected values; a
// display bound to any value follows its changes through the links.
#ifndef DESKTOP_DATA_WAVE_MEASUREMENT_H
#define DESKTOP_DATA_WAVE_MEASUREMENT_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/values/double_objects.h"
#include "handheld/engine/storage/stored_records.h"
#include "desktop/winlib/values/string_object.h"
#include "desktop/data/trace.h"
#include "desktop/data/wave_values.h"

class tracePlusClass;

// The b/a ratio when its arguments cannot be read.
constexpr double ba_ratio_unresolved = -9876.543;

// The end of a test's detection window in mS: 150.0; for a flicker test the
// post-flash data time below version 3000, else the flash interval.
double ab_window_end(const testFileRecord& record);

class waveMeasurementModel {
 public:
  // record and entry belong to the thumbnail and outlive the model.
  waveMeasurementModel(testFileRecord* record, tracePlusClass* entry);
  waveMeasurementModel(const waveMeasurementModel&) = delete;
  waveMeasurementModel& operator=(const waveMeasurementModel&) = delete;

  // Fits the baseline, then finds the b-wave (the first maximum of the
  // stored values between the points nearest t_start and t_end) and the
  // a-wave (the first minimum before it), without passing the changes on;
  // with propagate 1 the six detected values then pass them on. A window
  // that lies outside the trace is clamped to it; an empty trace or an
  // empty window changes nothing.
  void find_ab_waves(const traceClass& trace, double t_start, double t_end, const testFileRecord& record,
                     int propagate);
  // The baseline fit alone; returns the baseline intercept.
  double fit_baseline(const traceClass& trace, const testFileRecord& record);
  // fit_baseline on the entry's active trace and the model's record.
  double refit_baseline();

  // Whether the latest search found the wave: a search that finds none
  // leaves its no-value marker in the point, which is never shown as a value
  // ("---" instead).
  bool awave_found();
  bool bwave_found();

  // slope * x + intercept of the baseline.
  double baseline_at(double x);
  // Holds the baseline slope at zero.
  void zero_baseline_slope();

  uint8_t slope_switch = 1;  // 1: the baseline slope is held at zero
  doubleObject baseline_slope;
  doubleObject baseline_intercept;
  doubleObject baseline_left_time;
  yOfXObject baseline_at_left_time;
  doubleObject baseline_right_time;
  yOfXObject baseline_at_right_time;
  yOfXObject baseline_at_awave_time;
  yOfXObject baseline_at_bwave_time;
  doubleObject bwave_point;
  doubleObject awave_point;
  doubleObject bwave_time;
  doubleObject awave_time;
  testFileRecord* record;
  tracePlusClass* entry;
  doubleObject amplitude_slope;
  doubleObject amplitude_intercept;
  indirectObject sweep_count;
  doubleObject elapsed_seconds;
  doubleEchoObject awave_implicit_time;
  subtractObject awave_amplitude;
  absoluteObject abs_awave_amplitude;
  subtractObject bwave_amplitude;
  doubleEchoObject bwave_implicit_time;
  subtractObject bwave_over_baseline;
  doubleObject ba_ratio;
  stringObjectClass test_name;
  byteObjectClass label;
};

#endif
