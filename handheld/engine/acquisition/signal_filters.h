// Signal filters of the handheld: a windowed-sinc low-pass for displayed
// traces and a zero-phase band-reject (notch) for a test's averaged values.
#ifndef HANDHELD_ENGINE_ACQUISITION_SIGNAL_FILTERS_H
#define HANDHELD_ENGINE_ACQUISITION_SIGNAL_FILTERS_H

#include <cstdint>
#include <vector>

// taps Blackman-windowed sinc coefficients for a cutoff given as a fraction of
// the sampling rate, scaled to sum to 1. One tap is the single coefficient 1;
// no taps give an empty array.
std::vector<double> lowpass_design(int taps, double cutoff);

// The valid part of the convolution of a and b: the shorter array slides
// along the longer one (with equal lengths, a slides along b), giving
// longer - shorter + 1 values. Empty when either is empty.
std::vector<double> convolve_valid(const double* a, int na, const double* b, int nb);

// Low-pass filters a trace with taps coefficients at the cutoff numerator /
// denominator of the sampling rate; out_length receives the result's length
// (length - taps + 1 when the trace is the longer). A bad argument (no taps,
// no values, a cutoff that is not a number) gives an empty result.
std::vector<double> lowpass_filter_trace(const double* trace, int length, int taps,
                                         int& out_length, double cutoff_numerator,
                                         double cutoff_denominator);

// Zero-phase second-order band-reject filter of n raw values spanning
// duration_ms, centred on frequency_hz with bandwidth_hz. input and output may
// be the same array. With fewer than 3 values, no duration, a frequency at or
// below 0 or at or above half the sample rate, or a bandwidth that is not
// above 0 or so wide for the sample rate that the filter would not settle
// (3 * bandwidth_hz * seconds per value at or above 2), the values are left
// unchanged (copied to output when it is another array). Returns output.
int32_t* bandreject_filter(const int32_t* input, int32_t* output, int n, double duration_ms,
                           double frequency_hz, double bandwidth_hz);

#endif
