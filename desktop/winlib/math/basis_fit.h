// Weighted general least-squares fit of up to five basis functions
// (a chosen or constant first one, then x, x^2, x^3, x^4).
#ifndef DESKTOP_WINLIB_MATH_BASIS_FIT_H
#define DESKTOP_WINLIB_MATH_BASIS_FIT_H

#include <cstdint>

// What a weighted fit gives when it cannot be made.
constexpr double fit_failure_value = -1.11111e308;

typedef double (*basisFunction)(double x);

double basis_one(double x);
double basis_x(double x);
double basis_x2(double x);
double basis_x3(double x);
double basis_x4(double x);

class polyFitClass {
 public:
  polyFitClass() { init(); }
  ~polyFitClass() { free(); }
  polyFitClass(const polyFitClass&) = delete;
  polyFitClass& operator=(const polyFitClass&) = delete;

  // Empty fit without basis functions (releases any points).
  void init();
  // Releases the points.
  void free();
  // Degree 0 to 4: basis 0 is basis0 (the constant 1 when null), basis i is
  // x^i. Releases the points and clears the coefficients. False for any
  // other degree.
  bool setup(int degree, basisFunction basis0);
  // Adds a point; a sigma of 0 counts as 1.
  void add(double x, double y, double sigma);
  // The fitted function at x, fitting first when needed;
  // fit_failure_value with fewer than 2 points or a singular system.
  double value(double x);

  int count() const { return count_; }
  double coefficient(int i) const { return i >= 0 && i < 5 ? coefficients_[i] : 0.0; }

 private:
  struct point {
    double x, y;
  };
  bool solve();

  int count_ = 0;
  int capacity_ = 0;
  static constexpr int step_ = 8;
  point* points_ = nullptr;
  double* sigmas_ = nullptr;
  basisFunction basis_[6] = {};
  double coefficients_[5] = {};
  uint8_t solved_ = 0;
  int used_ = 0;
};

#endif
