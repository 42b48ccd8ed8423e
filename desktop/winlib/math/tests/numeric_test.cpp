#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/containers/bounded_vector.h"
#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/math/straight_line_fit.h"
#include "desktop/winlib/math/matrix.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/math/basis_fit.h"
#include "desktop/winlib/math/trace_levels.h"

namespace {

// A table cell of the width the text tables use.
struct cell32 {
  char bytes[32];
};
static_assert(sizeof(cell32) == 32, "cell width");

void fill(matrix<double>& m, std::initializer_list<double> values) {
  auto v = values.begin();
  for (int r = m.first_row(); r <= m.last_row(); r++) {
    for (int c = m.first_col(); c <= m.last_col(); c++) *m.element(r, c) = *v++;
  }
}

}  // namespace

TEST(Vector, IndicesInsideTheBounds) {
  vector<double> v(5, 9);
  EXPECT_EQ(v.capacity(), 5);
  EXPECT_EQ(v.element_size(), 8);
  EXPECT_EQ(v.highest(), 4);
  EXPECT_EQ(v.last_index(), 4);
  *v.ele(5) = 1.5;
  *v.ele(9) = 2.5;
  EXPECT_EQ(v.data()[0], 1.5);
  EXPECT_EQ(v.data()[4], 2.5);
  EXPECT_EQ(v.highest(), 9);
  EXPECT_EQ(vector<cell32>::element_size(), 32);
}

TEST(Vector, OutOfBoundsIndices) {
  message_capture capture;
  vector<double> v(0, 3);
  *v.ele(0) = 7;
  // Reads outside the bounds are reported (except -1) and give the first
  // element; writes outside them go nowhere.
  EXPECT_EQ(v.ele(-1), v.data());
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_EQ(v.ele(4), v.data());
  EXPECT_EQ(v.ele(-2), v.data());
  EXPECT_FALSE(v.set(99, 4));
  EXPECT_FALSE(v.set(99, -1));
  EXPECT_EQ(v.data()[0], 7);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "*** vector::ele COL/VECTOR INDEX OUT OF BOUNDS [0..3]<--[4] ***",
                                 "*** vector::ele COL/VECTOR INDEX OUT OF BOUNDS [0..3]<--[-2] ***",
                                 "*** vector::ele COL/VECTOR INDEX OUT OF BOUNDS [0..3]<--[4] ***",
                             }));
}

TEST(Vector, GrowsOneStepAtATime) {
  message_capture capture;
  vector<double> v(1, 4, 3);
  *v.ele(2) = 5;
  double* grown = v.ele(7);  // upper + step: grows once
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(v.upper(), 7);
  EXPECT_EQ(v.capacity(), 7);
  EXPECT_EQ(*v.ele(2), 5);
  EXPECT_EQ(v.ele(11), nullptr);  // upper + step + 1
  EXPECT_EQ(v.upper(), 7);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** index (11) too large ***"});
}

TEST(Vector, AppendMovesTheCursorFirst) {
  message_capture capture;
  vector<double> v(0, 1, 2);
  EXPECT_EQ(v.append(1.0), 0);
  EXPECT_EQ(v.append(2.0), 1);
  EXPECT_EQ(v.append(3.0), 2);  // grows
  EXPECT_EQ(v.last_index(), 2);
  EXPECT_EQ(*v.ele(2), 3.0);
  vector<double> fixed(0, 0);
  fixed.append(1.0);
  EXPECT_EQ(fixed.append(2.0), 1);  // refused, the cursor still moved
  EXPECT_EQ(fixed.data()[0], 1.0);
  EXPECT_EQ(capture.texts().size(), 1u);
}

TEST(Vector, Arithmetic) {
  message_capture capture;
  vector<double> a(0, 2), b(1, 3), c(0, 2), d(0, 3);
  for (int i = 0; i < 3; i++) {
    a.set(i + 1, i);
    b.set(10 * (i + 1), i + 1);
  }
  EXPECT_EQ(vdot(a, b), 10 + 40 + 90);
  vadd(a, b, c);
  EXPECT_EQ(c.data()[2], 33);
  EXPECT_EQ(vector_max(a), 3);
  EXPECT_EQ(vector_min(a), 1);
  EXPECT_EQ(vector_max(d), 0);  // nothing touched
  EXPECT_TRUE(capture.texts().empty());

  EXPECT_EQ(vdot(a, d), 0);
  d.set(5, 0);
  vadd(a, b, d);
  EXPECT_EQ(d.data()[0], 5);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** vdot DIMENSIONS NOT EQUAL 3/4 ***",
                                                       "*** vadd DIMENSIONS NOT EQUAL 3/3->4***"}));

  byteObjectClass text("old ");
  print_vector(text, a);
  char expected[64];
  snprintf(expected, sizeof expected, "old %9.2E %9.2E %9.2E ", 1.0, 2.0, 3.0);
  EXPECT_STREQ(text.text(), expected);
  print_vector(text, a, true);
  EXPECT_STREQ(text.text(), expected + 4);
}

