#include "handheld/engine/electrodes/electrode_measurements.h"

#include <math.h>
#include <stdarg.h>
#include <stdio.h>

#include <mutex>
#include <vector>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/electrodes/electrode_screen.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/acquisition/running_average.h"
#include "handheld/engine/acquisition/sample_statistics.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/acquisition/sweep_collection.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/hardware/sync_input.h"
#include "handheld/engine/hardware/thread_priority.h"
#include "platform/ce/unit_clock.h"

electrodeMonitorState electrode_monitor;
electrodeResults electrode_results;

namespace {

const uint32_t READ_OK = 3;
const int FIT_CAPACITY = 100;
const int WINDOW_POINTS = 50;
const int SAMPLES_PER_PASS = 50000;
const uint32_t SETTLE_MS = 2999;
const uint32_t SYNC_WAIT_MS = 500;
const int CAPTURE_MS = 110;
const int BASELINE_CAPTURE_MS = 60;
const int CAPTURE_MAX_POINTS = 3000;
const int STABILISE_RATE = 15000;
const int BLACK = 5;  // the texts below the graph
const int BLUE = 3;
const int RED = 0;    // captures and averages
const int WHITE = 7;  // the stabilisation's window means
const int LIMIT_PEN = 15;  // dashed white

// A text on a row below the graph.
void show_row(int colour, int row, int column, const char* format, ...) __attribute__((format(printf, 4, 5)));
void show_row(int colour, int row, int column, const char* format, ...) {
  char text[64];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  electrode_screen().row_text(colour, row, column, text);
}

// A pass of the stabilisation: the plot erased and the limits drawn.
void draw_stabilise_pass(double zero_limit) {
  electrodeScreen& screen = electrode_screen();
  screen.draw_axes();
  screen.line(LIMIT_PEN, 0, zero_limit, SAMPLES_PER_PASS + 100, zero_limit);
  screen.line(LIMIT_PEN, 0, -zero_limit, SAMPLES_PER_PASS + 100, -zero_limit);
}

// A capture's values: the collector's last index + 1, within what it may hold.
int captured_points(const samplesBlock& block) {
  int n = block.PointCount + 1;
  if (n < 0) n = 0;
  if (n > CAPTURE_MAX_POINTS) n = CAPTURE_MAX_POINTS;
  return n;
}

void select_adc(bool selected) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_ADC_SELECT_BIT, selected ? 0 : 1);
}

double fit_mean(const straightLineFit& fit) {
  double sum = 0.0;
  for (int i = 0; i < fit.count; ++i) sum += fit.points[i].y;
  return fit.count > 0 ? sum / fit.count : 0.0;
}

// The baseline's running average on a scale of +-25 uV around its middle,
// with its lowest and highest levels.
void draw_baseline_average(const testFileRecord& record) {
  const samplesBlock& averaged = record.Average;
  double min = 0.0, tmin = 0.0, max = 0.0, tmax = 0.0;
  if (!minmax(averaged, 0.05 * averaged.Time, 0.95 * averaged.Time, min, tmin, max, tmax, record.Config.Scale,
              record.Config.Offset)) {
    return;
  }
  electrodeScreen& screen = electrode_screen();
  const double middle = (max + min) / 2;
  screen.set_scale(0, 150, middle - 25, middle + 25);
  screen.draw_axes();
  screen.block(RED, averaged, record.Config.Scale, record.Config.Offset);
  screen.hline(11, min);
  screen.hline(12, max);
}

// Quality of a window of means against [NOISE]: 0 noisy, 1 marginal, 2 quiet.
int window_quality(double sd) {
  const double noise = system_parameter(PARAM_NOISE);
  if (sd > 0.5 * noise) return 0;
  if (sd > noise / 3.0) return 1;
  return 2;
}

const char* channel_name(int channel) { return channel == 0 ? "A" : "B"; }

}  // namespace

void init_electrode_monitor() {
  electrode_monitor.cancel = 0;
  electrode_monitor.busy = 0;
  electrode_monitor.mode = 0;
  electrode_monitor.impedance_valid = 0;
  electrode_monitor.stabilising = 0;
  electrode_monitor.stabilise_timed_out = 0;
  electrode_monitor.stabilise_failed = 0;
  electrode_monitor.stabilise_channel = 0;
  for (int c = 0; c < 2; ++c) {
    electrode_monitor.stabilise_noise[c] = MEASUREMENT_FAILED;
    line_fit_init(electrode_monitor.raw_window[c], FIT_CAPACITY);
    line_fit_init(electrode_monitor.means_window[c], FIT_CAPACITY);
  }
}

