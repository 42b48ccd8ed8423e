#include "desktop/data/fir_kernels.h"

#include <cmath>
#include <cstring>

std::vector<double> blackman_lowpass_kernel(int m, double cutoff) {
  if (m < 1) return {};
  std::vector<double> h(static_cast<size_t>(m));
  const double pi = std::acos(-1.0);
  const double M = m - 1;
  for (int i = 0; i < m; i++) {
    const double d = i - M / 2.0;
    h[i] = static_cast<double>(i) == M / 2.0 ? 2.0 * pi * cutoff : std::sin(2.0 * pi * cutoff * d) / d;
    if (m > 1) h[i] *= 0.42 - 0.5 * std::cos(2.0 * pi * i / M) + 0.08 * std::cos(4.0 * pi * i / M);
  }
  double sum = 0.0;
  for (double v : h) sum += v;
  if (sum != 0.0) {
    for (double& v : h) v /= sum;
  }
  return h;
}

namespace {

// The complement of a low-pass: the high-pass at the same cut-off.
void spectral_inversion(std::vector<double>& kernel) {
  for (double& v : kernel) v = -v;
  kernel[(kernel.size() - 1) / 2] += 1.0;
}

std::vector<double> design_band_kernel(int m, double f1, double f2, double fs) {
  double r1 = f1 / fs;
  double r2 = f2 / fs;
  if (r1 > 0.5) r1 = 0.5;
  if (r2 > 0.5) r2 = 0.5;
  std::vector<double> k1 = blackman_lowpass_kernel(m, r1);
  std::vector<double> k2 = blackman_lowpass_kernel(m, r2);
  spectral_inversion(f2 >= f1 ? k2 : k1);
  for (int i = 0; i < m; i++) k2[i] = k1[i] + k2[i];
  if (f2 >= f1) spectral_inversion(k2);
  return k2;
}

}  // namespace

std::vector<double> band_kernel(int m, double f1, double f2, double fs) {
  if (m < 1) return {};
  // The traces of a session are mostly filtered with one kernel: the last
  // one designed is kept, for the same taps and the same bits of the
  // frequencies.
  struct design {
    int m = 0;
    double frequencies[3] = {};
    std::vector<double> kernel;
  };
  thread_local design last;
  const double frequencies[3] = {f1, f2, fs};
  if (last.m != m || std::memcmp(last.frequencies, frequencies, sizeof frequencies) != 0) {
    last.kernel = design_band_kernel(m, f1, f2, fs);
    last.m = m;
    std::memcpy(last.frequencies, frequencies, sizeof frequencies);
  }
  return last.kernel;
}

namespace {

// The outputs U vectors of V (a vector of doubles) at a time, then one
// vector, then one output at a time: each sum starts at 0 and takes the
// taps in order, tap 0 first, as one output at a time would. The sums stay
// in registers over all the taps.
template <typename V, int U>
[[gnu::always_inline]] inline void convolve_outputs(const double* longer, const double* shorter, int nS, int count,
                                                    double* out) {
  constexpr int L = sizeof(V) / sizeof(double);
  int i = 0;
  for (; i + U * L <= count; i += U * L) {
    V sums[U];
#pragma GCC unroll 16
    for (int u = 0; u < U; u++) sums[u] = V{};
    const double* from = longer + (nS - 1) + i;
    for (int k = 0; k < nS; k++, from--) {
      V tap;
#pragma GCC unroll 8
      for (int l = 0; l < L; l++) tap[l] = shorter[k];
#pragma GCC unroll 16
      for (int u = 0; u < U; u++) {
        V values;
        std::memcpy(&values, from + u * L, sizeof values);
        sums[u] = sums[u] + tap * values;
      }
    }
#pragma GCC unroll 16
    for (int u = 0; u < U; u++) std::memcpy(out + i + u * L, &sums[u], sizeof sums[u]);
  }
  for (; i + L <= count; i += L) {
    V sum = V{};
    const double* from = longer + (nS - 1) + i;
    for (int k = 0; k < nS; k++, from--) {
      V tap;
#pragma GCC unroll 8
      for (int l = 0; l < L; l++) tap[l] = shorter[k];
      V values;
      std::memcpy(&values, from, sizeof values);
      sum = sum + tap * values;
    }
    std::memcpy(out + i, &sum, sizeof sum);
  }
  for (; i < count; i++) {
    double sum = 0.0;
    for (int k = 0; k < nS; k++) sum = sum + shorter[k] * longer[nS - 1 - k + i];
    out[i] = sum;
  }
}

// The same compiled for the baseline processor and, chosen at run time
// where the processor has them, for its 256-bit vectors (without fused
// multiply-add: every product is rounded before it is added).
typedef double doubles2 __attribute__((vector_size(16)));
typedef double doubles4 __attribute__((vector_size(32)));

void convolve_baseline(const double* longer, const double* shorter, int nS, int count, double* out) {
  convolve_outputs<doubles2, 8>(longer, shorter, nS, count, out);
}

[[gnu::target("avx2")]] void convolve_wide(const double* longer, const double* shorter, int nS, int count,
                                           double* out) {
  convolve_outputs<doubles4, 8>(longer, shorter, nS, count, out);
}

}  // namespace

int convolve_valid_into(const double* a, int na, const double* b, int nb, double* out) {
  if (!a || !b || !out || na < 1 || nb < 1) return 0;
  const bool a_longer = na > nb;
  const double* longer = a_longer ? a : b;
  const double* shorter = a_longer ? b : a;
  const int nL = a_longer ? na : nb;
  const int nS = a_longer ? nb : na;
  const int count = nL - nS + 1;
  static const bool wide = __builtin_cpu_supports("avx2");
  if (wide) {
    convolve_wide(longer, shorter, nS, count, out);
  } else {
    convolve_baseline(longer, shorter, nS, count, out);
  }
  return count;
}

std::vector<double> convolve_valid(const double* a, int na, const double* b, int nb, int& out_count) {
  out_count = 0;
  if (!a || !b || na < 1 || nb < 1) return {};
  std::vector<double> out(static_cast<size_t>(na > nb ? na - nb + 1 : nb - na + 1));
  out_count = convolve_valid_into(a, na, b, nb, out.data());
  return out;
}

std::vector<double> band_fir_filter(const double* values, int n, int m, int& out_count, double f1, double f2,
                                    double fs) {
  const std::vector<double> kernel = band_kernel(m, f1, f2, fs);
  return convolve_valid(values, n, kernel.data(), static_cast<int>(kernel.size()), out_count);
}

std::vector<double> lowpass_fir_filter(const double* values, int n, int m, int& out_count, double cutoff,
                                       double fs) {
  const std::vector<double> kernel = blackman_lowpass_kernel(m, cutoff / fs);
  return convolve_valid(values, n, kernel.data(), static_cast<int>(kernel.size()), out_count);
}
