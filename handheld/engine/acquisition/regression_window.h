// A ring window of the latest points with their mean, standard deviation and
// regression line.
#ifndef HANDHELD_ENGINE_ACQUISITION_REGRESSION_WINDOW_H
#define HANDHELD_ENGINE_ACQUISITION_REGRESSION_WINDOW_H

#include <cstdint>
#include <vector>

#include "handheld/engine/acquisition/fit_values.h"

struct regressionWindow {
  int capacity = 0;
  int count = 0;
  int newest = 0;  // index of the newest point
  std::vector<fitPoint> points;
  uint8_t mean_known = 0;
  double mean = 0.0;
  uint8_t spread_known = 0;
  double variance = 0.0;
};

// Empties the window and makes room for capacity points.
void window_reset(regressionWindow& window, int capacity);

// Appends a point; when full, the oldest is overwritten.
void window_add(regressionWindow& window, double x, double y);

// Mean of y; kTooFewPoints for fewer than 2 points.
double window_mean(regressionWindow& window);

// Sample standard deviation of y; kTooFewPoints for fewer than 2 points.
double window_sd(regressionWindow& window);

// Least-squares line through the points, oldest first. 0 for fewer than 2
// points or every x the same, else 1.
int window_regression(const regressionWindow& window, double& intercept, double& slope);

#endif