double channel_data_scale(int channel) { return calibration_table[channel == 0 ? 6 : 8].load(); }

double channel_data_offset(int channel) { return calibration_table[channel == 0 ? 7 : 9].load(); }

double impedance_line_ohms(int channel, int electrode, double uv) {
  // Slope entries of IMP_AE, IMP_AR, IMP_BE and IMP_BR; the intercept follows.
  static const int slope_entry[2][2] = {{4, 10}, {12, 14}};
  const int e = slope_entry[channel == 0 ? 0 : 1][electrode == 0 ? 0 : 1];
  return linear_value(calibration_table[e].load(), calibration_table[e + 1].load(), uv);
}

int sinewave_peaks(const int32_t* values, int count, double& mean_peak, double& mean_trough) {
  if (values == nullptr || count <= 0) return 0;
  if (count > kSamplesPerBlock) count = kSamplesPerBlock;

  // Smoothed over 3, the first and last three values kept.
  std::vector<int32_t> smooth(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    if (i < 3 || i >= count - 3) {
      smooth[i] = values[i];
    } else {
      const int64_t sum = static_cast<int64_t>(values[i - 1]) + values[i] + values[i + 1];
      smooth[i] = static_cast<int32_t>(sum / 3);
    }
  }

  int32_t max = smooth[0];
  int32_t min = smooth[0];
  for (int i = 1; i < count; ++i) {
    if (smooth[i] > max) max = smooth[i];
    if (smooth[i] < min) min = smooth[i];
  }
  const double span = static_cast<double>(max) - min;
  const double top = max - 0.25 * span;
  const double bottom = min + 0.25 * span;

  double peak_sum = 0.0, trough_sum = 0.0;
  int peaks = 0, troughs = 0;
  const int end = count - 3;
  int i = 0;
  while (i < end) {
    if (smooth[i] < bottom) {
      int32_t run_min = smooth[i];
      while (i < end && smooth[i] < bottom) {
        if (smooth[i] < run_min) run_min = smooth[i];
        ++i;
      }
      trough_sum += run_min;
      ++troughs;
    }
    if (i < end && smooth[i] > top) {
      int32_t run_max = smooth[i];
      while (i < end && smooth[i] > bottom) {
        if (smooth[i] > run_max) run_max = smooth[i];
        ++i;
      }
      peak_sum += run_max;
      ++peaks;
    } else {
      ++i;
    }
  }
  if (peaks == 0 || troughs == 0) return 0;
  mean_peak = peak_sum / peaks;
  mean_trough = trough_sum / troughs;
  return 1;
}

int sync_sinewave(testFileRecord& record, int tag) {
  if (!set_thread_priority_for("sinewave", COLLECTION_PRIORITY)) return 0;
  const bool synced = hardware.wait_while_gpio_bit(SYNC_INPUT.word, SYNC_INPUT.bit, SYNC_INPUT.mask(),
                                                   SYNC_WAIT_MS) == 1;
  if (!synced) {
    set_thread_priority_for("sinewave", ELECTRODE_REST_PRIORITY);
    send_8051_byte(COMMAND_SINE_OFF);
    engine_show_message(0, "*** sinewave (tag %d)\nNO SYNC PULSE RECEIVED FROM 8051 ***", tag);
    return 0;
  }
  const int status =
      collect_sweep(CAPTURE_MS, 0, &record.LastSweep, CAPTURE_MAX_POINTS, 0, 1, 300);
  set_thread_priority_for("sinewave2", ELECTRODE_REST_PRIORITY);
  if (status < 0) {
    send_8051_byte(COMMAND_SINE_OFF);
    engine_show_message(0, "*** sync_sinewave, ***\n*** ad_status = %d ***", status);
    return 0;
  }
  add_to_average_sample(record, nullptr, 1);
  return 1;
}

