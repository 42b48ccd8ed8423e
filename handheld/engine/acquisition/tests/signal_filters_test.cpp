#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "handheld/engine/acquisition/signal_filters.h"

namespace {

const double kPi = std::acos(-1.0);

TEST(LowpassDesign, FiveTapsAtAQuarterMatchTheWindowedSinc) {
  // Unscaled: 0, sin(pi/2) * 0.34, pi/2 * 1, 0.34, 0 (the window is 0 at the ends).
  const double s = 0.68 + kPi / 2;
  const std::vector<double> h = lowpass_design(5, 0.25);
  ASSERT_EQ(h.size(), 5u);
  const double expected[] = {0, 0.34 / s, kPi / 2 / s, 0.34 / s, 0};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(h[i], expected[i], 1e-15) << i;
}

TEST(LowpassDesign, CoefficientsAreSymmetricAndSumToOne) {
  for (int taps : {2, 3, 8, 9, 16, 17, 31, 64}) {
    const std::vector<double> h = lowpass_design(taps, 0.05);
    ASSERT_EQ(h.size(), static_cast<size_t>(taps));
    double sum = 0;
    for (int i = 0; i < taps; ++i) {
      sum += h[i];
      EXPECT_NEAR(h[i], h[taps - 1 - i], 1e-15) << taps;
    }
    EXPECT_NEAR(sum, 1.0, 1e-12) << taps;
  }
  EXPECT_EQ(lowpass_design(1, 0.1), std::vector<double>{1.0});
  EXPECT_TRUE(lowpass_design(0, 0.1).empty());
  EXPECT_TRUE(lowpass_design(-3, 0.1).empty());
}

std::vector<double> plain_valid(const std::vector<double>& x, const std::vector<double>& y) {
  const size_t m = x.size(), l = y.size();
  std::vector<double> out(l - m + 1, 0.0);
  for (size_t i = 0; i < out.size(); ++i) {
    for (size_t j = 0; j < m; ++j) out[i] += x[j] * y[m - 1 + i - j];
  }
  return out;
}

TEST(ConvolveValid, EqualsThePlainSumForEveryRemainder) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> value(-1000, 1000);
  for (int m = 1; m <= 20; ++m) {
    for (int l : {m, m + 1, m + 7, m + 30}) {
      std::vector<double> x(m), y(l);
      for (double& v : x) v = value(random);
      for (double& v : y) v = value(random);
      const std::vector<double> expected = plain_valid(x, y);
      // Whichever argument is the shorter, it slides along the longer.
      for (const auto& out : {convolve_valid(x.data(), m, y.data(), l),
                              convolve_valid(y.data(), l, x.data(), m)}) {
        ASSERT_EQ(out.size(), expected.size());
        for (size_t i = 0; i < out.size(); ++i) {
          EXPECT_NEAR(out[i], expected[i], 1e-9 * (1 + std::fabs(expected[i]))) << m << " " << l;
        }
      }
    }
  }
  const double five[] = {1, 2, 3, 4, 5};
  const double taps[] = {1, 0, 0, 0, 2};
  const std::vector<double> one = convolve_valid(five, 5, taps, 5);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], 1 * 5 + 2 * 1);
  EXPECT_TRUE(convolve_valid(five, 0, taps, 5).empty());
  EXPECT_TRUE(convolve_valid(nullptr, 5, taps, 5).empty());
}

TEST(LowpassFilterTrace, KeepsAConstantAndDropsTheEnds) {
  std::vector<double> trace(100, 42.0);
  int n = -1;
  std::vector<double> out = lowpass_filter_trace(trace.data(), 100, 21, n, 1.0, 20.0);
  ASSERT_EQ(n, 80);
  ASSERT_EQ(out.size(), 80u);
  for (double v : out) EXPECT_NEAR(v, 42.0, 1e-9);

  // A tone well above the cutoff is removed.
  for (int i = 0; i < 100; ++i) trace[i] = std::sin(2 * kPi * 0.4 * i);
  out = lowpass_filter_trace(trace.data(), 100, 31, n, 1.0, 20.0);
  for (double v : out) EXPECT_NEAR(v, 0.0, 1e-3);

  for (double den : {0.0, std::numeric_limits<double>::quiet_NaN()}) {
    out = lowpass_filter_trace(trace.data(), 100, 21, n, 1.0, den);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(n, 0);
  }
  EXPECT_TRUE(lowpass_filter_trace(trace.data(), 100, 0, n, 1.0, 20.0).empty());
}

