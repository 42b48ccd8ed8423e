#include "handheld/engine/acquisition/regression_window.h"

#include <cmath>

void window_reset(regressionWindow& window, int capacity) {
  window.capacity = capacity > 0 ? capacity : 0;
  window.points.assign(static_cast<size_t>(window.capacity), fitPoint{0.0, 0.0});
  window.count = 0;
  window.newest = 0;
  window.mean_known = 0;
  window.spread_known = 0;
}

void window_add(regressionWindow& window, double x, double y) {
  if (window.capacity < 1) return;
  if (window.count < window.capacity) {
    window.newest = window.count++;
  } else {
    window.newest = (window.newest + 1) % window.capacity;
  }
  window.points[window.newest] = fitPoint{x, y};
  window.mean_known = 0;
  window.spread_known = 0;
}

double window_mean(regressionWindow& window) {
  if (window.count < 2) return kTooFewPoints;
  if (window.mean_known == 0) {
    double sum = 0.0;
    for (int i = 0; i < window.count; ++i) sum += window.points[i].y;
    window.mean = sum / window.count;
    window.mean_known = 1;
  }
  return window.mean;
}

double window_sd(regressionWindow& window) {
  if (window.count < 2) return kTooFewPoints;
  if (window.spread_known == 0) {
    const double mean = window_mean(window);
    double sum = 0.0;
    for (int i = 0; i < window.count; ++i) {
      const double d = window.points[i].y - mean;
      sum += d * d;
    }
    window.variance = sum / (window.count - 1);
    window.spread_known = 1;
  }
  return std::sqrt(std::fabs(window.variance));
}

int window_regression(const regressionWindow& window, double& intercept, double& slope) {
  if (window.count < 2) return 0;
  const int start = window.count < window.capacity ? 0 : (window.newest + 1) % window.capacity;
  double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
  for (int k = 0; k < window.count; ++k) {
    const fitPoint& p = window.points[(start + k) % window.capacity];
    sx += p.x;
    sy += p.y;
    sxx += p.x * p.x;
    sxy += p.x * p.y;
  }
  const double n = window.count;
  const double d = n * sxx - sx * sx;
  if (d == 0.0) return 0;
  slope = (n * sxy - sx * sy) / d;
  intercept = (sxx * sy - sxy * sx) / d;
  return 1;
}
