#include <algorithm>
#include <vector>

#include "desktop/data/fir_kernels.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/data/trace_filters.h"

int taps_for(int32_t n) {
  if (n > 1024) return 127;
  if (n > 512) return 63;
  return 31;
}

traceClass* fir_filter_trace(const traceClass* source, int m, double f1, double f2, traceClass* target) {
  if (!source) {
    errormessage("*** fir_filter_trace - NO SOURCE TRACE ***");
    return nullptr;
  }
  if (!target) target = new traceClass;
  const int32_t n = source->get_count();
  if (n < m || m < 1) {
    target->set_points(5, source->points(), n);
    return target;
  }
  // The values and the filtered values go through work arrays kept between
  // calls.
  thread_local std::vector<double> y, out;
  if (y.size() < static_cast<size_t>(n)) {
    y.resize(static_cast<size_t>(n));
    out.resize(static_cast<size_t>(n));
  }
  // The displayed values, as traceClass::x and y give them.
  const xyPair* in = source->points();
  const double x_offset = source->x_offset(), x_factor = source->x_factor;
  const double y_offset = source->y_offset(), y_factor = source->y_factor;
  double tmin = (in[0].x + x_offset) * x_factor, tmax = tmin;
  for (int32_t i = 0; i < n; i++) {
    const double x = (in[i].x + x_offset) * x_factor;
    y[i] = (in[i].y + y_offset) * y_factor;
    tmin = std::min(tmin, x);
    tmax = std::max(tmax, x);
  }
  // n points over the span, not n - 1 intervals.
  const double fs = n / (tmax - tmin) * 1000.0;
  const std::vector<double> kernel = band_kernel(m, f1, f2, fs);
  const int count = convolve_valid_into(y.data(), n, kernel.data(), m, out.data());
  target->set_y_values(5, out.data(), count);
  target->set_linear_axis(0, source->x_at((m + 1) / 2), (tmax - tmin) / n);
  return target;
}

traceClass* fir_lowpass_trace(const traceClass* source, double cutoff) {
  if (!source) return fir_filter_trace(source, 0, 0.0, cutoff, nullptr);
  return fir_filter_trace(source, taps_for(source->get_count()), 0.0, cutoff, nullptr);
}

traceClass* fir_band_filter_trace(double centre, double half_width, const traceClass* source,
                                  traceClass* target) {
  const int m = source ? taps_for(source->get_count()) : 0;
  return fir_filter_trace(source, m, centre + half_width, centre - half_width, target);
}
