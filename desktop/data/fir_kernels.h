// Windowed-sinc FIR design and direct convolution over arrays of doubles:
// the Blackman-windowed low-pass kernel, the band-pass and band-reject
// kernels built from two of them, and the filters that apply them.
#ifndef DESKTOP_DATA_FIR_KERNELS_H
#define DESKTOP_DATA_FIR_KERNELS_H

#include <vector>

// m taps (odd in every use; the centre tap is (m - 1) / 2) of the low-pass
// at cutoff cycles per sample: sin(2 pi fc d) / d with d the distance from
// the centre (2 pi fc at the centre), times the Blackman window, then scaled
// to unit sum. A kernel that sums to exactly 0 (a cutoff of 0) is returned
// as it is, all zeros. One tap has no window; below one tap gives none.
std::vector<double> blackman_lowpass_kernel(int m, double cutoff);

// m taps over the frequencies f1 and f2 at the sampling rate fs (all Hz),
// each cut-off above half the rate taken as half: f2 >= f1 gives the
// band-pass f1 .. f2 (the low-pass at f2 when f1 is 0), f2 < f1 the
// band-reject that passes below f2 and above f1.
std::vector<double> band_kernel(int m, double f1, double f2, double fs);

// The part of the full convolution where the shorter array lies wholly
// inside the longer (with equal lengths, a slides along b): longer - shorter
// + 1 values, out[i] = sum over k of S[k] * L[nS - 1 + i - k]. out_count
// receives the length; an empty array gives no values.
std::vector<double> convolve_valid(const double* a, int na, const double* b, int nb, int& out_count);
// The same into out, which has room for them; returns their count (0 for an
// empty array).
int convolve_valid_into(const double* a, int na, const double* b, int nb, double* out);

// n values filtered with the band kernel of m taps (n - m + 1 values when
// the values are the longer array); out_count receives the length.
std::vector<double> band_fir_filter(const double* values, int n, int m, int& out_count, double f1, double f2,
                                    double fs);
// The same with the low-pass kernel at cutoff Hz.
std::vector<double> lowpass_fir_filter(const double* values, int n, int m, int& out_count, double cutoff,
                                       double fs);

#endif
