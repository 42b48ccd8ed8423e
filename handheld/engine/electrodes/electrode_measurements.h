// Electrode measurements: the signal's stabilisation, the impedance of one
// electrode through the stimulator's test sinewave, and a channel's
// baseline. They run on the electrode thread (electrode_thread.h), the
// electrode monitor (electrode_monitor.h) and the impedance calibration.
//
// Every measurement gives MEASUREMENT_FAILED when it was not obtained: a
// missing sync pulse, a collector error, a stabilisation that timed out or
// stayed noisy, or a cancel.
#ifndef HANDHELD_ENGINE_ELECTRODES_ELECTRODE_MEASUREMENTS_H
#define HANDHELD_ENGINE_ELECTRODES_ELECTRODE_MEASUREMENTS_H

#include <stdint.h>

#include <atomic>

#include "handheld/engine/acquisition/fit_values.h"
#include "handheld/engine/acquisition/line_fit.h"
#include "handheld/engine/storage/stored_records.h"

const double MEASUREMENT_FAILED = kResultNotObtained;

// Thread priority the measurements go back to after each read and capture.
const int ELECTRODE_REST_PRIORITY = 251;

const int ELECTRODE_MODE_BASELINE = 0;
const int ELECTRODE_MODE_IMPEDANCE = 1;

// The state shared by the electrode measurements and the user interface.
struct electrodeMonitorState {
  std::atomic<uint8_t> cancel{0};      // set by the user interface
  std::atomic<uint8_t> busy{0};        // set while a request runs (and to repeat one)
  std::atomic<uint8_t> mode{0};        // ELECTRODE_MODE_...
  std::atomic<uint8_t> impedance_valid{0};
  std::atomic<uint8_t> stabilising{0};
  std::atomic<uint8_t> stabilise_timed_out{0};
  std::atomic<uint8_t> stabilise_failed{0};
  std::atomic<int> stabilise_channel{0};
  // Each channel's noise as its stabilisation last read it (the square
  // root of 10 x a window's residual deviation), MEASUREMENT_FAILED before.
  std::atomic<double> stabilise_noise[2] = {{MEASUREMENT_FAILED}, {MEASUREMENT_FAILED}};
  straightLineFit raw_window[2];    // single samples, per channel
  straightLineFit means_window[2];  // window means, per channel
};
extern electrodeMonitorState electrode_monitor;

// Clears the flags and makes the four fits (capacity 100 each).
void init_electrode_monitor();

// The results, read by the result dialogs and the electrode check window.
struct electrodeResults {
  std::atomic<double> impedance_a_eye{MEASUREMENT_FAILED};
  std::atomic<double> impedance_a_ref{MEASUREMENT_FAILED};
  std::atomic<double> impedance_b_eye{MEASUREMENT_FAILED};
  std::atomic<double> impedance_b_ref{MEASUREMENT_FAILED};
  std::atomic<double> baseline_a{MEASUREMENT_FAILED};
  std::atomic<double> baseline_b{MEASUREMENT_FAILED};
};
extern electrodeResults electrode_results;

// The mean peak and mean trough of a sinewave of count values (at most
// kSamplesPerBlock): smoothed over 3, then every run above the upper quarter
// mark (lasting while above the lower mark) gives its maximum and every run
// below the lower mark its minimum. 1 with both means; 0 (means untouched)
// when either side has no run.
int sinewave_peaks(const int32_t* values, int count, double& mean_peak, double& mean_trough);

// One capture of 110 ms, in step with the stimulator's sync pulse, into the
// record's last-sweep block and added to its average. 1 on success; 0 when
// the priority cannot be raised, no sync pulse came within 500 ms or the
// collector failed (each with its message).
int sync_sinewave(testFileRecord& record, int tag);

// Waits until the channel's signal (0 A, 1 B) has settled within zero_limit
// uV and slope_limit uV a sample, for at most time_limit_s seconds. True when
// it settled; false on a time-out, a noisy signal or a cancel (the flags of
// electrode_monitor tell which).
bool stabilize(int channel, testFileRecord& record, const char* caption, double zero_limit,
               double slope_limit, double time_limit_s);

// The peak-to-peak microvolts of the test sinewave on an electrode (0 eye,
// 1 reference) of a channel, or MEASUREMENT_FAILED.
double impedance(int electrode, int channel, testFileRecord& record, double time_limit_s,
                 double& mean_peak, double& mean_trough);

// Half the peak-to-peak microvolts of the channel's detrended, averaged
// baseline, or MEASUREMENT_FAILED.
double baseline(int channel, testFileRecord& record);

// The channel's data scale and offset, and the ohms of an electrode's
// impedance line at uv microvolts.
double channel_data_scale(int channel);
double channel_data_offset(int channel);
double impedance_line_ohms(int channel, int electrode, double uv);

#endif
