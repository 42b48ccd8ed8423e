#include "handheld/engine/acquisition/poly_fit.h"

#include <algorithm>
#include <cmath>
#include <utility>

double basis_one(double) { return 1.0; }
double basis_x(double x) { return x; }
double basis_x2(double x) { return x * x; }
double basis_x3(double x) { return x * x * x; }
double basis_x4(double x) { return x * x * x * x; }

namespace {

constexpr int kMaxDegree = 4;

void clear_extremes(polyFit& fit) {
  fit.smallest_x = 1e50;
  fit.largest_x = -1e50;
  fit.smallest_y = 1e50;
  fit.largest_y = -1e50;
}

void drop_points(polyFit& fit) {
  fit.points = std::vector<fitPoint>();
  fit.sigmas = std::vector<double>();
  fit.count = 0;
  fit.capacity = 0;
}

// Bubble sort by x; each sigma moves with its point.
void sort_by_x(polyFit& fit) {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int i = 0; i + 1 < fit.count; ++i) {
      if (fit.points[i + 1].x < fit.points[i].x) {
        std::swap(fit.points[i], fit.points[i + 1]);
        std::swap(fit.sigmas[i], fit.sigmas[i + 1]);
        swapped = true;
      }
    }
  }
}

bool solve(polyFit& fit) {
  const int m = fit.basis_count;
  if (m < 1) return false;
  sort_by_x(fit);
  squareMatrix a;
  square_matrix_alloc(a, m);
  std::vector<double> b(static_cast<size_t>(m), 0.0);
  for (int k = 0; k < fit.count; ++k) {
    const double x = fit.points[k].x;
    const double w = 1.0 / (fit.sigmas[k] * fit.sigmas[k]);
    for (int r = 0; r < m; ++r) {
      const double br = fit.basis[r](x);
      for (int c = 0; c < m; ++c) a.rows[r][c] += br * fit.basis[c](x) * w;
      b[r] += fit.points[k].y * br * w;
    }
  }
  const double det = determinant(a);
  if (det == 0.0 || !std::isfinite(det)) return false;
  squareMatrix aj;
  square_matrix_alloc(aj, m);
  for (int j = 0; j < m; ++j) {
    std::copy(a.block.begin(), a.block.end(), aj.block.begin());
    for (int r = 0; r < m; ++r) aj.rows[r][j] = b[r];
    fit.coefficients[j] = determinant(aj) * (1.0 / det);
  }
  fit.solved = 1;
  return true;
}

}  // namespace

void poly_fit_init(polyFit& fit) { fit = polyFit(); }

int poly_fit_setup(polyFit& fit, int degree, basisFunction basis0) {
  fit.solved = 0;
  if (degree < 0 || degree > kMaxDegree) {
    fit.basis_count = 0;
    return 0;
  }
  static const basisFunction powers[kMaxDegree + 1] = {basis_one, basis_x, basis_x2, basis_x3,
                                                       basis_x4};
  for (basisFunction& f : fit.basis) f = nullptr;
  fit.basis[0] = basis0 != nullptr ? basis0 : basis_one;
  for (int i = 1; i <= degree; ++i) fit.basis[i] = powers[i];
  fit.basis_count = degree + 1;
  drop_points(fit);
  for (double& c : fit.coefficients) c = 0.0;
  clear_extremes(fit);
  return 1;
}

void poly_fit_add(polyFit& fit, double x, double y, double sigma) {
  if (fit.count >= fit.capacity) {
    fit.capacity += fit.growth > 0 ? fit.growth : 8;
    fit.points.reserve(static_cast<size_t>(fit.capacity));
    fit.sigmas.reserve(static_cast<size_t>(fit.capacity));
  }
  fit.points.push_back(fitPoint{x, y});
  fit.sigmas.push_back(sigma == 0.0 ? 1.0 : sigma);
  ++fit.count;
  if (x < fit.smallest_x) fit.smallest_x = x;
  if (x > fit.largest_x) fit.largest_x = x;
  if (y < fit.smallest_y) fit.smallest_y = y;
  if (y > fit.largest_y) fit.largest_y = y;
  fit.solved = 0;
}

double poly_fit_value(polyFit& fit, double x) {
  if (fit.solved == 0 && !solve(fit)) return kResultNotObtained;
  double sum = 0.0;
  for (int i = 0; i < fit.basis_count; ++i) sum += fit.coefficients[i] * fit.basis[i](x);
  return sum;
}

void poly_fit_free(polyFit& fit) { drop_points(fit); }

void square_matrix_alloc(squareMatrix& matrix, int n) {
  matrix.order = n > 0 ? n : 0;
  const size_t order = static_cast<size_t>(matrix.order);
  matrix.block.assign(order * order, 0.0);
  matrix.rows.resize(order);
  for (size_t r = 0; r < order; ++r) matrix.rows[r] = matrix.block.data() + r * order;
}

void square_matrix_free(squareMatrix& matrix) {
  matrix.order = 0;
  matrix.block = std::vector<double>();
  matrix.rows = std::vector<double*>();
}

double determinant(const squareMatrix& matrix) {
  const int n = matrix.order;
  if (n < 1) return kResultNotObtained;
  if (n == 1) return matrix.rows[0][0];
  if (n == 2) return matrix.rows[0][0] * matrix.rows[1][1] - matrix.rows[0][1] * matrix.rows[1][0];
  squareMatrix minor;
  square_matrix_alloc(minor, n - 1);
  double sum = 0.0;
  double sign = 1.0;
  for (int i = 0; i < n; ++i) {
    for (int r = 1; r < n; ++r) {
      int mc = 0;
      for (int c = 0; c < n; ++c) {
        if (c != i) minor.rows[r - 1][mc++] = matrix.rows[r][c];
      }
    }
    sum += sign * matrix.rows[0][i] * determinant(minor);
    sign = -sign;
  }
  return sum;
}
