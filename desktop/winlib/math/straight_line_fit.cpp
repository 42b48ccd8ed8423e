#include "desktop/winlib/math/straight_line_fit.h"

#include <cmath>

lineFit::lineFit(int capacity)
    : capacity_(capacity > 0 ? capacity : 0), points_(capacity_ > 0 ? new point[capacity_] : nullptr) {}

lineFit::~lineFit() { delete[] points_; }

void lineFit::clear() {
  count_ = 0;
  solved_ = residual_known_ = error_ = 0;
}

void lineFit::add_point(double x, double y) {
  if (count_ >= capacity_) {
    error_ = 1;
    return;
  }
  points_[count_++] = point{x, y};
  solved_ = 0;
  residual_known_ = 0;
}

bool lineFit::solve() {
  if (solved_) return true;
  if (count_ < 2) {
    error_ = 1;
    return false;
  }
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i + 1 < count_; i++) {
      if (points_[i].x > points_[i + 1].x) {
        point t = points_[i];
        points_[i] = points_[i + 1];
        points_[i + 1] = t;
        swapped = true;
      }
    }
  }
  max_x_ = points_[count_ - 1].x;
  min_x_ = points_[0].x;
  max_y_ = -1e20;
  min_y_ = 1e20;
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (int i = 0; i < count_; i++) {
    const point& p = points_[i];
    if (p.y > max_y_) max_y_ = p.y;
    if (p.y < min_y_) min_y_ = p.y;
    sx += p.x;
    sy += p.y;
    sxx += p.x * p.x;
    sxy += p.x * p.y;
  }
  double n = count_;
  double d = n * sxx - sx * sx;
  if (d == 0.0) return false;
  slope_ = (n * sxy - sx * sy) / d;
  intercept_ = (sxx * sy - sx * sxy) / d;
  mean_y_ = sy / n;
  solved_ = 1;
  return true;
}

double lineFit::value(double x) { return solve() ? slope_ * x + intercept_ : 0.0; }

double lineFit::residual_sd() {
  if (residual_known_) return residual_sd_;
  if (!solve() || count_ < 3) return 0.0;
  double sum = 0;
  for (int i = 0; i < count_; i++) {
    double r = points_[i].y - (slope_ * points_[i].x + intercept_);
    sum += r * r;
  }
  residual_sd_ = std::sqrt(sum / (count_ - 2));
  residual_known_ = 1;
  return residual_sd_;
}

double lineFit::slope() { return solve() ? slope_ : 0.0; }

double lineFit::intercept() { return solve() ? intercept_ : 0.0; }