// 12000 values over 800 ms: 15000 samples per second.
constexpr int kCount = 12000;
constexpr double kDuration = 800.0;

std::vector<int32_t> tone(double hz, double amplitude) {
  std::vector<int32_t> v(kCount);
  for (int i = 0; i < kCount; ++i) {
    v[i] = static_cast<int32_t>(amplitude * std::sin(2 * kPi * hz * i / 15000.0));
  }
  return v;
}

// RMS over the middle half, away from the ends.
double rms(const std::vector<int32_t>& v) {
  double sum = 0;
  for (int i = kCount / 4; i < 3 * kCount / 4; ++i) sum += double(v[i]) * v[i];
  return std::sqrt(sum / (kCount / 2));
}

TEST(BandrejectFilter, RejectsFiftyHertzAndPassesItsNeighbours) {
  struct row {
    double hz;
    double min_db, max_db;
  };
  const row rows[] = {{50, -1000, -20}, {10, -1, 1}, {200, -1, 1}};
  for (const row& r : rows) {
    const std::vector<int32_t> in = tone(r.hz, 100000);
    std::vector<int32_t> out(kCount);
    bandreject_filter(in.data(), out.data(), kCount, kDuration, 50.0, 10.0);
    const double db = 20 * std::log10(rms(out) / rms(in));
    EXPECT_GT(db, r.min_db) << r.hz;
    EXPECT_LT(db, r.max_db) << r.hz;
  }
}

TEST(BandrejectFilter, InPlaceEqualsCopyAndAConstantStays) {
  std::vector<int32_t> in = tone(50, 5000);
  for (int i = 0; i < kCount; ++i) in[i] += 1000 + i / 7;
  std::vector<int32_t> out(kCount);
  bandreject_filter(in.data(), out.data(), kCount, kDuration, 50.0, 10.0);
  std::vector<int32_t> same = in;
  EXPECT_EQ(bandreject_filter(same.data(), same.data(), kCount, kDuration, 50.0, 10.0), same.data());
  EXPECT_EQ(same, out);

  // Values whose doubled sum passes the 32-bit range stay right.
  for (int32_t level : {1000, -1000, 2000000000, -2000000000}) {
    std::vector<int32_t> flat(kCount, level);
    bandreject_filter(flat.data(), flat.data(), kCount, kDuration, 50.0, 10.0);
    for (int i = 0; i < kCount; i += 97) ASSERT_NEAR(flat[i], level, 2) << level << " " << i;
  }
}

TEST(BandrejectFilter, DegenerateInputsLeaveTheValuesUnchanged) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct row {
    int n;
    double duration, hz, bandwidth;
  };
  const row rows[] = {
      {2, 800, 50, 10},  {0, 800, 50, 10},      {100, 0, 50, 10},  {100, -5, 50, 10},
      {100, 800, 0, 10}, {100, 800, -50, 10},   {100, 10, 5000, 10},  // 10000 samples/s: 5000 Hz is half
      {100, 10, 6000, 10}, {100, nan, 50, 10},
      // A band too wide for the sample rate, or no band at all, would make
      // the recursion grow without bound (or give no number) and wipe out the
      // values: 10 samples/s with 10 Hz of band puts the pole at -2.
      {100, 10000, 2, 10}, {100, 10, 50, 0}, {100, 10, 50, -5}, {100, 10, 50, nan},
  };
  for (const row& r : rows) {
    std::vector<int32_t> in(100);
    for (int i = 0; i < 100; ++i) in[i] = (i * 7919) % 1000 - 500;
    std::vector<int32_t> kept = in;
    bandreject_filter(in.data(), in.data(), r.n, r.duration, r.hz, r.bandwidth);
    EXPECT_EQ(in, kept) << r.n << " " << r.duration << " " << r.hz << " " << r.bandwidth;
    std::vector<int32_t> out(100, 77);
    bandreject_filter(kept.data(), out.data(), r.n, r.duration, r.hz, r.bandwidth);
    for (int i = 0; i < 100; ++i) {
      ASSERT_EQ(out[i], i < r.n ? kept[i] : 77)
          << r.n << " " << r.duration << " " << r.hz << " " << r.bandwidth;
    }
  }
}

}  // namespace
