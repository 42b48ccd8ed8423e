#include "desktop/winlib/math/basis_fit.h"

#include "desktop/winlib/math/matrix.h"

double basis_one(double) { return 1.0; }
double basis_x(double x) { return x; }
double basis_x2(double x) { return x * x; }
double basis_x3(double x) { return x * x * x; }
double basis_x4(double x) { return x * x * x * x; }

void polyFitClass::init() {
  free();
  for (basisFunction& b : basis_) b = nullptr;
  for (double& c : coefficients_) c = 0.0;
  used_ = 0;
}

void polyFitClass::free() {
  delete[] points_;
  delete[] sigmas_;
  points_ = nullptr;
  sigmas_ = nullptr;
  count_ = capacity_ = 0;
  solved_ = 0;
}

bool polyFitClass::setup(int degree, basisFunction basis0) {
  if (degree < 0 || degree > 4) return false;
  static const basisFunction powers[5] = {basis_one, basis_x, basis_x2, basis_x3, basis_x4};
  free();
  for (double& c : coefficients_) c = 0.0;
  basis_[0] = basis0 ? basis0 : basis_one;
  for (int i = 1; i <= degree; i++) basis_[i] = powers[i];
  used_ = degree + 1;
  return true;
}

void polyFitClass::add(double x, double y, double sigma) {
  if (count_ >= capacity_) {
    int capacity = capacity_ + step_;
    point* points = new point[capacity];
    double* sigmas = new double[capacity];
    for (int i = 0; i < count_; i++) {
      points[i] = points_[i];
      sigmas[i] = sigmas_[i];
    }
    delete[] points_;
    delete[] sigmas_;
    points_ = points;
    sigmas_ = sigmas;
    capacity_ = capacity;
  }
  points_[count_] = point{x, y};
  sigmas_[count_] = sigma == 0.0 ? 1.0 : sigma;
  count_++;
  solved_ = 0;
}

bool polyFitClass::solve() {
  if (count_ < 2 || used_ < 1) return false;
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i + 1 < count_; i++) {
      if (points_[i].x > points_[i + 1].x) {
        point p = points_[i];
        points_[i] = points_[i + 1];
        points_[i + 1] = p;
        double s = sigmas_[i];
        sigmas_[i] = sigmas_[i + 1];
        sigmas_[i + 1] = s;
        swapped = true;
      }
    }
  }
  const int m = used_;
  numeric_matrix a(m, m);
  double** cells = a.blocks();
  auto fill = [&]() {
    for (int r = 0; r < m; r++) {
      for (int c = 0; c < m; c++) {
        double sum = 0;
        for (int k = 0; k < count_; k++) {
          double x = points_[k].x, w = sigmas_[k] * sigmas_[k];
          sum += basis_[r](x) * basis_[c](x) / w;
        }
        cells[r][c] = sum;
      }
    }
  };
  fill();
  double det = determinant(a);
  if (det == 0.0) return false;
  for (int j = 0; j < m; j++) {
    fill();
    for (int r = 0; r < m; r++) {
      double sum = 0;
      for (int k = 0; k < count_; k++) {
        sum += basis_[r](points_[k].x) * points_[k].y / (sigmas_[k] * sigmas_[k]);
      }
      cells[r][j] = sum;
    }
    coefficients_[j] = determinant(a) / det;
  }
  solved_ = 1;
  return true;
}

double polyFitClass::value(double x) {
  if (!solved_ && !solve()) return fit_failure_value;
  double sum = 0;
  for (int i = 0; i < used_; i++) sum += coefficients_[i] * basis_[i](x);
  return sum;
}
