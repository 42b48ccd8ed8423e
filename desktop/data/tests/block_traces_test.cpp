#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/block_traces.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/record_fields.h"
#include "desktop/data/tests/record_fixture.h"

namespace {

TEST(RecordFields, HostileBlockHeadersAreClampedOrRefused) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct row {
    int32_t count;
    double divisor;
    uint32_t total_time;
    uint32_t pretrigger;
    bool accepted;
    blockFields used;
    const char* message;
  } rows[] = {
      {12000, 2.0, 500, 20, true, {12000, 2.0, 500, 20}, nullptr},
      {12001, 1.0, 500, 0, true, {12000, 1.0, 500, 0}, "*** SAMPLES BLOCK POINT COUNT 12001 TOO LARGE, 12000 POINTS USED ***"},
      {0x7fffffff, 1.0, 500, 0, true, {12000, 1.0, 500, 0}, "*** SAMPLES BLOCK POINT COUNT 2147483647 TOO LARGE, 12000 POINTS USED ***"},
      {0, 1.0, 500, 0, false, {}, "*** SAMPLES BLOCK HAS NO POINTS (POINT COUNT 0) ***"},
      {-3, 1.0, 500, 0, false, {}, "*** SAMPLES BLOCK HAS NO POINTS (POINT COUNT -3) ***"},
      {100, 1.0, 0, 0, false, {}, "*** SAMPLES BLOCK SPANS NO TIME (TOTAL TIME 0) ***"},
      {100, 0.0, 500, 0, true, {100, 1.0, 500, 0}, "*** SAMPLES BLOCK DIVISOR IS 0, 1 USED ***"},
      {100, nan, 500, 0, true, {100, 1.0, 500, 0}, "*** SAMPLES BLOCK DIVISOR IS nan, 1 USED ***"},
      {100, 1.0, 500, 501, true, {100, 1.0, 500, 500},
       "*** SAMPLES BLOCK PRE-TRIGGER TIME 501 mS BEYOND ITS TOTAL TIME 500 mS ***"},
  };
  for (const row& r : rows) {
    message_capture capture;
    samplesBlock block{};
    block.PointCount = r.count;
    block.Divisor = r.divisor;
    block.Time = r.total_time;
    block.CollectionTime = r.pretrigger;
    blockFields fields{-1, -1.0, 0, 0};
    EXPECT_EQ(read_block_fields(block, fields), r.accepted) << r.count;
    if (r.accepted) {
      EXPECT_EQ(fields.count, r.used.count);
      EXPECT_EQ(fields.divisor, r.used.divisor);
      EXPECT_EQ(fields.total_time, r.used.total_time);
      EXPECT_EQ(fields.pretrigger, r.used.pretrigger);
    }
    std::vector<std::string> expected;
    if (r.message) expected.push_back(r.message);
    EXPECT_EQ(capture.texts(), expected);
  }
}

TEST(RecordFields, TextFieldsStopAtTheirEnd) {
  auto record = make_record();
  const char16_t full[7] = {u'S', u'N', u'1', u'2', u'3', u'4', u'5'};
  std::copy(full, full + 7, record->UnitId);
  byteObjectClass text;
  record_text(record->UnitId, 7, 7, text);
  EXPECT_STREQ(text.text(), "SN12345");
  record_text(record->CfcId, 12, 4, text);
  EXPECT_STREQ(text.text(), "----");
  const char16_t wide[] = {u'a', u'\x263a', u'b', 0};
  record_text(wide, 4, 10, text);
  EXPECT_STREQ(text.text(), "a\xE2\x98\xBA" "b");  // held as UTF-8, nothing lost
}

TEST(RecordFields, TestTimeFromTheRecordFromVersion3024On) {
  auto record = make_record();
  record->TestTime = fileTime{111, 222};
  const fileTime file{333, 444};
  struct {
    int32_t version;
    uint32_t low;
  } cases[] = {{0, 333}, {3023, 333}, {3024, 111}, {4010, 111}, {-1, 333}};
  for (const auto& c : cases) {
    record->ProgramVersion = c.version;
    EXPECT_EQ(record_test_time(*record, file).LowDateTime, c.low) << c.version;
  }
}

TEST(RecordFields, ChannelLetterAtIndexEleven) {
  EXPECT_EQ(test_channel_letter("P01S02T0304A.TST"), 'A');
  EXPECT_EQ(test_channel_letter("C:\\tests.2024\\P01S02T0304B-0000001234-SLAVE.TST"), 'B');
  EXPECT_EQ(test_channel_letter("/tmp/P01S02T0304A_X.TST"), 'A');
  EXPECT_EQ(test_channel_letter("C:\\short.TST"), 0);
  EXPECT_EQ(test_channel_letter(nullptr), 0);
}

