// Weighted general linear least-squares fit over up to five basis functions
// (1, x, x^2, x^3, x^4, or a caller's own first function), solved by
// Cramer's rule on the normal equations.
#ifndef HANDHELD_ENGINE_ACQUISITION_POLY_FIT_H
#define HANDHELD_ENGINE_ACQUISITION_POLY_FIT_H

#include <cstdint>
#include <vector>

#include "handheld/engine/acquisition/fit_values.h"

using basisFunction = double (*)(double x);

double basis_one(double x);
double basis_x(double x);
double basis_x2(double x);
double basis_x3(double x);
double basis_x4(double x);

struct polyFit {
  int capacity = 0;
  int growth = 8;
  double smallest_x = 1e50;
  double largest_x = -1e50;
  double smallest_y = 1e50;
  double largest_y = -1e50;
  int count = 0;
  std::vector<fitPoint> points;
  std::vector<double> sigmas;
  basisFunction basis[6] = {};
  double coefficients[6] = {};
  uint8_t solved = 0;
  int basis_count = 0;
};

// No points, no basis, not solved.
void poly_fit_init(polyFit& fit);

// Degree 0 to 4: basis 0 is basis0 (the constant 1 when null) and basis i is
// x^i; the points are dropped and coefficients and extremes cleared; returns
// 1. Another degree returns 0 and leaves the fit without a basis, so that it
// evaluates to kResultNotObtained.
int poly_fit_setup(polyFit& fit, int degree, basisFunction basis0);

// Appends a point with its standard deviation (0 is taken as 1.0).
void poly_fit_add(polyFit& fit, double x, double y, double sigma);

// The fitted function at x, solving first when points changed;
// kResultNotObtained when the system is singular.
double poly_fit_value(polyFit& fit, double x);

void poly_fit_free(polyFit& fit);

// An n x n matrix in one block, with a table of row pointers into it.
struct squareMatrix {
  int order = 0;
  std::vector<double> block;
  std::vector<double*> rows;

  squareMatrix() = default;
  squareMatrix(const squareMatrix&) = delete;
  squareMatrix& operator=(const squareMatrix&) = delete;
};

void square_matrix_alloc(squareMatrix& matrix, int n);
void square_matrix_free(squareMatrix& matrix);

// Cofactor expansion along row 0; order 1 is the one element; kResultNotObtained
// for an empty matrix.
double determinant(const squareMatrix& matrix);

#endif
