#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/tests/log_fixture.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/acquisition/running_average.h"

namespace {

struct shownMessage {
  int kind;
  std::string text;
};
std::vector<shownMessage> g_shown;

class RunningAverage : public LogFixture {
 protected:
  void SetUp() override {
    LogFixture::SetUp();
    g_shown.clear();
    set_show_message_handler([](int kind, const char* text) { g_shown.push_back({kind, text}); });
    record_ = std::make_unique<testFileRecord>();
    init_test_record(*record_);
    sweep_ = std::make_unique<samplesBlock>();
    init_samples_block(*sweep_);
  }
  // A sweep of points values over time ms: value i is i * step + first.
  void make_sweep(int points, uint32_t time, int32_t first, int32_t step) {
    sweep_->PointCount = points;
    sweep_->Time = time;
    for (int i = 0; i < points; ++i) sweep_->Data[i] = first + i * step;
  }
  std::unique_ptr<testFileRecord> record_;
  std::unique_ptr<samplesBlock> sweep_;
};

TEST_F(RunningAverage, FirstSweepIsCopiedThenSweepsAreSummed) {
  make_sweep(100, 200, 5, 3);
  sweep_->CollectionTime = 20;
  const samplesBlock& avg = record_->Average;
  ASSERT_EQ(avg.Divisor, 0.0);
  add_to_average_sample(*record_, sweep_.get(), 1);
  EXPECT_EQ(avg.Divisor, 1.0);
  EXPECT_EQ(avg.PointCount, 100);
  EXPECT_EQ(avg.Time, 200u);
  EXPECT_EQ(avg.CollectionTime, 20u);
  EXPECT_EQ(avg.Data[99], 5 + 99 * 3);
  EXPECT_EQ(avg.Data[100], 0);  // only the sweep's points are copied

  add_to_average_sample(*record_, sweep_.get(), 1);
  EXPECT_EQ(avg.Divisor, 2.0);
  EXPECT_EQ(avg.Data[0], 10);
  EXPECT_EQ(avg.Data[99], 2 * (5 + 99 * 3));

  add_to_average_sample(*record_, sweep_.get(), 0);  // any value but 1 removes
  EXPECT_EQ(avg.Divisor, 1.0);
  EXPECT_EQ(avg.Data[0], 5);
  EXPECT_EQ(avg.Data[99], 5 + 99 * 3);
  EXPECT_TRUE(g_shown.empty());
  EXPECT_EQ(log_text(), "");
}

TEST_F(RunningAverage, NullSweepMeansTheRecordsLastSweep) {
  record_->LastSweep.PointCount = 10;
  record_->LastSweep.Time = 90;
  record_->LastSweep.Data[4] = 44;
  add_to_average_sample(*record_, nullptr, 1);
  EXPECT_EQ(record_->Average.Divisor, 1.0);
  EXPECT_EQ(record_->Average.Data[4], 44);
}

TEST_F(RunningAverage, RemovingFromAnEmptyAverageCopiesAndBelowZeroIsRefused) {
  make_sweep(10, 90, 1, 1);
  add_to_average_sample(*record_, sweep_.get(), 0);
  EXPECT_EQ(record_->Average.Divisor, 1.0);
  EXPECT_EQ(record_->Average.Data[9], 10);

  record_->Average.Divisor = -1.0;
  add_to_average_sample(*record_, sweep_.get(), 0);
  EXPECT_EQ(record_->Average.Divisor, -1.0);
  EXPECT_EQ(record_->Average.Data[9], 10);
  ASSERT_EQ(g_shown.size(), 1u);
  EXPECT_EQ(g_shown[0].kind, 4);
  EXPECT_EQ(g_shown[0].text, "### Removal when Divisor is zero ###");
}

TEST_F(RunningAverage, RefusesBlocksWithoutAUsableTimeScale) {
  struct row {
    int sweep_points;
    uint32_t sweep_time;
    const char* line;
  };
  const row rows[] = {
      {1, 90, "add_to_average_sample : newdata->PointCount < 2"},
      {10, 0, "add_to_average_sample : Time IS ZERO"},
  };
  for (const row& r : rows) {
    init_test_record(*record_);
    make_sweep(10, 90, 1, 1);
    add_to_average_sample(*record_, sweep_.get(), 1);  // the average now holds one sweep
    make_sweep(r.sweep_points, r.sweep_time, 7, 0);
    add_to_average_sample(*record_, sweep_.get(), 1);
    EXPECT_EQ(record_->Average.Divisor, 1.0) << r.line;
    EXPECT_EQ(record_->Average.Data[5], 6) << r.line;
    EXPECT_NE(log_text().find(r.line), std::string::npos) << r.line;
  }
  record_->Average.PointCount = 0;
  add_to_average_sample(*record_, sweep_.get(), 1);
  EXPECT_NE(log_text().find("add_to_average_sample : Average.PointCount < 2"), std::string::npos);
}

TEST_F(RunningAverage, ResamplesOntoTheAveragesTimeScale) {
  // The average: 11 points over 100 ms (10 ms apart), all 1000.
  make_sweep(11, 100, 1000, 0);
  add_to_average_sample(*record_, sweep_.get(), 1);

  // A sweep at half the spacing: every second point is taken.
  make_sweep(21, 100, 0, 3);
  add_to_average_sample(*record_, sweep_.get(), 1);
  const samplesBlock& avg = record_->Average;
  EXPECT_EQ(avg.Data[0], 1000);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(avg.Data[i], 1000 + 6 * i) << i;
  EXPECT_EQ(avg.Data[10], 1060);  // the sweep's last point

  // A sweep 15 ms apart against the average's 10 ms: positions i * 2/3,
  // interpolated and truncated.
  init_test_record(*record_);
  make_sweep(11, 100, 0, 0);
  add_to_average_sample(*record_, sweep_.get(), 1);
  make_sweep(8, 105, 0, 10);
  add_to_average_sample(*record_, sweep_.get(), 1);
  EXPECT_EQ(avg.Data[1], 6);   // 10 * 2/3
  EXPECT_EQ(avg.Data[2], 13);  // 10 * 4/3
  EXPECT_EQ(avg.Data[4], 26);  // 10 * 8/3
}

TEST_F(RunningAverage, PositionsPastTheSweepsLastPointUseIt) {
  // Average: 10 points 100 ms apart; sweep: 8 points 125 ms apart; ratio 0.8.
  make_sweep(10, 900, 0, 0);
  add_to_average_sample(*record_, sweep_.get(), 1);
  make_sweep(8, 875, 0, 1);
  sweep_->Data[8] = 999999;  // beyond the sweep's points: never read
  add_to_average_sample(*record_, sweep_.get(), 1);
  EXPECT_EQ(record_->Average.Data[9], 7);  // position 7.2: the last point
  EXPECT_EQ(record_->Average.Data[8], 6);  // position 6.4 truncated
}

// Timed collections of one flash step end with point counts a point apart:
// every point of the average still holds every sweep.
TEST_F(RunningAverage, SweepsAPointShorterStillFillTheWholeAverage) {
  const int counts[] = {457, 458, 457, 456, 458};
  for (int points : counts) {
    make_sweep(points, 250, 100, 0);
    add_to_average_sample(*record_, sweep_.get(), 1);
  }
  const samplesBlock& avg = record_->Average;
  ASSERT_EQ(avg.Divisor, 5.0);
  for (int i = 0; i < avg.PointCount; ++i) ASSERT_EQ(avg.Data[i], 500) << i;
}

}  // namespace
