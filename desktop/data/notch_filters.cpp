#include <cmath>
#include <vector>

#include "desktop/data/fft.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/data/trace_filters.h"

namespace {

// One pass of the notch's recursion: its last two inputs and outputs.
struct notchPass {
  double a0, a1, a2, b1, b2;
  double in1, in2, out1 = 0.0, out2 = 0.0;
  double next(double in0) {
    const double out = a0 * in0 + a1 * in1 + a2 * in2 + b1 * out1 + b2 * out2;
    in2 = in1;
    in1 = in0;
    out2 = out1;
    out1 = out;
    return out;
  }
};

}  // namespace

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

  // The values mirrored, then twice in order: the forward pass runs from
  // the start, the backward pass from the end, and each keeps its outputs
  // over the middle third, having settled before it. Up to the middle third
  // both take the same inputs (the values from the last down to the first),
  // so they are one pass up to there.
  const xyPair* in = source->points();
  const double y_offset = source->y_offset(), y_factor = source->y_factor;
  // The displayed value of point i, as traceClass::y gives it.
  auto value = [&](int32_t i) { return (in[i].y + y_offset) * y_factor; };
  notchPass forward{K, -2.0 * K * c, K, 2.0 * R * c, -R * R, value(n - 2), value(n - 1)};
  for (int32_t i = n - 3; i >= 0; i--) forward.next(value(i));
  notchPass backward = forward;
  // Then the forward pass at point i and the backward pass at n - 1 - i side
  // by side; each point's result is the mean of its two outputs, the
  // forward one first. Until the passes meet, each output waits in the
  // point's value.
  xyPair* points = result->points();
  const int32_t half = n / 2;
  for (int32_t i = 0; i < half; i++) {
    points[i].y = forward.next(value(i));
    points[n - 1 - i].y = backward.next(value(n - 1 - i));
  }
  if (n % 2 == 1) {
    const double f = forward.next(value(half));
    points[half].y = (f + backward.next(value(half))) / 2.0;
  }
  for (int32_t i = n - half; i < n; i++) {
    points[i].y = (forward.next(value(i)) + points[i].y) / 2.0;
    const int32_t j = n - 1 - i;
    points[j].y = (points[j].y + backward.next(value(j))) / 2.0;
  }
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
