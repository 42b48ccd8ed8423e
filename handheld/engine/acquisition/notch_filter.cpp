#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "handheld/engine/acquisition/signal_filters.h"

namespace {

// Truncation toward zero into the range of the target type; not-a-number
// gives 0.
template <typename T>
T truncate_to(double v) {
  if (std::isnan(v)) return 0;
  const double lo = static_cast<double>(std::numeric_limits<T>::min());
  const double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (v <= lo) return std::numeric_limits<T>::min();
  if (v >= hi) return std::numeric_limits<T>::max();
  return static_cast<T>(v);
}

}  // namespace

int32_t* bandreject_filter(const int32_t* input, int32_t* output, int n, double duration_ms,
                           double frequency_hz, double bandwidth_hz) {
  if (input == nullptr || output == nullptr) return output;
  const double s = n > 0 ? duration_ms / (n * 1000.0) : 0.0;  // seconds per value
  const double f = frequency_hz * s;                             // cycles per value
  if (n < 3 || !(duration_ms > 0.0) || !(f > 0.0) || !(f < 0.5)) {
    if (output != input && n > 0) std::memmove(output, input, sizeof(int32_t) * n);
    return output;
  }

  // The poles lie at radius r: a band too wide for the sample rate (r at or
  // below -1), no band (r at or above 1) or a band that is no number would
  // make the recursion ring or grow without bound and replace the values.
  const double r = 1.0 - 3.0 * bandwidth_hz * s;
  if (!(std::fabs(r) < 1.0)) {
    if (output != input) std::memmove(output, input, sizeof(int32_t) * n);
    return output;
  }

  const size_t len = 3 * static_cast<size_t>(n);
  std::vector<double> e(len), p(len, 0.0), q(len, 0.0);
  const double d = static_cast<double>(input[0]) - input[n - 1];
  for (int i = 0; i < n; ++i) {
    e[i] = input[i] + d;
    e[n + i] = input[i];
    e[2 * n + i] = input[i] - d;
  }

  const double pi = std::acos(-1.0);
  const double c = std::cos(2.0 * pi * f);
  const double k = (1.0 - 2.0 * r * c + r * r) / (2.0 - 2.0 * c);
  const double a0 = k, a1 = -2.0 * k * c, a2 = k;
  const double b1 = 2.0 * r * c, b2 = -r * r;

  for (size_t i = 2; i < len; ++i) {
    p[i] = a0 * e[i] + a1 * e[i - 1] + a2 * e[i - 2] + b1 * p[i - 1] + b2 * p[i - 2];
  }
  for (size_t i = len - 3; i >= 1; --i) {
    q[i] = a0 * e[i] + a1 * e[i + 1] + a2 * e[i + 2] + b1 * q[i + 1] + b2 * q[i + 2];
  }
  for (int i = 0; i < n; ++i) {
    const int64_t both = truncate_to<int64_t>(p[n + i] + q[n + i]);
    output[i] = truncate_to<int32_t>(static_cast<double>(both) * 0.5);
  }
  return output;
}
