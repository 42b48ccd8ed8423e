#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "handheld/engine/tests/log_fixture.h"
#include "handheld/engine/protocols/program_error.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/acquisition/sample_statistics.h"

namespace {

class SampleStatistics : public LogFixture {
 protected:
  void SetUp() override {
    LogFixture::SetUp();
    block_ = std::make_unique<samplesBlock>();
    init_samples_block(*block_);
    // 11 points over 100 ms: point i at 10 * i ms, value 10 * i counts.
    block_->PointCount = 11;
    block_->Time = 100;
    for (int i = 0; i < 11; ++i) block_->Data[i] = 10 * i;
  }
  std::unique_ptr<samplesBlock> block_;
};

TEST_F(SampleStatistics, UVInterpolatesAndClampsTheTime) {
  block_->Divisor = 2.0;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct row {
    double t;
    double expected;  // counts / 2 * 3 + 1
  };
  const row rows[] = {{0, 1}, {15, 23.5}, {20, 31}, {99, 149.5}, {100, 151},
                      {250, 151}, {-5, 1}, {nan, 1}};
  for (const row& r : rows) EXPECT_DOUBLE_EQ(uV(*block_, r.t, 3.0, 1.0), r.expected) << r.t;
  EXPECT_EQ(log_text(), "");
}

TEST_F(SampleStatistics, UVClampsIndicesToTheBlock) {
  block_->PointCount = 20000;  // a block from a card can claim anything
  block_->Time = 20000;
  block_->Data[11999] = 5;
  EXPECT_DOUBLE_EQ(uV(*block_, 20000, 1, 0), 5);
  EXPECT_DOUBLE_EQ(uV(*block_, 15000, 1, 0), 5);
  EXPECT_NEAR(uV(*block_, 2.5, 1, 0), 24.99875, 1e-9);  // z = 2.49987..., between points 2 and 3
}

TEST_F(SampleStatistics, UVReportsAZeroDivisorOrTimeOnceUntilAGoodRead) {
  block_->Divisor = 0.0;
  EXPECT_EQ(uV(*block_, 10, 1, 0), 0.0);
  EXPECT_EQ(uV(*block_, 10, 1, 0), 0.0);
  block_->Divisor = 1.0;
  block_->Time = 0;
  EXPECT_EQ(uV(*block_, 10, 1, 0), 0.0);
  block_->Time = 100;
  block_->PointCount = 0;  // treated like Time 0: still reported once
  EXPECT_EQ(uV(*block_, 10, 1, 0), 0.0);
  block_->PointCount = 11;
  EXPECT_DOUBLE_EQ(uV(*block_, 10, 1, 0), 10.0);  // a good read clears both
  block_->PointCount = -3;
  EXPECT_EQ(uV(*block_, 10, 1, 0), 0.0);
  EXPECT_EQ(log_text(),
            "10:15:30 *** A  - ### uV: Divisor IS ZERO ###\n"
            "10:15:30 *** A  - ### uV: Time IS ZERO ###\n"
            "10:15:30 *** A  - ### uV: Time IS ZERO ###\n");
}

TEST_F(SampleStatistics, MinmaxFindsExtremesAtHalfSpacing) {
  for (int i = 0; i < 11; ++i) block_->Data[i] = 0;
  block_->Data[2] = 50;
  block_->Data[5] = -30;
  block_->Data[8] = 50;  // a tie keeps the earlier time
  double mn = 0, tmn = 0, mx = 0, tmx = 0;
  ASSERT_TRUE(minmax(*block_, 0, 100, mn, tmn, mx, tmx, 2.0, 1.0));
  EXPECT_DOUBLE_EQ(mx, 101);
  EXPECT_DOUBLE_EQ(tmx, 20);
  EXPECT_DOUBLE_EQ(mn, -59);
  EXPECT_DOUBLE_EQ(tmn, 50);
  ASSERT_TRUE(minmax(*block_, 21, 40, mn, tmn, mx, tmx, 1.0, 0.0));
  EXPECT_DOUBLE_EQ(mx, 45);  // 21, 26, 31, 36 ms: the first sample is the largest
  EXPECT_DOUBLE_EQ(tmx, 21);
}

TEST_F(SampleStatistics, MinmaxAndAverageRefuseBadWindows) {
  struct row {
    double start, stop;
    int points;
    const char* line;
  };
  const row rows[] = {
      {-1, 50, 11, "*** minmax: ***\n start time less than zero \n***"},
      {0, 101, 11, "*** minmax: ***\n stop time 101\ngreater than sample Time 100\n ***"},
      {50, 50, 11, "*** minmax: ***\n stop time (50)\nis not greater than start time\n(50) ***"},
      {0, 100, 1, "*** minmax: ***\n PointCount less than 2 \n***"},
  };
  for (const row& r : rows) {
    LogFixture::TearDown();
    LogFixture::SetUp();
    block_->PointCount = r.points;
    double mn = 0, tmn = 0, mx = 0, tmx = 0;
    EXPECT_FALSE(minmax(*block_, r.start, r.stop, mn, tmn, mx, tmx, 1, 0));
    EXPECT_EQ(log_text(), std::string("10:15:30 *** A  - ") + r.line + "\n");
    EXPECT_TRUE(program_error);
    EXPECT_EQ(average(*block_, r.start, r.stop, 1, 0), 0.0);
  }
  block_->PointCount = 1;
  average(*block_, 0, 100, 1, 0);
  EXPECT_NE(log_text().find("*** average: ***\n PointCount less than 2 \n***"), std::string::npos);
}

TEST_F(SampleStatistics, AverageIsTheMeanOverTheWindow) {
  // uV(t) = t on this ramp; samples at 0, 5, ..., 45.
  EXPECT_DOUBLE_EQ(average(*block_, 0, 50, 1, 0), 22.5);
  EXPECT_DOUBLE_EQ(average(*block_, 0, 50, 2, 1), 46);
}

TEST_F(SampleStatistics, RawMinmaxStartsFromItsSentinels) {
  for (int i = 0; i < 11; ++i) block_->Data[i] = -100 - i;
  int32_t mn, mx;
  int imn, imx;
  raw_minmax(*block_, 0, 11, mn, imn, mx, imx);
  EXPECT_EQ(mn, -110);
  EXPECT_EQ(imn, 10);
  EXPECT_EQ(mx, 0);
  EXPECT_EQ(imx, -100);
  block_->Data[3] = 7;
  block_->Data[4] = 7;
  raw_minmax(*block_, -50, 50000, mn, imn, mx, imx);  // clamped to the block
  EXPECT_EQ(mx, 7);
  EXPECT_EQ(imx, 3);
  EXPECT_EQ(mn, -110);
  raw_minmax(*block_, 5, 5, mn, imn, mx, imx);
  EXPECT_EQ(mn, 134217728);
  EXPECT_EQ(imn, 100000);
}

}  // namespace
