#include "handheld/ui/plotter/plot_scales.h"

#include <cmath>
#include <limits>

namespace {

int32_t to_int(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// Equal or not finite ends: one unit each way around a finite value.
void widen_range(double& low, double& high) {
  if (!std::isfinite(low) || !std::isfinite(high)) {
    const double at = std::isfinite(low) ? low : (std::isfinite(high) ? high : 0.0);
    low = at;
    high = at;
  }
  if (high <= low) {
    const double centre = (low + high) / 2;
    low = centre - 1.0;
    high = centre + 1.0;
  }
}

}  // namespace

void fill_scale_entry(scaleEntry& e, const plotArea& area, double x_min, double x_max, double y_min, double y_max,
                      double x_origin, double min_range) {
  if (min_range != no_minimum_range && std::isfinite(min_range) && y_max - y_min < min_range) {
    const double c = (y_min + y_max) / 2;
    y_min = c - min_range / 2;
    y_max = c + min_range / 2;
  }
  widen_range(x_min, x_max);
  widen_range(y_min, y_max);
  const double s = (y_max - y_min) * 1.05, c = (y_min + y_max) / 2;
  e.y_min = c - s / 2;
  e.y_max = c + s / 2;
  e.x_min = x_min;
  e.x_max = x_max;
  e.x_origin = x_origin > 0.0 ? x_origin : x_min;
  e.y_origin = e.y_min;
  e.x_per_unit = (area.right - area.left) / (x_max - x_min);
  e.y_per_unit = (area.top - area.bottom) / (e.y_max - e.y_min);
}

int32_t map_column(const scaleEntry& e, const plotArea& area, double x) {
  return to_int(area.left + (x - e.x_min) * e.x_per_unit);
}

int32_t map_row(const scaleEntry& e, const plotArea& area, double y) {
  return to_int(area.bottom + (y - e.y_min) * e.y_per_unit);
}

double tick_step(double span) {
  static const double steps[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100, 200, 400, 500};
  for (double step : steps) {
    if (span / step <= 6) return step;
  }
  return 1000;
}

int32_t thinning_step(int32_t count, int32_t graph_points) {
  if (graph_points <= 0) return 1;
  const double ratio = static_cast<double>(count) / graph_points;
  return ratio > 1.0 ? static_cast<int32_t>(std::ceil(ratio)) : 1;
}

int32_t thinned_count(int32_t count, int32_t step) {
  if (count <= 0 || step <= 0) return 0;
  return (count + step - 1) / step;
}

int lowpass_taps(int32_t n) { return n <= 512 ? 31 : 63; }

bool lowpass_applies(int32_t n) { return n > lowpass_taps(n); }

std::string eye_label(bool a, bool b, int eye_a, int eye_b) {
  if (a && b) return eye_a == 1 ? "AB" : eye_a == 2 ? "A(OD)B(OS)" : "A(OS)B(OD)";
  if (a) return eye_a == 1 ? "A" : eye_a == 2 ? "A(OD)" : "A(OS)";
  if (b) return eye_b == 1 ? "B" : eye_b == 2 ? "B(OD)" : "B(OS)";
  return "DUMMY";
}
