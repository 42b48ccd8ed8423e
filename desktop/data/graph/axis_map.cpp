#include "desktop/data/graph/axis_map.h"

#include <cmath>

#include "desktop/winlib/geometry/paper.h"

axisMap::axisMap() = default;

void axisMap::set_pixels(double start, double end) {
  pixel_start_ = start;
  pixel_end_ = end;
  scale_ = (pixel_end_ - pixel_start_) / (data_end_ - data_start_);
}

bool axisMap::set_data(double start, double end) {
  if (!std::isfinite(start) || !std::isfinite(end)) return false;
  widen_zero_range(start, end);
  double width = end - start;
  if (!std::isfinite(width) || width == 0.0) return false;
  data_start_ = start;
  data_end_ = end;
  scale_ = (pixel_end_ - pixel_start_) / width;
  return true;
}

// Both directions multiply before they divide, so that the ends of the range
// and the pixels of round fractions of it come out exact.
int axisMap::to_pixel(double value) const {
  return truncate_to_int((value - data_start_) * (pixel_end_ - pixel_start_) / (data_end_ - data_start_) +
                         pixel_start_);
}

double axisMap::to_data(double pixel) const {
  if (pixel_end_ == pixel_start_) return data_start_;
  return (pixel - pixel_start_) * (data_end_ - data_start_) / (pixel_end_ - pixel_start_) + data_start_;
}

double axisMap::data_per_pixel() const { return scale_ == 0.0 ? 0.0 : 1.0 / scale_; }

void widen_zero_range(double& low, double& high) {
  if (low != high) return;
  double half = low == 0.0 ? 1.0 : std::fabs(low) * 0.05;
  low -= half;
  high += half;
}

int minor_label_every(double r) {
  if (r >= 2.0) return 1;
  if (r >= 1.0) return 2;
  if (r > 0.2) return 5;
  return 20;
}

namespace {

// Far more majors than a range of one decade to the next can hold: a bound
// for ranges so far from 0 that the steps vanish in the doubles' precision.
constexpr int major_limit = 40;

double tick_value(double k0, int j, double step, int i) { return (k0 + j) * step + i * (step / 10.0); }

}  // namespace

axisTickPlan plan_axis_ticks(const axisMap& map, double label_extent, bool few_majors_only) {
  axisTickPlan plan{};
  double start = map.data_start();
  double end = map.data_end();
  double width = std::fabs(end - start);
  if (!(width > 0.0) || !std::isfinite(width)) return plan;
  plan.exponent = static_cast<int>(std::floor(std::log10(width)));
  plan.step = std::pow(10.0, plan.exponent);
  plan.k0 = std::floor(start / plan.step);
  if (!(label_extent > 0.0)) label_extent = 1.0;

  for (int j = 0; j < major_limit; j++) {
    double v = tick_value(plan.k0, j, plan.step, 0);
    if (v > end) break;
    if (v >= start) plan.major_count++;
  }

  for (int j = 0; j < major_limit; j++) {
    double v = tick_value(plan.k0, j, plan.step, 0);
    if (v > end) break;
    if (v >= start) plan.ticks.push_back(axisTick{v, map.to_pixel(v), true, true});
    double r = std::fabs(static_cast<double>(map.to_pixel(v + plan.step / 10.0) -
                                             map.to_pixel(v + 2.0 * plan.step / 10.0))) /
               label_extent;
    int every = minor_label_every(r);
    double next_major = tick_value(plan.k0, j + 1, plan.step, 0);
    for (int i = 1; i < 10; i++) {
      double u = tick_value(plan.k0, j, plan.step, i);
      if (!(u < next_major)) break;
      if (u < start || u > end) continue;
      bool labelled = i % every == 0 && (!few_majors_only || plan.major_count < 3);
      plan.ticks.push_back(axisTick{u, map.to_pixel(u), false, labelled});
    }
  }
  return plan;
}