TEST(Matrix, RowsAndElements) {
  message_capture capture;
  matrix<double> m(1, 2, 0, 2);
  EXPECT_EQ(m.order(), 0);  // 2 x 3
  EXPECT_EQ(m.first_row(), 1);
  EXPECT_EQ(m.first_col(), 0);
  EXPECT_EQ(m.last_col(), 2);
  fill(m, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(*m.element(2, 1), 5);
  EXPECT_EQ(m.row(0), nullptr);
  EXPECT_EQ(m.element(3, 0), nullptr);  // no crash: the reported neutral result
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** ROW OUT OF BOUNDS 1..0..2 ***",
                                                       "*** ROW OUT OF BOUNDS 1..3..2 ***"}));
  matrix<cell32> cells(0, 3, 0, 4);
  EXPECT_NE(cells.element(3, 4), nullptr);
  m.destroy();
  EXPECT_EQ(m.row_count(), 0);
}

TEST(Matrix, Determinants) {
  message_capture capture;
  numeric_matrix one(1, 1);
  fill(one, {-3.5});
  EXPECT_EQ(determinant(one), -3.5);
  numeric_matrix two(2, 2);
  fill(two, {3, 8, 4, 6});
  EXPECT_EQ(determinant(two), -14);
  numeric_matrix three(3, 3);
  fill(three, {6, 1, 1, 4, -2, 5, 2, 8, 7});
  EXPECT_DOUBLE_EQ(determinant(three), -306);
  matrix<double> shifted(1, 4, 1, 4);  // bounds other than 0 give the same
  fill(shifted, {1, 0, 2, -1, 3, 0, 0, 5, 2, 1, 4, -3, 1, 0, 5, 0});
  EXPECT_DOUBLE_EQ(determinant(shifted), 30);
  EXPECT_TRUE(capture.texts().empty());
  numeric_matrix wide(2, 3);
  EXPECT_EQ(determinant(wide), 0);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** determinant: MATRIX IS NOT SQUARE (2 x 3) ***"});
}

TEST(Matrix, Inversion) {
  message_capture capture;
  numeric_matrix in1(1, 1), out1(1, 1);
  fill(in1, {4});
  ASSERT_TRUE(invert(in1, out1));
  EXPECT_EQ(*out1.element(0, 0), 0.25);

  numeric_matrix a(3, 3), in(3, 3), out(3, 3);
  fill(a, {2, 1, 1, 1, 3, 2, 1, 0, 0});
  fill(in, {2, 1, 1, 1, 3, 2, 1, 0, 0});
  ASSERT_TRUE(invert(in, out));
  for (int r = 0; r < 3; r++) {
    for (int c = 0; c < 3; c++) {
      double sum = 0;
      for (int k = 0; k < 3; k++) sum += *a.element(r, k) * *out.element(k, c);
      EXPECT_NEAR(sum, r == c ? 1 : 0, 1e-12) << r << "," << c;
    }
  }
  EXPECT_TRUE(capture.texts().empty());

  numeric_matrix zero(2, 2), zout(2, 2), other(3, 3), singular(2, 2), sout(2, 2);
  fill(zero, {0, 1, 1, 0});
  fill(singular, {1, 2, 2, 4});
  EXPECT_FALSE(invert(zero, zout));
  EXPECT_FALSE(invert(zero, other));
  EXPECT_FALSE(invert(singular, sout));  // a later zero pivot
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** invert: A1(0,0) is zero ***",
                                                       "*** invert: in and out are not dimensioned the same. ***",
                                                       "*** invert: A1(1,1) is zero ***"}));
}

TEST(Matrix, Printing) {
  numeric_matrix m(2, 2);
  fill(m, {1, 2, 3, 4});
  byteObjectClass text;
  print_matrix(text, m);
  char expected[128];
  snprintf(expected, sizeof expected, "%9.2E %9.2E \n%9.2E %9.2E \n", 1.0, 2.0, 3.0, 4.0);
  EXPECT_STREQ(text.text(), expected);
}

TEST(LineFit, FitsAndResiduals) {
  lineFit fit(10);
  fit.add_point(3, 7);
  fit.add_point(1, 3);
  fit.add_point(2, 5);
  EXPECT_DOUBLE_EQ(fit.slope(), 2);
  EXPECT_DOUBLE_EQ(fit.intercept(), 1);
  EXPECT_DOUBLE_EQ(fit.value(10), 21);
  EXPECT_DOUBLE_EQ(fit.residual_sd(), 0);
  fit.add_point(4, 10);  // off the line: the fit is made again
  EXPECT_NEAR(fit.slope(), 2.3, 1e-12);
  EXPECT_GT(fit.residual_sd(), 0);
  EXPECT_FALSE(fit.error());
}

