#include "handheld/engine/electrodes/electrode_monitor.h"

#include <math.h>

#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/stimulator/main_dialog_post.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/hardware/thread_priority.h"
#include "platform/ce/unit_clock.h"
#include "handheld/engine/threads/worker_event.h"

monitorChannel monitor_channels[2];
monitorControl monitor_control;
monitorWindows monitor_windows;

namespace {

const uint32_t READ_OK = 3;
const int MEANS_WINDOW_POINTS = 5;
const int GOOD_PASSES_NEEDED = 7;

struct monitorThread : eventThread {  // woken by "electrodeTestEvent"
  std::unique_ptr<testFileRecord> record;  // the request's capture buffer
  // The windows' times count from the request's start: raw tick counts lose
  // the drift to rounding in the fit once the unit has been up for days, and
  // to the count's wrap after some 49.7 days.
  std::atomic<uint32_t> request_start_ms{0};
};

monitorThread& monitor() {
  static monitorThread t;
  return t;
}

void select_adc(bool selected) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_ADC_SELECT_BIT, selected ? 0 : 1);
}

void reset_channel(monitorChannel& m) {
  m.drift = 100.0;
  m.noise = 100.0;
  m.eye_ohms = 10000.0;
  m.ref_ohms = 10000.0;
  m.baseline_status = STATUS_NOT_MEASURED;
  m.noise_status = STATUS_NOT_MEASURED;
  m.eye_status = STATUS_NOT_MEASURED;
  m.ref_status = STATUS_NOT_MEASURED;
  m.good_passes = 0;
}

void not_measured(monitorChannel& m) {
  m.baseline_status = STATUS_NOT_MEASURED;
  m.noise_status = STATUS_NOT_MEASURED;
  m.eye_status = STATUS_NOT_MEASURED;
  m.ref_status = STATUS_NOT_MEASURED;
}

// Collects one burst of good readings into the burst window; false when the
// converter did not give them within the attempt and time limits.
bool read_burst() {
  regressionWindow& burst = monitor_windows.burst;
  window_reset(burst, BURST_READINGS);
  set_thread_priority_for("stabilize", COLLECTION_PRIORITY);
  const uint32_t start = unit_tick_ms();
  int good = 0;
  for (int attempt = 0; good < BURST_READINGS && attempt < BURST_ATTEMPT_LIMIT; ++attempt) {
    if (unit_tick_ms() - start > BURST_TIME_LIMIT_MS) break;
    int32_t value = 0;
    if (hardware.get_1255_data(&value) == READ_OK) {
      window_add(burst, unit_tick_ms(), value);
      ++good;
    }
  }
  set_thread_priority_for("stabilize", ELECTRODE_REST_PRIORITY);
  return good == BURST_READINGS;
}

// One impedance check; the electrode's sine is already on.
void monitor_impedance(int channel, int electrode) {
  monitorChannel& m = monitor_channels[channel];
  std::atomic<int>& status = electrode == 0 ? m.eye_status : m.ref_status;
  testFileRecord* record = monitor().record.get();
  if (record == nullptr) {
    status = STATUS_NOT_MEASURED;
    return;
  }
  status = STATUS_MEASURING;
  clear_test_samples(*record);
  double peak_sum = 0.0, trough_sum = 0.0;
  for (int tag = 0; tag < 5; ++tag) {
    if (!sync_sinewave(*record, tag)) {
      status = STATUS_NO_SYNC;
      return;
    }
    int points = record->LastSweep.PointCount + 1;
    if (points < 0) points = 0;
    if (points > kSamplesPerBlock) points = kSamplesPerBlock;
    double peak = 0.0, trough = 0.0;
    if (!sinewave_peaks(record->LastSweep.Data, points * 9 / 10, peak, trough)) {
      status = STATUS_NOT_MEASURED;
      return;
    }
    peak_sum += peak;
    trough_sum += trough;
  }
  const double uv = 0.2 * (peak_sum - trough_sum) * channel_data_scale(channel);
  const double ohms = impedance_line_ohms(channel, electrode, uv);
  (electrode == 0 ? m.eye_ohms : m.ref_ohms) = ohms;
  status = classify_impedance(ohms);
}

// One pass over the fitted channels.
void monitor_pass() {
  const bool fitted[2] = {channels.a_on.load() != 0, channels.b_on.load() != 0};
  for (int c = 0; c < 2; ++c) {
    if (!fitted[c]) continue;
    if (!monitor_baseline(c)) return;
    monitor_impedance_pair(c);
  }
}

void serve_request() {
  monitorThread& t = monitor();
  for (int c = 0; c < 2; ++c) {
    reset_channel(monitor_channels[c]);
    init_monitor_windows(c);
  }
  t.record.reset(new (std::nothrow) testFileRecord());
  if (t.record) {
    init_test_record(*t.record);
  } else {
    log_mesg("*** electrode monitor: no record for the impedance checks ***");
  }
  t.request_start_ms = unit_tick_ms();
  monitor_control.running = 1;
  while (monitor_control.active.load() && !t.quit.load()) {
    // The window's impedance choice is taken at each pass: the operator
    // turns the impedance check on and off while the check runs.
    monitor_control.impedance_latched = monitor_control.impedance_wanted.load();
    monitor_pass();
    // A window that closed meanwhile hears nothing more.
    if (!monitor_control.active.load() || t.quit.load()) break;
    post_to_dialog(NOTICE_TOP_DIALOG, MAIN_DIALOG_NOTICE, ELECTRODE_VALUES_READY, 0);
    t.event.wait();
  }
  t.record.reset();
  monitor_control.running = 0;
}

