// The filters' golden data (golden/filters.inc, written by
// tools/make_fft_filter_golden.py): the cases and, by offset, their values
// in one array. Inputs are made from test_signal.h with the seeds given.
#ifndef DESKTOP_DATA_TESTS_GOLDEN_FILTERS_H
#define DESKTOP_DATA_TESTS_GOLDEN_FILTERS_H

#include <vector>

// scipy's Blackman-windowed low-pass of m taps at fc cycles per sample.
struct golden_lowpass_kernel {
  int m;
  double fc;
  int offset;
};
// The band kernel over f1 and f2 at fs, from two scipy low-passes.
struct golden_band_kernel {
  int m;
  double f1, f2, fs;
  int offset;
};
// numpy's valid convolution of two test signals.
struct golden_convolution {
  int seed_a, na, seed_b, nb, count, offset;
};
// A trace of n points from t0 in steps of dt, values 50 * test values of
// seed: kind 0 low-passed at p1, kind 1 band-filtered at centre p1 with
// half-width p2; count output points, their times and values.
struct golden_fir_trace {
  int kind, n;
  double t0, dt;
  int seed;
  double p1, p2;
  int count, times, values;
};
// Such a trace through the notch at f0, bandwidth bw.
struct golden_notch {
  int n;
  double t0, dt;
  int seed;
  double f0, bw;
  int offset;
};
// Values through the spike remover.
struct golden_spike {
  int n, input, output;
};
// Such a trace through the frequency-domain notch at f0.
struct golden_fft_notch {
  int n;
  double t0, dt;
  int seed;
  double f0;
  int offset;
};

extern const std::vector<golden_lowpass_kernel> golden_lowpass_kernels;
extern const std::vector<golden_band_kernel> golden_band_kernels;
extern const std::vector<golden_convolution> golden_convolutions;
extern const std::vector<golden_fir_trace> golden_fir_traces;
extern const std::vector<golden_notch> golden_notches;
extern const std::vector<golden_spike> golden_spikes;
extern const std::vector<golden_fft_notch> golden_fft_notches;

// count values from offset.
std::vector<double> golden_values(int offset, int count);

#endif
