#include <gtest/gtest.h>

#include <cmath>

#include "handheld/engine/acquisition/fit_values.h"
#include "handheld/engine/acquisition/line_fit.h"
#include "handheld/engine/acquisition/poly_fit.h"
#include "handheld/engine/acquisition/regression_window.h"

namespace {

TEST(LineFit, FitsUnsortedPointsAndKeepsTheirExtremes) {
  straightLineFit fit;
  line_fit_init(fit, 10);
  const double xs[] = {3, -1, 2, 0, 1};
  for (double x : xs) EXPECT_EQ(line_fit_add(fit, x, 2 * x + 1), 0);
  EXPECT_DOUBLE_EQ(line_fit_value(fit, 10), 21);
  EXPECT_DOUBLE_EQ(fit.slope, 2);
  EXPECT_DOUBLE_EQ(fit.intercept, 1);
  EXPECT_DOUBLE_EQ(fit.mean_y, 3);
  EXPECT_EQ(fit.smallest_x, -1);
  EXPECT_EQ(fit.largest_x, 3);
  EXPECT_EQ(fit.smallest_y, -1);
  EXPECT_EQ(fit.largest_y, 7);
  EXPECT_EQ(fit.points[0].x, -1);  // sorted by x
  EXPECT_DOUBLE_EQ(line_fit_residual_sd(fit), 0);

  // A new point clears the solution; the next evaluation solves again.
  line_fit_add(fit, 4, 0);
  EXPECT_EQ(fit.solved, 0);
  line_fit_value(fit, 0);
  EXPECT_EQ(fit.solved, 1);
  EXPECT_LT(fit.slope, 2);
}

TEST(LineFit, ResidualStandardDeviation) {
  straightLineFit fit;
  line_fit_init(fit, 4);
  line_fit_add(fit, 0, 0);
  line_fit_add(fit, 1, 1);
  line_fit_add(fit, 2, 0);
  line_fit_add(fit, 3, 1);
  // slope 0.2, intercept 0.2; residuals -0.2, 0.6, -0.6, 0.2.
  EXPECT_DOUBLE_EQ(line_fit_residual_sd(fit), std::sqrt(0.8 / 2));
  EXPECT_DOUBLE_EQ(fit.residual_sd, std::sqrt(0.8 / 2));
}

TEST(LineFit, TooFewOrCoincidingPointsGiveNoResult) {
  straightLineFit fit;
  line_fit_init(fit, 3);
  EXPECT_EQ(fit.slope, 0);
  EXPECT_EQ(fit.intercept, 0);
  EXPECT_EQ(line_fit_value(fit, 5), 0.0);
  EXPECT_EQ(fit.error, 1);

  line_fit_init(fit, 3);
  line_fit_add(fit, 1, 4);
  line_fit_add(fit, 2, 6);
  EXPECT_DOUBLE_EQ(line_fit_value(fit, 3), 8);
  EXPECT_EQ(line_fit_residual_sd(fit), kResultNotObtained);  // 2 points: no divisor

  line_fit_init(fit, 3);
  line_fit_add(fit, 2, 1);
  line_fit_add(fit, 2, 5);
  line_fit_add(fit, 2, 9);
  EXPECT_EQ(line_fit_value(fit, 2), 0.0);
  EXPECT_EQ(fit.solved, 0);
  EXPECT_EQ(line_fit_residual_sd(fit), kResultNotObtained);
  EXPECT_EQ(fit.error, 0);
  EXPECT_EQ(line_fit_add(fit, 3, 3), 1);  // full: dropped
  EXPECT_EQ(fit.count, 3);
  EXPECT_EQ(fit.error, 1);
}

TEST(Determinant, OrdersOneToFour) {
  squareMatrix m;
  EXPECT_EQ(determinant(m), kResultNotObtained);
  square_matrix_alloc(m, 1);
  m.rows[0][0] = -4.5;
  EXPECT_EQ(determinant(m), -4.5);
  square_matrix_alloc(m, 3);
  const double three[3][3] = {{2, -3, 1}, {2, 0, -1}, {1, 4, 5}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m.rows[r][c] = three[r][c];
  EXPECT_DOUBLE_EQ(determinant(m), 49);
  square_matrix_alloc(m, 4);
  const double four[4][4] = {{1, 0, 2, -1}, {3, 0, 0, 5}, {2, 1, 4, -3}, {1, 0, 5, 0}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m.rows[r][c] = four[r][c];
  EXPECT_DOUBLE_EQ(determinant(m), 30);
  square_matrix_free(m);
  EXPECT_EQ(m.order, 0);
}

TEST(PolyFit, RecoversAWeightedQuadratic) {
  polyFit fit;
  poly_fit_init(fit);
  ASSERT_EQ(poly_fit_setup(fit, 2, nullptr), 1);
  const double xs[] = {4, -2, 0, 1, 3, -1, 2, 5, -3, 6};  // more than one growth step
  for (int i = 0; i < 10; ++i) {
    const double x = xs[i];
    poly_fit_add(fit, x, 1 + 2 * x + 3 * x * x, i % 3 == 0 ? 0.0 : 0.5 * (i + 1));
  }
  EXPECT_EQ(fit.capacity, 16);
  EXPECT_EQ(fit.sigmas[0], 1.0);  // sigma 0 is taken as 1
  EXPECT_NEAR(poly_fit_value(fit, 10), 321, 1e-6);
  EXPECT_NEAR(fit.coefficients[0], 1, 1e-9);
  EXPECT_NEAR(fit.coefficients[1], 2, 1e-9);
  EXPECT_NEAR(fit.coefficients[2], 3, 1e-9);
  EXPECT_EQ(fit.smallest_x, -3);
  EXPECT_EQ(fit.largest_x, 6);
  poly_fit_free(fit);
  EXPECT_EQ(fit.count, 0);
}

TEST(PolyFit, DegreeZeroIsTheWeightedMean) {
  polyFit fit;
  poly_fit_init(fit);
  ASSERT_EQ(poly_fit_setup(fit, 0, nullptr), 1);
  poly_fit_add(fit, 1, 2, 1);
  poly_fit_add(fit, 2, 4, 2);  // weight 1/4
  EXPECT_DOUBLE_EQ(poly_fit_value(fit, 7), (2 + 4 * 0.25) / 1.25);

  // A caller's own first basis function: y = c * x^2.
  ASSERT_EQ(poly_fit_setup(fit, 0, basis_x2), 1);
  poly_fit_add(fit, 2, 12, 1);
  poly_fit_add(fit, -1, 3, 1);
  EXPECT_DOUBLE_EQ(poly_fit_value(fit, 3), 27);
}

TEST(PolyFit, SingularOrUnusableFitsGiveTheFailureValue) {
  polyFit fit;
  poly_fit_init(fit);
  EXPECT_EQ(poly_fit_value(fit, 1), kResultNotObtained);  // no basis yet
  ASSERT_EQ(poly_fit_setup(fit, 1, nullptr), 1);
  EXPECT_EQ(poly_fit_value(fit, 1), kResultNotObtained);  // no points
  poly_fit_add(fit, 2, 1, 1);
  poly_fit_add(fit, 2, 3, 1);
  EXPECT_EQ(poly_fit_value(fit, 1), kResultNotObtained);  // one x only
  poly_fit_add(fit, 4, 5, 1);
  EXPECT_NEAR(poly_fit_value(fit, 6), 8, 1e-12);
  EXPECT_EQ(poly_fit_setup(fit, 5, nullptr), 0);
  EXPECT_EQ(poly_fit_value(fit, 6), kResultNotObtained);
  EXPECT_EQ(poly_fit_setup(fit, -1, nullptr), 0);
  EXPECT_EQ(poly_fit_value(fit, 6), kResultNotObtained);
}

TEST(RegressionWindow, RingOverwritesTheOldestAndWalksOldestFirst) {
  regressionWindow w;
  window_reset(w, 5);
  double a = 0, b = 0;
  EXPECT_EQ(window_mean(w), kTooFewPoints);
  window_add(w, 0, 99);
  EXPECT_EQ(window_sd(w), kTooFewPoints);
  EXPECT_EQ(window_regression(w, a, b), 0);
  for (int x = 1; x <= 5; ++x) window_add(w, x, 3 * x - 2);
  EXPECT_EQ(w.count, 5);
  EXPECT_EQ(w.newest, 0);  // the sixth point replaced the first
  EXPECT_DOUBLE_EQ(window_mean(w), 7);
  const double sd = std::sqrt((36 + 9 + 0 + 9 + 36) / 4.0);
  EXPECT_DOUBLE_EQ(window_sd(w), sd);
  EXPECT_DOUBLE_EQ(window_sd(w), sd);  // cached: still the deviation
  ASSERT_EQ(window_regression(w, a, b), 1);
  EXPECT_DOUBLE_EQ(a, -2);
  EXPECT_DOUBLE_EQ(b, 3);

  window_add(w, 6, 0);
  EXPECT_EQ(w.newest, 1);
  EXPECT_DOUBLE_EQ(window_mean(w), (4 + 7 + 10 + 13 + 0) / 5.0);

  window_reset(w, 3);
  window_add(w, 2, 1);
  window_add(w, 2, 5);
  EXPECT_EQ(window_regression(w, a, b), 0);
  window_reset(w, 0);
  window_add(w, 1, 1);
  EXPECT_EQ(w.count, 0);
}

TEST(FitValues, Evaluators) {
  EXPECT_EQ(linear_value(2, 3, 4), 11);
  EXPECT_EQ(quadratic_value(1, 2, 3, 2), 17);
}

}  // namespace
