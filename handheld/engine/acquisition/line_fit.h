// Straight-line least-squares fit over a fixed number of points.
#ifndef HANDHELD_ENGINE_ACQUISITION_LINE_FIT_H
#define HANDHELD_ENGINE_ACQUISITION_LINE_FIT_H

#include <cstdint>
#include <vector>

#include "handheld/engine/acquisition/fit_values.h"

struct straightLineFit {
  int count = 0;
  int capacity = 0;
  std::vector<fitPoint> points;
  double largest_x = 0.0;
  double smallest_x = 0.0;
  double largest_y = 0.0;
  double smallest_y = 0.0;
  double slope = 0.0;
  double intercept = 0.0;
  double mean_y = 0.0;
  double residual_sd = 0.0;
  uint8_t solved = 0;
  uint8_t residual_known = 0;  // never set: the residual is worked out on each request
  uint8_t error = 0;           // a point was dropped, or a fit had too few points
};

// Room for capacity points, none held, slope and intercept 0.
void line_fit_init(straightLineFit& fit, int capacity);

// Appends a point and returns 0; when full, sets the error byte, drops the
// point and returns 1.
int line_fit_add(straightLineFit& fit, double x, double y);

// The fitted line at x, solving first when points changed; 0.0 when the fit
// cannot be solved (fewer than 2 points, or every x the same).
double line_fit_value(straightLineFit& fit, double x);

// Residual standard deviation sqrt(sum of squared residuals / (count - 2));
// kResultNotObtained for fewer than 3 points or a fit that cannot be solved.
double line_fit_residual_sd(straightLineFit& fit);

#endif
