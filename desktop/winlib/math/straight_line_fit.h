// Straight-line least-squares fit over a bounded set of points.
#ifndef DESKTOP_WINLIB_MATH_STRAIGHT_LINE_FIT_H
#define DESKTOP_WINLIB_MATH_STRAIGHT_LINE_FIT_H

#include <cstdint>

class lineFit {
 public:
  explicit lineFit(int capacity);
  ~lineFit();
  lineFit(const lineFit&) = delete;
  lineFit& operator=(const lineFit&) = delete;

  // No points, no flags.
  void clear();
  // Appends a point below the capacity; at capacity the point is dropped
  // and the error flag set.
  void add_point(double x, double y);
  // slope * x + intercept, fitting first when needed; 0 when the fit cannot
  // be made (fewer than 2 points, which also sets the error flag, or all x
  // equal).
  double value(double x);
  // Standard deviation of the residuals over n - 2 degrees of freedom; 0
  // with fewer than 3 points or without a fit.
  double residual_sd();
  // Fit first, then the slope or the intercept; 0 without a fit.
  double slope();
  double intercept();

  int count() const { return count_; }
  bool error() const { return error_ != 0; }

 private:
  struct point {
    double x, y;
  };
  bool solve();

  int count_ = 0;
  int capacity_;
  point* points_;
  double max_x_ = 0, min_x_ = 0, max_y_ = 0, min_y_ = 0;
  double slope_ = 0, intercept_ = 0, mean_y_ = 0, residual_sd_ = 0;
  uint8_t solved_ = 0, residual_known_ = 0, error_ = 0;
};

#endif