bool stabilize(int channel, testFileRecord& record, const char* caption, double zero_limit,
               double slope_limit, double time_limit_s) {
  channel = channel == 0 ? 0 : 1;
  electrode_monitor.stabilising = 1;
  electrode_monitor.stabilise_timed_out = 0;
  electrode_monitor.stabilise_failed = 0;
  electrode_monitor.stabilise_channel = channel;
  log_mesg("stabilize [%s]", caption != nullptr ? caption : "");

  send_8051_byte(COMMAND_DONE);
  unit_sleep_ms(5);
  electrodeScreen& screen = electrode_screen();
  screen.clear_rows();
  screen.push_scale(0, SAMPLES_PER_PASS + 100, -600, 600);
  screen.title(caption != nullptr ? caption : "");

  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  setup_adc(STABILISE_RATE, channel << 4, 8, 0);
  record.Config.SampleRate = STABILISE_RATE;

  straightLineFit& raw = electrode_monitor.raw_window[channel];
  straightLineFit& means = electrode_monitor.means_window[channel];
  const uint32_t t0 = unit_tick_ms();
  const double limit_ms = time_limit_s * 1000.0;
  show_row(BLACK, -3, 10, " ----  STABILIZING ----");
  select_adc(true);

  int quality = -1;
  bool timer_running = false;
  uint32_t timer_start = 0;
  bool settled = false, timed_out = false, cancelled = false;
  while (!settled && !timed_out && !cancelled) {
    line_fit_init(raw, FIT_CAPACITY);
    line_fit_init(means, FIT_CAPACITY);
    draw_stabilise_pass(zero_limit);
    for (int n = 0; n < SAMPLES_PER_PASS; ++n) {
      if (electrode_monitor.cancel.load()) {
        cancelled = true;
        break;
      }
      int32_t value = 0;
      set_thread_priority_for("stabilize", COLLECTION_PRIORITY);
      const uint32_t status = hardware.get_1255_data(&value);
      set_thread_priority_for("stabilize", ELECTRODE_REST_PRIORITY);
      if (status == READ_OK) {
        // A fixed scale, not the data calibration; in double, as the counts
        // times 750 overflow 32 bits.
        const double y = value * 750.0 / 4194304.0 - 750.0;
        line_fit_add(raw, n, y);
        if (raw.count == WINDOW_POINTS) {
          const double window_mean = fit_mean(raw);
          screen.point(WHITE, n - WINDOW_POINTS / 2, window_mean);
          line_fit_add(means, n, window_mean);
          line_fit_init(raw, FIT_CAPACITY);
        }
        if (means.count == WINDOW_POINTS) {
          const double sd = line_fit_residual_sd(means);
          quality = sd == kResultNotObtained ? 0 : window_quality(sd);
          const double slope = means.slope;
          const double mean = fit_mean(means);
          screen.plus(quality, n - WINDOW_POINTS * WINDOW_POINTS / 2, mean, 5);
          const bool in_limits = slope > -slope_limit && slope < slope_limit &&
                                 mean > -zero_limit && mean < zero_limit;
          if (quality == 2 && in_limits) {
            const uint32_t now = unit_tick_ms();
            if (!timer_running) {
              timer_running = true;
              timer_start = now;
            } else if (now - timer_start > SETTLE_MS) {
              settled = true;
            }
          } else {
            timer_running = false;
          }
          const double elapsed_s = (unit_tick_ms() - t0) / 1000.0;
          show_row(BLACK, -3, 6, "%3d", static_cast<int>(time_limit_s - elapsed_s));
          if (sd != kResultNotObtained) {
            electrode_monitor.stabilise_noise[channel] = sqrt(10.0 * sd);
            show_row(BLACK, -2, channel == 0 ? 5 : 15, "%s: %5.2lf ", channel_name(channel), sqrt(10.0 * sd));
          }
          line_fit_init(means, FIT_CAPACITY);
          if (settled) break;
        }
      }
      if (static_cast<double>(unit_tick_ms() - t0) > limit_ms) {
        timed_out = true;
        break;
      }
    }
  }

  hardware.wait_till_xmit_fifo_empty();
  select_adc(false);
  screen.pop_scale();
  electrode_monitor.stabilising = 0;
  if (cancelled) return false;
  if (quality != 2) {
    electrode_monitor.stabilise_failed = 1;
    if (timed_out) electrode_monitor.stabilise_timed_out = 1;
    return false;
  }
  if (timed_out) {
    electrode_monitor.stabilise_timed_out = 1;
    return false;
  }
  return true;
}

