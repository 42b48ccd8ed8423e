// No stored value makes loading or measuring a test loop or crash: every
// numeric field of the record and of its block headers, in turn, at each
// value that breaks careless code, on a flash test and on a flicker test,
// through what the desktop does with a test before it paints it. A watchdog
// ends the run, naming the case, when one of them does not end.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/graph/axis_map.h"
#include "desktop/data/block_traces.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/record_field_cases.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/wave_measurement.h"
#include "desktop/winlib/tests/watchdog.h"

namespace {

// A flicker response of 50 points per flash at 30 Hz, or a flash response,
// in raw counts.
std::vector<int32_t> response(int n) {
  std::vector<int32_t> v(static_cast<size_t>(n));
  for (int i = 0; i < n; i++) v[static_cast<size_t>(i)] = static_cast<int32_t>(std::lround(400.0 * std::sin(i / 8.0)));
  return v;
}

std::unique_ptr<testFileRecord> base_record(bool flicker) {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->FlickerMark = flicker ? u'Y' : u'N';
  record->Config.Intensity = 3000;
  record->Config.RepeatCount = flicker ? 30 : 1;
  record->Config.RepeatInterval = flicker ? 33 : 1000;
  record->Config.SampleRate = 2000;
  record->Config.PreTime = flicker ? 0 : 20;
  record->Config.PostTime = flicker ? 33 : 180;
  uint32_t pre = flicker ? 0 : 20;
  fill_block(record->Average, response(400), 10.0, 200, pre);
  fill_block(record->LastSweep, response(400), 1.0, 200, pre);
  return record;
}

// What a thumbnail does with a test before painting: its trace from the
// average, the samples, the filters, the a-/b-wave, the axes' ticks.
void load_and_measure(const testFileRecord& record) {
  std::unique_ptr<traceClass> trace(make_trace_from_block(record, record.Average, 3));
  if (!trace) return;  // refused, with its message
  samplesListClass samples;
  samples.add_sample(record, record.LastSweep, 0);
  samples.add_sample(record, record.Average, 1);
  tracePlusClass entry(trace.get());
  entry.set_sample_list(&samples);
  entry.set_spike_filter(1);
  entry.set_60hz_filter(1);
  entry.set_lowpass_filter(1, 150.0);
  waveMeasurementModel model(const_cast<testFileRecord*>(&record), &entry);
  model.find_ab_waves(*entry.active_trace(), 0.0, ab_window_end(record), record, 1);
  model.refit_baseline();
  const traceClass& shown = *entry.active_trace();
  axisMap x;
  axisMap y;
  x.set_pixels(10.0, 300.0);
  y.set_pixels(200.0, 10.0);
  if (shown.get_count() > 0) {
    x.set_data(shown.x(0), shown.x(shown.get_count() - 1));
    y.set_data(shown.ymin(), shown.ymax());
  }
  plan_axis_ticks(x, 20.0, false);
  plan_axis_ticks(y, 8.0, true);
  // The marks are drawn from the model's values.
  axisMap marks = y;
  marks.set_data(std::fmin(model.awave_point.value(), model.bwave_point.value()),
                 std::fmax(model.awave_point.value(), model.bwave_point.value()));
  plan_axis_ticks(marks, 8.0, true);
}

}  // namespace

TEST(StoredValues, NoFieldValueMakesLoadingOrMeasuringLoopOrCrash) {
  const std::vector<recordFieldCase> cases = record_field_cases();
  for (bool flicker : {false, true}) {
    for (const recordFieldCase& c : cases) {
      std::string name = std::string(flicker ? "flicker test, " : "flash test, ") + c.name;
      SCOPED_TRACE(name);
      auto record = base_record(flicker);
      c.apply(*record);
      // Through the bytes of a file, as a test is read.
      std::vector<uint8_t> bytes = test_file_bytes(*record);
      testFileRecord read{};
      ASSERT_TRUE(test_record_from_bytes(bytes.data() + 1, bytes.size() - 1, read));
      message_capture capture;
      watchdog bound(name);
      load_and_measure(read);
    }
  }
}