TEST(LineFit, DegenerateFits) {
  lineFit fit(2);
  EXPECT_EQ(fit.value(1), 0);  // no points
  EXPECT_TRUE(fit.error());
  fit.clear();
  fit.add_point(1, 1);
  fit.add_point(1, 2);  // all x equal
  EXPECT_EQ(fit.value(1), 0);
  EXPECT_EQ(fit.residual_sd(), 0);
  fit.add_point(5, 5);  // at capacity: dropped
  EXPECT_EQ(fit.count(), 2);
  EXPECT_TRUE(fit.error());
}

TEST(PolyFit, WeightedFits) {
  polyFitClass fit;
  ASSERT_TRUE(fit.setup(2, nullptr));
  fit.add(2, 3 - 2 * 2 + 0.5 * 4, 0);
  fit.add(-1, 3 + 2 + 0.5, 0);
  fit.add(0, 3, 0);
  EXPECT_NEAR(fit.value(4), 3 - 8 + 0.5 * 16, 1e-9);
  EXPECT_NEAR(fit.coefficient(0), 3, 1e-9);
  EXPECT_NEAR(fit.coefficient(1), -2, 1e-9);
  EXPECT_NEAR(fit.coefficient(2), 0.5, 1e-9);

  // Weights: with two sigmas of 1 and one of 1e3, a line through 3 points
  // passes close to the two well-known points.
  ASSERT_TRUE(fit.setup(1, nullptr));
  fit.add(0, 0, 1);
  fit.add(1, 1, 1);
  fit.add(2, 10, 1e3);
  EXPECT_NEAR(fit.value(1), 1, 1e-3);

  // More points than the growth step (the normal equations of a quartic
  // are badly conditioned: close, not exact).
  ASSERT_TRUE(fit.setup(4, basis_one));
  for (int i = 0; i < 20; i++) fit.add(i, std::pow(i, 4) - i, 0);
  EXPECT_EQ(fit.count(), 20);
  EXPECT_NEAR(fit.value(2.5), std::pow(2.5, 4) - 2.5, 1e-4);
}

TEST(PolyFit, Refusals) {
  polyFitClass fit;
  EXPECT_FALSE(fit.setup(5, nullptr));
  EXPECT_FALSE(fit.setup(-1, nullptr));
  EXPECT_EQ(fit.value(1), fit_failure_value);  // no basis
  ASSERT_TRUE(fit.setup(1, nullptr));
  fit.add(1, 1, 0);
  EXPECT_EQ(fit.value(1), fit_failure_value);  // one point
  fit.add(1, 2, 0);
  EXPECT_EQ(fit.value(1), fit_failure_value);  // singular
}

TEST(TraceHelpers, Extremes) {
  const int32_t values[] = {3, 9, -4, 9, 0};
  EXPECT_EQ(trace_argmax(values, 5), 1);
  EXPECT_EQ(trace_max(values, 5), 9);
  EXPECT_EQ(trace_min(values, 5), -4);
  EXPECT_EQ(trace_argmax(values, 0), -1);
  const int32_t ramp[] = {0, 3, 6, 9};
  EXPECT_DOUBLE_EQ(local_slope(ramp, 4), 3);
}

TEST(TraceHelpers, PeriodicLevels) {
  const double pi = 3.14159265358979323846;
  // Four periods of a sine of amplitude 1000 around 500, 100 points each.
  std::vector<int32_t> wave(400);
  for (size_t i = 0; i < wave.size(); i++) {
    wave[i] = static_cast<int32_t>(std::lround(500 + 1000 * std::sin(2 * pi * i / 100.0)));
  }
  double first = 0, mean_peak = 0, mean_trough = 0;
  int first_pos = 0;
  ASSERT_TRUE(periodic_levels(wave.data(), static_cast<int>(wave.size()), &first, &first_pos, &mean_peak,
                              &mean_trough));
  EXPECT_EQ(first, 1500);
  EXPECT_EQ(first_pos, 25);
  EXPECT_EQ(mean_peak, 1500);
  EXPECT_EQ(mean_trough, -500);

  // A trace that ends inside a run, and traces with nothing to find: the
  // walk stays inside the array and reports nothing found.
  std::vector<int32_t> cut(wave.begin(), wave.begin() + 40);
  EXPECT_FALSE(periodic_levels(cut.data(), static_cast<int>(cut.size()), &first, &first_pos, &mean_peak,
                               &mean_trough));
  std::vector<int32_t> flat(100, 7);
  EXPECT_FALSE(periodic_levels(flat.data(), 100, &first, &first_pos, &mean_peak, &mean_trough));
  EXPECT_EQ(first_pos, -1);
  EXPECT_EQ(mean_peak, 0);
  EXPECT_FALSE(periodic_levels(wave.data(), 20, &first, &first_pos, &mean_peak, &mean_trough));
}
