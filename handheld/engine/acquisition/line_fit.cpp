#include "handheld/engine/acquisition/line_fit.h"

#include <cmath>
#include <utility>

namespace {

void sort_by_x(std::vector<fitPoint>& points, int count) {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int i = 0; i + 1 < count; ++i) {
      if (points[i + 1].x < points[i].x) {
        std::swap(points[i], points[i + 1]);
        swapped = true;
      }
    }
  }
}

bool solve(straightLineFit& fit) {
  if (fit.count < 2) {
    fit.error = 1;
    return false;
  }
  sort_by_x(fit.points, fit.count);
  fit.smallest_x = fit.points[0].x;
  fit.largest_x = fit.points[fit.count - 1].x;
  fit.largest_y = -1e20;
  fit.smallest_y = 1e20;
  double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
  for (int i = 0; i < fit.count; ++i) {
    const fitPoint& p = fit.points[i];
    if (p.y > fit.largest_y) fit.largest_y = p.y;
    if (p.y < fit.smallest_y) fit.smallest_y = p.y;
    sx += p.x;
    sy += p.y;
    sxx += p.x * p.x;
    sxy += p.x * p.y;
  }
  const double n = fit.count;
  const double d = n * sxx - sx * sx;
  if (d == 0.0) return false;
  fit.slope = (n * sxy - sx * sy) / d;
  fit.intercept = (sxx * sy - sxy * sx) / d;
  fit.mean_y = sy / n;
  fit.solved = 1;
  return true;
}

bool ensure_solved(straightLineFit& fit) { return fit.solved != 0 || solve(fit); }

}  // namespace

void line_fit_init(straightLineFit& fit, int capacity) {
  fit = straightLineFit();
  fit.capacity = capacity > 0 ? capacity : 0;
  fit.points.assign(static_cast<size_t>(fit.capacity), fitPoint{0.0, 0.0});
}

int line_fit_add(straightLineFit& fit, double x, double y) {
  if (fit.count >= fit.capacity) {
    fit.error = 1;
    return 1;
  }
  fit.points[fit.count++] = fitPoint{x, y};
  fit.solved = 0;
  return 0;
}

double line_fit_value(straightLineFit& fit, double x) {
  if (!ensure_solved(fit)) return 0.0;
  return fit.slope * x + fit.intercept;
}

double line_fit_residual_sd(straightLineFit& fit) {
  if (!ensure_solved(fit) || fit.count < 3) return kResultNotObtained;
  double sum = 0.0;
  for (int i = 0; i < fit.count; ++i) {
    const double r = fit.points[i].y - (fit.slope * fit.points[i].x + fit.intercept);
    sum += r * r;
  }
  fit.residual_sd = std::sqrt(sum / (fit.count - 2));
  return fit.residual_sd;
}
