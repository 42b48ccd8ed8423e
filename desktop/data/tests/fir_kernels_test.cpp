#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "desktop/data/fir_kernels.h"
#include "desktop/data/tests/golden_filters.h"
#include "desktop/data/tests/test_signal.h"

namespace {

void expect_near_all(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); i++) EXPECT_NEAR(actual[i], expected[i], tolerance) << "at " << i;
}

std::vector<double> delta(int m) {
  std::vector<double> d(static_cast<size_t>(m), 0.0);
  d[(m - 1) / 2] = 1.0;
  return d;
}

// Magnitude of a kernel's response at f cycles per sample.
double gain(const std::vector<double>& h, double f) {
  const double pi = std::acos(-1.0);
  double re = 0.0, im = 0.0;
  for (size_t i = 0; i < h.size(); i++) {
    re += h[i] * std::cos(2.0 * pi * f * i);
    im -= h[i] * std::sin(2.0 * pi * f * i);
  }
  return std::hypot(re, im);
}

TEST(FirKernels, LowpassEqualsScipyBlackmanDesign) {
  for (const golden_lowpass_kernel& g : golden_lowpass_kernels) {
    SCOPED_TRACE(testing::Message() << g.m << " taps at " << g.fc);
    const std::vector<double> h = blackman_lowpass_kernel(g.m, g.fc);
    expect_near_all(h, golden_values(g.offset, g.m), 1e-12);
  }
}

TEST(FirKernels, BandKernelsEqualTheirScipyComposition) {
  for (const golden_band_kernel& g : golden_band_kernels) {
    SCOPED_TRACE(testing::Message() << g.m << " taps " << g.f1 << " .. " << g.f2 << " at " << g.fs);
    expect_near_all(band_kernel(g.m, g.f1, g.f2, g.fs), golden_values(g.offset, g.m), 1e-12);
  }
}

TEST(FirKernels, ZeroCutoffAndZeroWidthGiveZeros) {
  EXPECT_EQ(blackman_lowpass_kernel(31, 0.0), std::vector<double>(31, 0.0));
  expect_near_all(band_kernel(63, 40.0, 40.0, 1000.0), std::vector<double>(63, 0.0), 1e-15);
  EXPECT_TRUE(blackman_lowpass_kernel(0, 0.1).empty());
  EXPECT_EQ(blackman_lowpass_kernel(1, 0.1), std::vector<double>{1.0});
}

// A cut-off above half the sampling rate is half, where the low-pass passes
// everything: the kernel is the identity.
TEST(FirKernels, CutoffAboveHalfTheRateIsHalf) {
  expect_near_all(band_kernel(31, 0.0, 800.0, 1000.0), delta(31), 1e-15);
  expect_near_all(band_kernel(63, 100.0, 5000.0, 1000.0), band_kernel(63, 100.0, 500.0, 1000.0), 0.0);
}

// The pass and stop bands of the three shapes, at 1000 Hz.
TEST(FirKernels, PassAndStopBands) {
  const double fs = 1000.0;
  const std::vector<double> low = band_kernel(127, 0.0, 50.0, fs);
  EXPECT_NEAR(gain(low, 10.0 / fs), 1.0, 1e-3);
  EXPECT_LT(gain(low, 150.0 / fs), 1e-3);
  const std::vector<double> pass = band_kernel(127, 100.0, 200.0, fs);
  EXPECT_NEAR(gain(pass, 150.0 / fs), 1.0, 1e-3);
  EXPECT_LT(gain(pass, 20.0 / fs), 1e-3);
  EXPECT_LT(gain(pass, 300.0 / fs), 1e-3);
  const std::vector<double> reject = band_kernel(127, 200.0, 100.0, fs);
  EXPECT_LT(gain(reject, 150.0 / fs), 1e-3);
  EXPECT_NEAR(gain(reject, 20.0 / fs), 1.0, 1e-3);
  EXPECT_NEAR(gain(reject, 300.0 / fs), 1.0, 1e-3);
}

TEST(Convolution, EqualsNumpyValidConvolution) {
  for (const golden_convolution& g : golden_convolutions) {
    SCOPED_TRACE(testing::Message() << g.na << " with " << g.nb);
    const std::vector<double> a = test_values(g.seed_a, g.na);
    const std::vector<double> b = test_values(g.seed_b, g.nb);
    int count = -1;
    const std::vector<double> out = convolve_valid(a.data(), g.na, b.data(), g.nb, count);
    EXPECT_EQ(count, g.count);
    expect_near_all(out, golden_values(g.offset, g.count), 1e-12);
    // The roles of the two arrays never depend on their order.
    expect_near_all(convolve_valid(b.data(), g.nb, a.data(), g.na, count), out, 1e-15);
  }
}

TEST(Convolution, EmptyArrayGivesNothing) {
  const double a[] = {1.0, 2.0};
  int count = -1;
  EXPECT_TRUE(convolve_valid(a, 2, nullptr, 0, count).empty());
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(convolve_valid(a, 0, a, 2, count).empty());
  EXPECT_EQ(count, 0);
}

TEST(Convolution, FiltersApplyTheirKernels) {
  const std::vector<double> v = test_values(5, 300);
  int count = 0, expected_count = 0;
  const std::vector<double> kernel = band_kernel(63, 30.0, 90.0, 1000.0);
  const std::vector<double> expected = convolve_valid(v.data(), 300, kernel.data(), 63, expected_count);
  EXPECT_EQ(band_fir_filter(v.data(), 300, 63, count, 30.0, 90.0, 1000.0), expected);
  EXPECT_EQ(count, 238);
  const std::vector<double> low = blackman_lowpass_kernel(31, 0.04);
  EXPECT_EQ(lowpass_fir_filter(v.data(), 300, 31, count, 40.0, 1000.0),
            convolve_valid(v.data(), 300, low.data(), 31, expected_count));
  EXPECT_EQ(count, 270);
}

}  // namespace
