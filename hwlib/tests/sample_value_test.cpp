// 24-bit converter values, sign-extended to 32 bits, through the single,
// dual and continuous reads.
#include "hwlib/tests/sim_board_fixture.h"

namespace {

struct sample_case {
  uint32_t wire;  // the 24 bits on the bus
  int32_t value;
};

const sample_case kCases[] = {
    {0x800000, -8388608},
    {0x7FFFFF, 8388607},
    {0xFFFFFF, -1},
    {0x000001, 1},
    {0x000000, 0},
};

using sample_value_test = adc_test;

TEST_F(sample_value_test, SingleRead) {
  for (const sample_case& c : kCases) {
    SCOPED_TRACE(c.wire);
    sim_adc_set_constant(0, static_cast<int32_t>(c.wire));
    restart_conversions();
    int32_t value = 0x5555;
    EXPECT_EQ(3u, get_1255_data(&value));
    EXPECT_EQ(c.value, value);
  }
}

TEST_F(sample_value_test, DualRead) {
  for (const sample_case& c : kCases) {
    SCOPED_TRACE(c.wire);
    sim_adc_set_constant(0, static_cast<int32_t>(c.wire));
    sim_adc_set_constant(1, static_cast<int32_t>(c.wire ^ 0xFFFFFF));
    int32_t in0 = 0x5555, in1 = 0x5555;
    EXPECT_EQ(3u, get_dual_data(&in0, &in1));
    EXPECT_EQ(c.value, in0);
    EXPECT_EQ(-1 - c.value, in1);
  }
}

TEST_F(sample_value_test, ContinuousRead) {
  for (const sample_case& c : kCases) {
    SCOPED_TRACE(c.wire);
    sim_adc_set_constant(0, static_cast<int32_t>(c.wire));
    restart_conversions();
    int32_t values[6] = {0x5555, 0x5555, 0x5555, 0x5555, 0x5555, 0x5555};
    EXPECT_EQ(5u, get_1255_samples(values, 5));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(c.value, values[i]) << i;
    EXPECT_EQ(0x5555, values[5]);
    EXPECT_EQ(0x0F, bytes_sent().back());
    EXPECT_EQ(0, sim_adc_continuous());
  }
}

TEST_F(sample_value_test, ContinuousReadTakesEveryConversionInOrder) {
  const int32_t sequence[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  for (uint32_t rate_code : {0xE0u, 0xB0u}) {  // 15000 and 2000 samples per second
    SCOPED_TRACE(rate_code);
    ASSERT_EQ(1u, put_1255_reg(3, rate_code));
    sim_adc_set_sequence(0, sequence, 12);
    int32_t values[100] = {};
    EXPECT_EQ(100u, get_1255_samples(values, 100));
    for (int i = 1; i < 100; ++i) EXPECT_EQ(values[i - 1] % 12 + 1, values[i]) << i;
  }
}

}  // namespace