double impedance(int electrode, int channel, testFileRecord& record, double time_limit_s,
                 double& mean_peak, double& mean_trough) {
  channel = channel == 0 ? 0 : 1;
  char caption[64];
  snprintf(caption, sizeof caption, "impedance, CH %s, %s", channel_name(channel),
           electrode == 0 ? "EYE" : "REF");
  set_thread_priority_for("stabilizea", COLLECTION_PRIORITY);
  const bool settled = stabilize(channel, record, caption, 100.0, 0.001, time_limit_s);
  set_thread_priority_for("stabilizea2", ELECTRODE_REST_PRIORITY);
  if (!settled) return MEASUREMENT_FAILED;

  electrodeScreen& screen = electrode_screen();
  screen.push_scale(0, 100, -750, 750);
  screen.draw_axes();
  show_row(BLACK, -3, 10, " ----   MEASURING  ----");
  send_8051_byte(electrode == 0 ? COMMAND_SINE_EYE : COMMAND_SINE_REFERENCE);
  unit_sleep_ms(20);
  clear_test_samples(record);

  const double scale = channel_data_scale(channel), offset = channel_data_offset(channel);
  double peak_sum = 0.0, trough_sum = 0.0;
  static const int tags[5] = {100, 0, 1, 2, 3};
  for (int tag : tags) {
    if (!sync_sinewave(record, tag)) {
      screen.pop_scale();
      return MEASUREMENT_FAILED;
    }
    const samplesBlock& capture = record.LastSweep;
    screen.block(RED, capture, scale, offset);
    if (tag == tags[0]) {
      screen.hline(14, average(capture, 0.05 * capture.Time, 0.95 * capture.Time, scale, offset));
    }
    double peak = 0.0, trough = 0.0;
    const int points = captured_points(record.LastSweep) * 9 / 10;
    if (!sinewave_peaks(record.LastSweep.Data, points, peak, trough)) {
      send_8051_byte(COMMAND_SINE_OFF);
      log_mesg("*** impedance, CH %s: no sinewave in capture (tag %d) ***", channel_name(channel),
               tag);
      screen.pop_scale();
      return MEASUREMENT_FAILED;
    }
    peak_sum += peak;
    trough_sum += trough;
  }
  mean_peak = peak_sum * 0.2;
  mean_trough = trough_sum * 0.2;
  send_8051_byte(COMMAND_SINE_OFF);
  const samplesBlock& averaged = record.Average;
  double min = 0.0, tmin = 0.0, max = 0.0, tmax = 0.0;
  if (minmax(averaged, 0.05 * averaged.Time, 0.95 * averaged.Time, min, tmin, max, tmax, scale, offset)) {
    screen.plus(BLUE, tmin, min, 10);
    screen.plus(BLUE, tmax, max, 10);
  }
  screen.hline(9, mean_peak * scale + offset);
  screen.hline(9, mean_trough * scale + offset);
  show_row(BLUE, -3, 10, " ----     DONE     ----");
  screen.pop_scale();
  return (mean_peak - mean_trough) * scale;
}

double baseline(int channel, testFileRecord& record) {
  channel = channel == 0 ? 0 : 1;
  char caption[32];
  snprintf(caption, sizeof caption, "baseline, CH %s", channel_name(channel));
  if (!stabilize(channel, record, caption, 300.0, 0.01, 60.0)) return MEASUREMENT_FAILED;

  electrodeScreen& screen = electrode_screen();
  screen.push_scale(0, 150, -600, 600);
  show_row(BLACK, -3, 10, " ----    RUNNING   ----");
  clear_test_samples(record);
  set_thread_priority_for("baseline", COLLECTION_PRIORITY);
  straightLineFit trend;
  for (int k = 0; k < 4; ++k) {
    const int status =
        collect_sweep(BASELINE_CAPTURE_MS, 0, &record.LastSweep, CAPTURE_MAX_POINTS, 0, 1, 300);
    if (status < 0) {
      set_thread_priority_for("baseline2", ELECTRODE_REST_PRIORITY);
      engine_show_message(0, "*** sync_sinewave, ***\n*** ad_status = %d ***", status);
      screen.pop_scale();
      return MEASUREMENT_FAILED;
    }
    const int points = captured_points(record.LastSweep);
    line_fit_init(trend, 4000);
    for (int i = 0; i < points; ++i) line_fit_add(trend, i, record.LastSweep.Data[i]);
    for (int i = 0; i < points; ++i) {
      const double detrended =
          static_cast<double>(static_cast<int32_t>(line_fit_value(trend, i))) -
          record.LastSweep.Data[i] + 4194304.0;
      record.LastSweep.Data[i] = static_cast<int32_t>(detrended);
    }
    add_to_average_sample(record, nullptr, 1);
    draw_baseline_average(record);
  }
  set_thread_priority_for("baseline2", ELECTRODE_REST_PRIORITY);

  const samplesBlock& averaged = record.Average;
  double min = 0.0, tmin = 0.0, max = 0.0, tmax = 0.0;
  const bool found = minmax(averaged, 0.05 * averaged.Time, 0.95 * averaged.Time, min, tmin, max, tmax,
                            record.Config.Scale, record.Config.Offset);
  if (found) show_row(BLUE, -3, 10, " ----     DONE     ----");
  screen.pop_scale();
  if (!found) return MEASUREMENT_FAILED;
  return fabs(max - min) / 2.0;
}
