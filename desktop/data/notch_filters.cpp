#include <cmath>
#include <vector>

#include "fft.h"
#include "messages.h"
#include "trace_filters.h"

traceClass* notch_filter(const traceClass* source, double f0, double bw) {
  if (!source) {
    errormessage("*** notch_filter - NO SOURCE TRACE ***");
    return nullptr;
  }
  traceClass* result = new traceClass(source);
  const int32_t n = source->get_count();
  if (n < 2) return result;
  const double span = source->x_at(n - 1) - source->x_at(0);
  const double fs = n * 1000.0 / span;
  const double f = f0 / fs;
  const double width = bw / fs;
  const double pi = std::acos(-1.0);
  const double R = 1.0 - 3.0 * width;
  const double c = std::cos(2.0 * pi * f);
  // No span, or a notch at a multiple of the sampling rate, has no filter;
  // poles on or outside the unit circle (a band too wide for the rate, no
  // band, or one that is no number) would make the recursion ring or grow
  // without bound.
  if (span == 0.0 || 2.0 - 2.0 * c == 0.0 || !(std::fabs(R) < 1.0)) return result;
  const double K = (1.0 - 2.0 * R * c + R * R) / (2.0 - 2.0 * c);
  const double a0 = K, a1 = -2.0 * K * c, a2 = K, b1 = 2.0 * R * c, b2 = -R * R;

  // The values mirrored, then twice in order, so both passes settle before
  // the middle third that is kept. The work arrays are kept between calls.
  const int32_t len = 3 * n;
  thread_local std::vector<double> b, forward, backward;
  if (b.size() < static_cast<size_t>(len)) b.resize(static_cast<size_t>(len));
  if (forward.size() < static_cast<size_t>(n)) {
    forward.resize(static_cast<size_t>(n));
    backward.resize(static_cast<size_t>(n));
  }
  // The displayed values, as traceClass::y gives them.
  const xyPair* in = source->points();
  const double y_offset = source->y_offset(), y_factor = source->y_factor;
  for (int32_t i = 0; i < n; i++) {
    const double y = (in[i].y + y_offset) * y_factor;
    b[n - 1 - i] = y;
    b[n + i] = y;
    b[2 * n + i] = y;
  }
  // The forward pass from the start and the backward pass from the end, each
  // keeping its last two outputs, run side by side up to the far end of the
  // middle third (nothing past it reaches a kept value); only the middle
  // third is stored.
  double f1 = 0.0, f2 = 0.0, g1 = 0.0, g2 = 0.0;
  for (int32_t i = 2, j = len - 3; i < 2 * n; i++, j--) {
    const double f = a0 * b[i] + a1 * b[i - 1] + a2 * b[i - 2] + b1 * f1 + b2 * f2;
    f2 = f1;
    f1 = f;
    if (i >= n) forward[i - n] = f;
    const double g = a0 * b[j] + a1 * b[j + 1] + a2 * b[j + 2] + b1 * g1 + b2 * g2;
    g2 = g1;
    g1 = g;
    if (j < 2 * n) backward[j - n] = g;
  }
  xyPair* points = result->points();
  for (int32_t i = 0; i < n; i++) points[i].y = (forward[i] + backward[i]) / 2.0;
  result->compute_extent();
  return result;
}

std::vector<double> fft_notch_filter(const xyPair* points, int n, double f0, int& out_count) {
  out_count = 0;
  if (!points || n < 1) {
    errormessage("*** fft_notch_filter - NO POINTS (%d) ***", n);
    return {};
  }
  std::vector<double> re(static_cast<size_t>(n)), im(static_cast<size_t>(n), 0.0);
  double mean1 = 0.0;
  for (int i = 0; i < n; i++) {
    re[i] = points[i].y;
    mean1 += re[i];
  }
  mean1 /= n;
  const double span = points[n - 1].x - points[0].x;
  if (n < 2 || span == 0.0) {
    out_count = n;
    return re;
  }
  std::vector<double> Re(static_cast<size_t>(n)), Im(static_cast<size_t>(n));
  if (!mixed_radix_fft(n, re.data(), im.data(), Re.data(), Im.data())) return {};
  const double w = 10.0;
  const double df = 1000.0 / span;
  for (int i = 0; i < n; i++) {
    const double fi = (i < n / 2 ? i : n - i) * df;
    const double g = 1.0 - w * w / (w * w + (f0 - fi) * (f0 - fi));
    re[i] = Re[i] * g;
    im[i] = -Im[i] * g;
  }
  // A second forward transform of the conjugate gives n times the inverse.
  mixed_radix_fft(n, re.data(), im.data(), Re.data(), Im.data());
  double mean2 = 0.0;
  for (int i = 0; i < n; i++) {
    Re[i] /= n;
    mean2 += Re[i];
  }
  mean2 /= n;
  if (mean2 != mean1) {
    for (double& v : Re) v += mean1 - mean2;
  }
  out_count = n;
  return Re;
}
