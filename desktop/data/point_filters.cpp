#include <cmath>
#include <limits>

#include "desktop/data/trace_filters.h"

namespace {

constexpr double spike_threshold = 0.05;

// Relative deviation of v from the mean m; infinite or undefined for a zero
// mean, and an undefined deviation never counts as a spike.
double deviation(double m, double v) { return std::fabs((m - v) / m); }

// Whether the successor z deviates less from m than the value y, whose
// deviation a (|m - y| / |m|) is above the threshold. Both deviations are
// quotients by the same |m|, and rounding keeps their order: a successor
// no nearer to m never deviates less, and one nearer by more than the
// rounding can take away always does. Only in between, or near the ends of
// the range of doubles, is the successor's deviation divided out.
bool successor_deviates_less(double m, double y, double z, double a) {
  const double from_y = std::fabs(m - y), from_z = std::fabs(m - z);
  if (!(from_z < from_y)) return false;
  // With a finite and above the threshold, |m| is neither 0 nor infinite;
  // with the distance far above the smallest doubles, a distance below
  // (1 - 2^-49) times the other gives a quotient below (1 - 2^-50) times
  // the other's, which the rounding of the two cannot make equal.
  if (from_z < from_y - from_y * 0x1p-48 && from_y >= 0x1p-900 && a <= std::numeric_limits<double>::max()) {
    return true;
  }
  return deviation(m, z) < a;
}

void copy_points(const xyPair* in, xyPair* out, int32_t n) {
  for (int32_t i = 0; i < n; i++) out[i] = in[i];
}

// Linear interpolation at t between points a and b.
double interpolate(const xyPair& a, const xyPair& b, double t) {
  if (t == b.x) return b.y;
  if (b.x == a.x) return a.y;
  return a.y + (b.y - a.y) * (t - a.x) / (b.x - a.x);
}

}  // namespace

void spike_filter(const xyPair* in, xyPair* out, int32_t n) {
  if (n < 3) {
    copy_points(in, out, n);
    return;
  }
  out[0].x = in[0].x;
  out[n - 1].x = in[n - 1].x;
  double m = (in[0].y + in[1].y + in[2].y) / 3.0;
  out[0].y = deviation(m, in[0].y) > spike_threshold ? (in[1].y + in[2].y) / 2.0 : in[0].y;
  for (int32_t i = 1; i <= n - 2; i++) {
    out[i].x = in[i].x;
    m = (out[i - 1].y + in[i].y + in[i + 1].y) / 3.0;
    const double a = deviation(m, in[i].y);
    out[i].y = a > spike_threshold && successor_deviates_less(m, in[i].y, in[i + 1].y, a)
                   ? (out[i - 1].y + in[i + 1].y) / 2.0
                   : in[i].y;
  }
  m = (out[n - 3].y + in[n - 2].y + in[n - 1].y) / 3.0;
  out[n - 1].y = deviation(m, in[n - 1].y) > spike_threshold ? (in[n - 2].y + in[n - 3].y) / 2.0 : in[n - 1].y;
}

void resample_even_grid(const xyPair* in, xyPair* out, int32_t n) {
  if (n < 2) {
    copy_points(in, out, n);
    return;
  }
  const double start = in[0].x;
  const double step = (in[n - 1].x - start) / (n - 1);
  for (int32_t i = 0; i < n; i++) {
    const double g = i * step + start;
    double value = in[i].y;
    if (g > in[i].x) {
      int32_t j = i;
      while (j + 1 < n && in[j + 1].x < g) j++;
      value = j + 1 < n ? interpolate(in[j], in[j + 1], g) : in[n - 1].y;
    } else if (g < in[i].x) {
      int32_t j = i;
      while (j - 1 >= 0 && in[j - 1].x > g) j--;
      value = j - 1 >= 0 ? interpolate(in[j - 1], in[j], g) : in[0].y;
    }
    out[i].x = g;
    out[i].y = value;
  }
}
