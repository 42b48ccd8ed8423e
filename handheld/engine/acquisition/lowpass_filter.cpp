#include <cmath>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/acquisition/signal_filters.h"

namespace {

// Sum of values, eight at a time, the rest one by one.
double unrolled_sum(const double* v, int n) {
  double s = 0.0;
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    s += v[i] + v[i + 1] + v[i + 2] + v[i + 3] + v[i + 4] + v[i + 5] + v[i + 6] + v[i + 7];
  }
  for (; i < n; ++i) s += v[i];
  return s;
}

// Sum over j of x[j] * y[m - 1 + k - j], eight at a time.
double unrolled_dot(const double* x, int m, const double* y_end) {
  // y_end points at y[m - 1 + k]; y_end[-j] is y[m - 1 + k - j].
  double s = 0.0;
  int j = 0;
  for (; j + 8 <= m; j += 8) {
    s += x[j] * y_end[-j] + x[j + 1] * y_end[-j - 1] + x[j + 2] * y_end[-j - 2] +
         x[j + 3] * y_end[-j - 3] + x[j + 4] * y_end[-j - 4] + x[j + 5] * y_end[-j - 5] +
         x[j + 6] * y_end[-j - 6] + x[j + 7] * y_end[-j - 7];
  }
  for (; j < m; ++j) s += x[j] * y_end[-j];
  return s;
}

}  // namespace

std::vector<double> lowpass_design(int taps, double cutoff) {
  if (taps < 1) return {};
  if (taps == 1) return {1.0};
  const double pi = std::acos(-1.0);
  const double m = (taps - 1) / 2.0;
  std::vector<double> h(static_cast<size_t>(taps));
  for (int i = 0; i < taps; ++i) {
    const double d = i - m;
    h[i] = d == 0.0 ? 2.0 * pi * cutoff : std::sin(2.0 * pi * cutoff * d) / d;
    h[i] *= 0.42 - 0.5 * std::cos(2.0 * pi * i / (taps - 1)) +
            0.08 * std::cos(4.0 * pi * i / (taps - 1));
  }
  const double sum = unrolled_sum(h.data(), taps);
  if (sum != 0.0) {
    const double scale = 1.0 / sum;
    for (double& c : h) c *= scale;
  }
  return h;
}

std::vector<double> convolve_valid(const double* a, int na, const double* b, int nb) {
  if (a == nullptr || b == nullptr || na < 1 || nb < 1) return {};
  const double* x = a;
  const double* y = b;
  int m = na;
  int l = nb;
  if (na > nb) {
    x = b;
    y = a;
    m = nb;
    l = na;
  }
  std::vector<double> out(static_cast<size_t>(l - m + 1));
  for (int k = 0; k <= l - m; ++k) out[k] = unrolled_dot(x, m, y + (m - 1 + k));
  return out;
}

std::vector<double> lowpass_filter_trace(const double* trace, int length, int taps,
                                         int& out_length, double cutoff_numerator,
                                         double cutoff_denominator) {
  out_length = 0;
  const double cutoff = cutoff_numerator / cutoff_denominator;
  if (trace == nullptr || length < 1 || taps < 1 || !std::isfinite(cutoff)) {
    log_error_line("### lowpass_filter_trace: %d values, %d taps, cutoff %lg ###", length, taps,
                   cutoff);
    return {};
  }
  std::vector<double> h = lowpass_design(taps, cutoff);
  std::vector<double> out = convolve_valid(trace, length, h.data(), taps);
  out_length = static_cast<int>(out.size());
  return out;
}
