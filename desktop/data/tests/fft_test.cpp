#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "desktop/data/fft.h"
#include "desktop/data/fft_factors.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/test_signal.h"

namespace {

// Per length: refused, or the norm of numpy's transform, two weighted sums
// of all its bins (weights from the test signal) and one bin.
struct fft_row {
  int n;
  int refused;
  int bin;
  double norm, s1re, s1im, s2re, s2im, bin_re, bin_im;
};

const fft_row fft_rows[] = {
#include "desktop/data/tests/golden/fft_rows.inc"
};

// The whole transforms of the lengths 1 .. 48 in turn, real parts then
// imaginary parts of each.
const double fft_small[] = {
#include "desktop/data/tests/golden/fft_small.inc"
};
constexpr int fft_small_limit = 48;

constexpr double tolerance = 1e-10;

struct spectrum {
  std::vector<double> re, im;
};

spectrum input_of(int n) {
  return {test_values(2 * n, n), test_values(2 * n + 1, n)};
}

spectrum forward(int n, const spectrum& x) {
  spectrum y{std::vector<double>(n), std::vector<double>(n)};
  EXPECT_TRUE(mixed_radix_fft(n, x.re.data(), x.im.data(), y.re.data(), y.im.data())) << n;
  return y;
}

double l2_norm(const std::vector<double>& re, const std::vector<double>& im) {
  double sum = 0.0;
  for (size_t k = 0; k < re.size(); k++) sum += re[k] * re[k] + im[k] * im[k];
  return std::sqrt(sum);
}

double l2_norm(const std::vector<double>& v) { return l2_norm(v, std::vector<double>(v.size(), 0.0)); }

// Compares one length with its golden row. With |error| <= tolerance *
// |reference| over all bins (L2), each bin differs by at most that much,
// and a weighted sum by at most that times the weights' norm.
void expect_matches_row(const fft_row& row) {
  const int n = row.n;
  const spectrum y = forward(n, input_of(n));
  EXPECT_NEAR(l2_norm(y.re, y.im), row.norm, tolerance * row.norm) << n;
  const double bound = tolerance * row.norm;
  EXPECT_NEAR(y.re[row.bin], row.bin_re, bound) << n;
  EXPECT_NEAR(y.im[row.bin], row.bin_im, bound) << n;
  const std::vector<double> c1 = test_values(0x10000 + n, n);
  const std::vector<double> c2 = test_values(0x20000 + n, n);
  double s1re = 0, s1im = 0, s2re = 0, s2im = 0;
  for (int k = 0; k < n; k++) {
    s1re += c1[k] * y.re[k];
    s1im += c1[k] * y.im[k];
    s2re += c2[k] * y.re[k];
    s2im += c2[k] * y.im[k];
  }
  const double b1 = bound * l2_norm(c1);
  const double b2 = bound * l2_norm(c2);
  EXPECT_NEAR(s1re, row.s1re, b1) << n;
  EXPECT_NEAR(s1im, row.s1im, b1) << n;
  EXPECT_NEAR(s2re, row.s2re, b2) << n;
  EXPECT_NEAR(s2im, row.s2im, b2) << n;
}

TEST(FftFactors, RadicesThenPrimesLargestFirst) {
  struct row {
    int n;
    std::vector<int> factors;
  };
  const row rows[] = {
      {1, {1}},
      {16, {4, 4}},
      {1000, {10, 10, 10}},
      {14, {7, 2}},
      {12000, {3, 4, 10, 10, 10}},
      {1024, {4, 4, 8, 8}},
      {6002, {3001, 2}},
      {11025, {7, 7, 3, 3, 5, 5}},
      {0, {}},
      {-4, {}},
  };
  for (const row& r : rows) EXPECT_EQ(fft_factors(r.n), r.factors) << r.n;
}

// Every length 1 .. 4096 and the awkward lengths up to 12000 against numpy;
// lengths with a prime factor above the limit are refused with a message.
TEST(Fft, MatchesGoldenTransformsOrRefuses) {
  message_capture capture;
  int refused = 0;
  for (const fft_row& row : fft_rows) {
    if (!row.refused) {
      expect_matches_row(row);
      continue;
    }
    refused++;
    capture.clear();
    std::vector<double> x(row.n, 1.0), y(row.n, 7.0);
    EXPECT_FALSE(mixed_radix_fft(row.n, x.data(), x.data(), y.data(), y.data())) << row.n;
    EXPECT_EQ(y, std::vector<double>(row.n, 7.0)) << row.n;
    ASSERT_EQ(capture.texts().size(), 1u) << row.n;
  }
  EXPECT_GT(refused, 100);  // the primes between 3001 and 4096, and more
}

TEST(Fft, SmallLengthsMatchBinByBin) {
  size_t at = 0;
  for (int n = 1; n <= fft_small_limit; n++) {
    const spectrum y = forward(n, input_of(n));
    const std::vector<double> re(fft_small + at, fft_small + at + n);
    const std::vector<double> im(fft_small + at + n, fft_small + at + 2 * n);
    at += 2 * n;
    const double bound = tolerance * l2_norm(re, im);
    for (int k = 0; k < n; k++) {
      EXPECT_NEAR(y.re[k], re[k], bound) << n << " bin " << k;
      EXPECT_NEAR(y.im[k], im[k], bound) << n << " bin " << k;
    }
  }
  EXPECT_EQ(at, sizeof fft_small / sizeof fft_small[0]);
}

TEST(Fft, UnscaledConstantAndSingleValue) {
  for (int n : {1, 12, 16, 1000}) {
    const spectrum y = forward(n, {std::vector<double>(n, 1.0), std::vector<double>(n, 0.0)});
    EXPECT_NEAR(y.re[0], n, 1e-12 * n) << n;
    EXPECT_NEAR(y.im[0], 0.0, 1e-12 * n) << n;
    for (int k = 1; k < n; k++) {
      EXPECT_NEAR(y.re[k], 0.0, 1e-12 * n) << n;
      EXPECT_NEAR(y.im[k], 0.0, 1e-12 * n) << n;
    }
  }
}

// The inverse of the forward transform is n times the input, across the
// radices and a general factor at the limit.
TEST(Fft, InverseOfForwardIsNTimesInput) {
  for (int n : {1, 2, 3, 5, 7, 14, 16, 100, 1000, 3001, 12000}) {
    const spectrum x = input_of(n);
    const spectrum y = forward(n, x);
    spectrum back{std::vector<double>(n), std::vector<double>(n)};
    ASSERT_TRUE(inverse_mixed_radix_fft(n, y.re.data(), y.im.data(), back.re.data(), back.im.data()));
    const double bound = tolerance * n * l2_norm(x.re, x.im);
    for (int j = 0; j < n; j++) {
      ASSERT_NEAR(back.re[j], n * x.re[j], bound) << n << " at " << j;
      ASSERT_NEAR(back.im[j], n * x.im[j], bound) << n << " at " << j;
    }
  }
}

// Lengths past the golden ones: built from the unrolled radices 7, 11 and
// 13, alone and mixed with the others, and with plans of their own (8192
// ends in two passes of 4, 16000 starts with 8 and ends with 5): bins
// checked against direct sums in long double, the bound from the
// transform's norm (sqrt(n) |x|).
TEST(Fft, LongLengthsMatchDirectSums) {
  for (int n : {5005, 2401 * 4, 1331 * 8, 2197 * 4, 30030, 13 * 13 * 11 * 7 * 3, 8192, 16000}) {
    const spectrum x = input_of(n);
    const spectrum y = forward(n, x);
    const double bound = 1e-12 * std::sqrt(static_cast<double>(n)) * l2_norm(x.re, x.im);
    for (int k : {1, 13, n / 3, n - 1}) {
      long double re = 0.0L, im = 0.0L;
      for (int j = 0; j < n; j++) {
        const long double angle = -2.0L * 3.14159265358979323846264338327950288L *
                                  static_cast<long double>(static_cast<int64_t>(j) * k % n) / n;
        re += x.re[j] * std::cos(angle) - x.im[j] * std::sin(angle);
        im += x.re[j] * std::sin(angle) + x.im[j] * std::cos(angle);
      }
      EXPECT_NEAR(y.re[k], static_cast<double>(re), bound) << n << " bin " << k;
      EXPECT_NEAR(y.im[k], static_cast<double>(im), bound) << n << " bin " << k;
    }
  }
}

// A short length on scalars, one on vectors, and a planned one.
TEST(Fft, OutputMayBeTheInput) {
  for (int n : {13, 60, 1000}) {
    const spectrum x = input_of(n);
    const spectrum expected = forward(n, x);
    spectrum y = x;
    ASSERT_TRUE(mixed_radix_fft(n, y.re.data(), y.im.data(), y.re.data(), y.im.data())) << n;
    EXPECT_EQ(y.re, expected.re) << n;
    EXPECT_EQ(y.im, expected.im) << n;
  }
}

TEST(Fft, RefusesLengthsItCannotTransform) {
  struct row {
    int n;
    std::string text;
  };
  const row rows[] = {
      {3011, "Prime factor of FFT length too large :   3011"},
      {2 * 3011, "Prime factor of FFT length too large :   3011"},
      {0, "*** FFT LENGTH 0 IS NOT POSITIVE ***"},
      {-5, "*** FFT LENGTH -5 IS NOT POSITIVE ***"},
  };
  for (const row& r : rows) {
    message_capture capture;
    const int size = r.n > 0 ? r.n : 1;
    std::vector<double> x(size, 1.0), y(size, 7.0);
    EXPECT_FALSE(mixed_radix_fft(r.n, x.data(), x.data(), y.data(), y.data())) << r.n;
    EXPECT_FALSE(inverse_mixed_radix_fft(r.n, x.data(), x.data(), y.data(), y.data())) << r.n;
    EXPECT_EQ(y, std::vector<double>(size, 7.0)) << r.n;
    EXPECT_EQ(capture.texts(), (std::vector<std::string>{r.text, r.text})) << r.n;
    EXPECT_EQ(capture.captions(), (std::vector<std::string>{"*** ERROR ***", "*** ERROR ***"})) << r.n;
  }
}

}  // namespace
