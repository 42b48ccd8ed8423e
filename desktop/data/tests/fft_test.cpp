#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fft.h"
#include "fft_factors.h"
#include "message_capture.h"

namespace {

TEST(FftFactors, RadicesThenPrimesLargestFirst) {
  struct row {
    int n;
    std::vector<int> factors;
  };
  const row rows[] = {
      {1, {1}},          {16, {4, 4}},          {1000, {10, 10, 10}},      {14, {7, 2}},
      {12000, {3, 4, 10, 10, 10}}, {1024, {4, 4, 8, 8}}, {6002, {3001, 2}}, {11025, {7, 7, 3, 3, 5, 5}},
      {0, {}},           {-4, {}},
  };
  for (const row& r : rows) EXPECT_EQ(fft_factors(r.n), r.factors) << r.n;
}

TEST(Fft, ConstantInputGivesDcOnly) {
  const int n = 12;
  std::vector<double> re(n, 1.0), im(n, 0.0), yr(n), yi(n);
  ASSERT_TRUE(mixed_radix_fft(n, re.data(), im.data(), yr.data(), yi.data()));
  EXPECT_NEAR(yr[0], n, 1e-12);
  for (int k = 1; k < n; k++) {
    EXPECT_NEAR(yr[k], 0.0, 1e-12);
    EXPECT_NEAR(yi[k], 0.0, 1e-12);
  }
}

}  // namespace
