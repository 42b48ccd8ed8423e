// The electrode monitor: while the electrode check window is open, one pass
// per signal of its event ("electrodeTestEvent") measures each fitted
// channel's baseline level and drift, its noise once the baseline is
// stable, and optionally the impedance of its eye and reference electrodes;
// then it posts ELECTRODE_VALUES_READY to the top dialog, which shows the values and
// signals the event again for the next pass.
//
// Statuses: 0 out of limits, 1 marginal, 2 good (baseline: stable), 3 being
// measured, 5 no sync pulse, 6 not measured.
#ifndef HANDHELD_ENGINE_ELECTRODES_ELECTRODE_MONITOR_H
#define HANDHELD_ENGINE_ELECTRODES_ELECTRODE_MONITOR_H

#include <stdint.h>

#include <atomic>

#include "handheld/engine/acquisition/regression_window.h"

const int STATUS_OUT_OF_LIMITS = 0;
const int STATUS_MARGINAL = 1;
const int STATUS_GOOD = 2;
const int STATUS_MEASURING = 3;
const int STATUS_NO_SYNC = 5;
const int STATUS_NOT_MEASURED = 6;

// Good readings in one burst, and how long a burst may try for them.
const int BURST_READINGS = 50;
const int BURST_ATTEMPT_LIMIT = 1000;
const uint32_t BURST_TIME_LIMIT_MS = 200;

// One channel's published values, written before each notice.
struct monitorChannel {
  std::atomic<double> drift{100.0};  // uV per second
  std::atomic<double> level{0.0};    // uV
  std::atomic<double> noise{100.0};  // uV, standard deviation of a burst
  std::atomic<double> eye_ohms{10000.0};
  std::atomic<double> ref_ohms{10000.0};
  std::atomic<int> baseline_status{STATUS_NOT_MEASURED};
  std::atomic<int> noise_status{STATUS_NOT_MEASURED};
  std::atomic<int> eye_status{STATUS_NOT_MEASURED};
  std::atomic<int> ref_status{STATUS_NOT_MEASURED};
  std::atomic<int> good_passes{0};
};
extern monitorChannel monitor_channels[2];

// Flags shared with the electrode check window.
struct monitorControl {
  std::atomic<uint8_t> active{0};            // set by the window, cleared when it closes
  std::atomic<uint8_t> impedance_wanted{0};  // the window's impedance check choice
  std::atomic<uint8_t> running{0};           // set while a request is served
  std::atomic<uint8_t> impedance_latched{0}; // the choice at the start of the pass
};
extern monitorControl monitor_control;

// The burst window and, per channel, the first window (burst means) and the
// second window (means of the first). Used by the monitor thread only.
struct monitorWindows {
  regressionWindow burst;
  regressionWindow first[2];
  regressionWindow second[2];
};
extern monitorWindows monitor_windows;

// Clears a channel's first and second windows (capacity 5 each).
void init_monitor_windows(int channel);

// Starts the thread (once); false when it cannot be started.
bool start_electrode_monitor_thread();
// Signals "electrodeTestEvent".
void signal_electrode_monitor();
// Ends the thread: clears monitor active, signals the event and waits.
void stop_electrode_monitor_thread();

// The checks of one channel, as a pass runs them. monitor_baseline is false
// when the converter gave no burst (the channel is then marked not measured).
bool monitor_baseline(int channel);
void monitor_impedance_pair(int channel);

// The baseline status of the next pass from a level (uV) and a drift (uV/s)
// against [STABAVERAGE] and [STABSLOPE], and the current status and
// good-pass counter, which it updates.
void classify_baseline(double level, double drift, int& status, int& good_passes);
// The status of a measured noise (uV) against [NOISE], and of a measured
// impedance (ohms) against [IMPEDANCE].
int classify_noise(double noise);
int classify_impedance(double ohms);

#endif
