#include "handheld/engine/electrodes/electrode_thread.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/stimulator/main_dialog_post.h"
#include "handheld/engine/storage/record_init.h"
#include "platform/ce/unit_clock.h"
#include "handheld/engine/threads/worker_event.h"

namespace {

// Woken by "Electrode_Event".
eventThread& worker() {
  static eventThread t;
  return t;
}

// The working record: the measurements' capture buffer.
testFileRecord& working_record() {
  static std::unique_ptr<testFileRecord> record(new testFileRecord());
  return *record;
}

void prepare_record(testFileRecord& record, int channel) {
  clear_test_samples(record);
  record.Config.Scale = channel_data_scale(channel);
  record.Config.Offset = channel_data_offset(channel);
}

// Measures one electrode into result; false when it failed.
bool measure_impedance(int channel, int electrode, std::atomic<double>& result) {
  testFileRecord& record = working_record();
  prepare_record(record, channel);
  double peak = 0.0, trough = 0.0;
  const double uv = impedance(electrode, channel, record, 30.0, peak, trough);
  if (uv == MEASUREMENT_FAILED) {
    result = MEASUREMENT_FAILED;
    return false;
  }
  result = impedance_line_ohms(channel, electrode, uv);
  return true;
}

void run_impedance() {
  electrode_monitor.impedance_valid = 1;
  bool ok = true;
  if (channels.a_on.load()) {
    ok = measure_impedance(0, 0, electrode_results.impedance_a_eye) &&
         measure_impedance(0, 1, electrode_results.impedance_a_ref);
  }
  if (ok && channels.b_on.load()) {
    ok = measure_impedance(1, 0, electrode_results.impedance_b_eye) &&
         measure_impedance(1, 1, electrode_results.impedance_b_ref);
  }
  if (!ok) electrode_monitor.impedance_valid = 0;
}

void run_baseline() {
  testFileRecord& record = working_record();
  const bool a_on = channels.a_on.load() != 0;
  if (a_on) {
    prepare_record(record, 0);
    electrode_results.baseline_a = baseline(0, record);
  }
  // Channel B follows a failed channel A, but never a stale value of a
  // channel that is not fitted.
  if (channels.b_on.load() && (!a_on || electrode_results.baseline_a != MEASUREMENT_FAILED)) {
    prepare_record(record, 1);
    electrode_results.baseline_b = baseline(1, record);
  }
}

void thread_main() {
  eventThread& t = worker();
  while (!t.quit.load()) {
    t.event.wait();
    if (t.quit.load()) break;
    electrode_monitor.busy = 1;
    do {
      run_electrode_request();
      unit_sleep_ms(200);
    } while (electrode_monitor.busy.load() && !t.quit.load());
  }
}

}  // namespace

void run_electrode_request() {
  electrode_monitor.busy = 1;
  if (electrode_monitor.mode.load() == ELECTRODE_MODE_IMPEDANCE) {
    run_impedance();
  } else {
    run_baseline();
  }
  electrode_monitor.busy = 0;
  if (!electrode_monitor.cancel.load()) {
    post_command_to_main_dialog(ELECTRODE_DONE_COMMAND, ELECTRODE_DONE_CODE);
  }
}

bool start_electrode_thread() {
  if (worker().start(thread_main)) return true;
  log_mesg("*** UNABLE TO CREATE Electrode THREAD ***");
  return false;
}

void signal_electrode_event() { worker().event.set(); }

void stop_electrode_thread() { worker().stop(); }