void thread_main() {
  monitorThread& t = monitor();
  window_reset(monitor_windows.burst, BURST_READINGS);
  while (!t.quit.load()) {
    t.event.wait();
    if (t.quit.load()) break;
    serve_request();
  }
}

}  // namespace

void init_monitor_windows(int channel) {
  window_reset(monitor_windows.first[channel], MEANS_WINDOW_POINTS);
  window_reset(monitor_windows.second[channel], MEANS_WINDOW_POINTS);
}

void classify_baseline(double level, double drift, int& status, int& good_passes) {
  const double average = system_parameter(PARAM_STABAVERAGE);
  const double slope = system_parameter(PARAM_STABSLOPE);
  if (fabs(level) > 2.0 * average || fabs(drift) > 2.0 * slope) {
    status = STATUS_OUT_OF_LIMITS;
    good_passes = 0;
  } else if (fabs(drift) > slope) {
    status = fabs(level) > average ? STATUS_OUT_OF_LIMITS : STATUS_MARGINAL;
    good_passes = 0;
  } else if (fabs(level) > average) {
    status = STATUS_MARGINAL;
    good_passes = 0;
  } else if (good_passes >= GOOD_PASSES_NEEDED) {
    status = STATUS_GOOD;
  } else {
    ++good_passes;
  }
}

int classify_noise(double noise) {
  const double limit = system_parameter(PARAM_NOISE);
  if (noise > 2.0 * limit) return STATUS_OUT_OF_LIMITS;
  if (noise > limit) return STATUS_MARGINAL;
  return STATUS_GOOD;
}

int classify_impedance(double ohms) {
  const double limit = system_parameter(PARAM_IMPEDANCE);
  if (ohms > limit + 1000.0 || ohms < 500.0) return STATUS_OUT_OF_LIMITS;
  if (ohms > limit) return STATUS_MARGINAL;
  return STATUS_GOOD;
}

bool monitor_baseline(int channel) {
  monitorChannel& m = monitor_channels[channel];
  const double scale = channel_data_scale(channel);
  const double offset = channel_data_offset(channel);

  send_8051_byte(COMMAND_DONE);
  unit_sleep_ms(5);
  bool burst_read = false;
  {
    std::lock_guard<std::recursive_mutex> hold(converter_lock());
    setup_adc(15000, channel << 4, 8, 0);
    select_adc(true);
    burst_read = read_burst();
    hardware.wait_till_xmit_fifo_empty();
    select_adc(false);
  }
  if (!burst_read) {
    log_mesg("*** electrode monitor: no readings from the converter on channel %s ***",
             channel == 0 ? "A" : "B");
    not_measured(m);
    return false;
  }

  regressionWindow& first = monitor_windows.first[channel];
  regressionWindow& second = monitor_windows.second[channel];
  regressionWindow& burst = monitor_windows.burst;
  const double now = static_cast<uint32_t>(unit_tick_ms() - monitor().request_start_ms.load());
  window_add(first, now, window_mean(burst));
  if (first.count == MEANS_WINDOW_POINTS) window_add(second, now, window_mean(first));
  if (second.count == MEANS_WINDOW_POINTS) {
    double intercept = 0.0, slope = 0.0;
    window_regression(second, intercept, slope);
    const double drift = slope * scale * 1000.0;
    const double level = window_mean(second) * scale + offset;
    m.drift = drift;
    m.level = level;
    int status = m.baseline_status.load();
    int passes = m.good_passes.load();
    classify_baseline(level, drift, status, passes);
    m.baseline_status = status;
    m.good_passes = passes;
  }
  if (m.baseline_status.load() != STATUS_GOOD) {
    m.noise_status = STATUS_NOT_MEASURED;
  } else {
    const double noise = window_sd(burst) * scale;
    m.noise = noise;
    m.noise_status = classify_noise(noise);
  }
  return true;
}

void monitor_impedance_pair(int channel) {
  monitorChannel& m = monitor_channels[channel];
  if (m.baseline_status.load() != STATUS_GOOD || !monitor_control.impedance_latched.load()) {
    m.eye_status = STATUS_NOT_MEASURED;
    m.ref_status = STATUS_NOT_MEASURED;
    return;
  }
  send_8051_byte(COMMAND_SINE_EYE);
  unit_sleep_ms(20);
  monitor_impedance(channel, 0);
  send_8051_byte(COMMAND_SINE_OFF);
  unit_sleep_ms(20);
  send_8051_byte(COMMAND_SINE_REFERENCE);
  unit_sleep_ms(20);
  monitor_impedance(channel, 1);
  send_8051_byte(COMMAND_SINE_OFF);
  unit_sleep_ms(20);
}

bool start_electrode_monitor_thread() {
  if (monitor().start(thread_main)) return true;
  log_mesg("*** UNABLE TO CREATE ElectrodeTest THREAD ***");
  return false;
}

void signal_electrode_monitor() { monitor().event.set(); }

void stop_electrode_monitor_thread() {
  monitor().stop([] { monitor_control.active = 0; });
}
