// Small evaluators and the result sentinels of the numeric helpers.
#ifndef HANDHELD_ENGINE_ACQUISITION_FIT_VALUES_H
#define HANDHELD_ENGINE_ACQUISITION_FIT_VALUES_H

// A measurement or fit result that was not obtained.
constexpr double kResultNotObtained = -1.11111e308;
// A window statistic over fewer than 2 points.
constexpr double kTooFewPoints = -123456789.0;

struct fitPoint {
  double x;
  double y;
};

inline double linear_value(double a, double b, double x) { return a * x + b; }

inline double quadratic_value(double c0, double c1, double c2, double x) {
  return (c2 * x + c1) * x + c0;
}

#endif