TEST(BlockTraces, MicrovoltsAndTimesAgainstHandComputedValues) {
  auto record = make_record();
  record->Config.Scale = 0.5;
  record->Config.Offset = 10.0;
  fill_block(record->Average, {100, -8, 0, 2}, 4.0, 8, 2);
  std::unique_ptr<traceClass> trace(make_trace_from_block(*record, record->Average, 3));
  ASSERT_TRUE(trace);
  // y = 10 + 0.5 * raw / 4; x = i * 8 / 4 - 2.
  const double xs[] = {-2.0, 0.0, 2.0, 4.0};
  const double ys[] = {22.5, 9.0, 10.0, 10.25};
  ASSERT_EQ(trace->get_count(), 4);
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(trace->x_at(i), xs[i]);
    EXPECT_EQ(trace->y_at(i), ys[i]);
    EXPECT_EQ(value_at_index(*record, i), ys[i]);
  }
  EXPECT_EQ(trace->color, 3);
  EXPECT_STREQ(trace->x_units(), "mS");
  EXPECT_STREQ(trace->y_units(), "uV");
  EXPECT_EQ(trace->xmin(), -2.0);
  EXPECT_EQ(trace->ymax(), 22.5);

  EXPECT_EQ(time_to_index(*record, 5.0), 2);
  EXPECT_EQ(sample_index_to_time(*record, 3), 6.0);
  EXPECT_EQ(value_at_time(*record, 2.0), 9.0);
  EXPECT_EQ(value_at_time(*record, 5.0), 10.125);  // halfway: the mean
  EXPECT_EQ(record_scale(*record), 0.5);
  EXPECT_EQ(record_offset(*record), 10.0);
}

TEST(BlockTraces, BadBlocksGiveNoTraceAndNothingOutsideThePoints) {
  auto record = make_record();
  fill_block(record->Average, {1, 2, 3}, 1.0, 3, 0);
  message_capture capture;
  EXPECT_EQ(value_at_index(*record, 3), 0.0);
  EXPECT_EQ(value_at_index(*record, -1), 0.0);
  EXPECT_EQ(value_at_time(*record, 2.5), 0.0);  // would need point 3
  EXPECT_EQ(capture.texts().size(), 3u);
  capture.clear();

  record->Average.Time = 0;
  EXPECT_EQ(make_trace_from_block(*record, record->Average, 3), nullptr);
  EXPECT_EQ(time_to_index(*record, 1.0), 0);
  record->Average.Time = 3;
  record->Average.PointCount = 0;
  EXPECT_EQ(make_trace_from_block(*record, record->Average, 3), nullptr);
  EXPECT_EQ(capture.texts().size(), 3u);
  capture.clear();

  // A count beyond the block reads no further than the block's values.
  record->Average.PointCount = 1 << 30;
  record->Average.Data[kSamplesPerBlock - 1] = 77;
  std::unique_ptr<traceClass> clamped(make_trace_from_block(*record, record->Average, 3));
  ASSERT_TRUE(clamped);
  EXPECT_EQ(clamped->get_count(), kSamplesPerBlock);
  EXPECT_EQ(clamped->y_at(kSamplesPerBlock - 1), 77.0);
  EXPECT_EQ(capture.texts().size(), 1u);
}

}  // namespace

namespace {

TEST(MicrovoltConversion, EveryDivisorGivesWhatTheDivisionGives) {
  const double divisors[] = {1.0, 2.0, 0.5, 4096.0, -8.0, 3.0, 10.0, 0.1, 1e-310, 1e300};
  const int32_t raws[] = {std::numeric_limits<int32_t>::min(), -7, 0, 5, 8388607, std::numeric_limits<int32_t>::max()};
  for (double divisor : divisors) {
    const blockFields fields{6, divisor, 10, 2};
    const microvoltConversion convert(fields, 0.37, -2.5);
    std::vector<double> values(6, 0.0);
    for_each_microvolts(raws, 6, convert, [&](int32_t i, double v) { values[static_cast<size_t>(i)] = v; });
    for (int i = 0; i < 6; i++) {
      EXPECT_EQ(values[static_cast<size_t>(i)], raw_to_microvolts(raws[i], fields, 0.37, -2.5))
          << divisor << " " << raws[i];
    }
  }
}

}  // namespace
