// The exact bytes each converter exchange puts on the SPI bus.
#include <vector>

#include "hwlib/tests/sim_board_fixture.h"

namespace {

using bytes = std::vector<uint8_t>;

using converter_bus_test = adc_test;

TEST_F(converter_bus_test, DualDataReadsInputZeroThenInputOne) {
  struct row {
    int32_t input0, input1;
  };
  const row rows[] = {{0x123456, 0x00ABCD}, {-1, 0x7FFFFF}, {-0x800000, 0}};
  for (const row& r : rows) {
    SCOPED_TRACE(r.input0);
    sim_adc_set_constant(0, r.input0);
    sim_adc_set_constant(1, r.input1);
    sim_bus_log_clear();

    int32_t in0 = 0x5555, in1 = 0x5555;
    EXPECT_EQ(3u, get_dual_data(&in0, &in1));
    EXPECT_EQ(r.input0, in0);
    EXPECT_EQ(r.input1, in1);

    const bytes expected = {0x51, 0x00, 0x08, 0xFC, 0xFF, 0x01, 0x20, 0x20, 0x20,
                            0x51, 0x00, 0x18, 0xFC, 0xFF, 0x01, 0x20, 0x20, 0x20};
    EXPECT_EQ(expected, bytes_sent());
    const std::vector<sim_bus_byte> log = bus_log();
    ASSERT_EQ(expected.size(), log.size());
    for (const sim_bus_byte& b : log) EXPECT_EQ(SIM_DEV_ADC, b.device);
    // The result is clocked out by the three dummy bytes of each read.
    const uint32_t raw0 = static_cast<uint32_t>(r.input0) & 0xFFFFFF;
    const uint32_t raw1 = static_cast<uint32_t>(r.input1) & 0xFFFFFF;
    EXPECT_EQ((bytes{uint8_t(raw0 >> 16), uint8_t(raw0 >> 8), uint8_t(raw0)}),
              (bytes{log[6].miso, log[7].miso, log[8].miso}));
    EXPECT_EQ((bytes{uint8_t(raw1 >> 16), uint8_t(raw1 >> 8), uint8_t(raw1)}),
              (bytes{log[15].miso, log[16].miso, log[17].miso}));
    // Every reply was taken: nothing is left in the receive FIFO.
    EXPECT_EQ(0u, get_spi_reg(5) & 0x04u);
    EXPECT_EQ(0x18u, sim_adc_register(1));
  }
}

TEST_F(converter_bus_test, DacWordIsCommandThenTwelveBitValue) {
  struct row {
    uint8_t command;
    uint16_t value;
    bytes expected;
  };
  const row rows[] = {
      {15, 18, {0xF0, 0x12}},
      {3, 0xABC, {0x3A, 0xBC}},
      {0, 0, {0x00, 0x00}},
      {1, 0xFFFF, {0x1F, 0xFF}},  // only 12 bits of the value reach the bus
  };
  select_dac();
  for (const row& r : rows) {
    SCOPED_TRACE(int(r.command));
    sim_bus_log_clear();
    const uint32_t writes = sim_dac_writes();
    EXPECT_EQ(1u, put_5722(r.command, r.value));
    EXPECT_EQ(r.expected, bytes_sent());
    for (const sim_bus_byte& b : bus_log()) EXPECT_EQ(SIM_DEV_DAC, b.device);
    EXPECT_EQ(writes + 1, sim_dac_writes());
    EXPECT_EQ(0u, get_spi_reg(5) & 0x04u);  // both echoes taken
  }
}

TEST_F(converter_bus_test, RegisterWriteIsWregCountValue) {
  struct row {
    uint8_t reg;
    uint32_t value;
    bytes expected;
    uint32_t stored_in;
  };
  const row rows[] = {
      {1, 0x08, {0x51, 0x00, 0x08}, 1},
      {3, 0x1E0, {0x53, 0x00, 0xE0}, 3},  // the value's low byte
      {0x42, 0x01, {0x52, 0x00, 0x01}, 2},  // register number masked to 4 bits
      {0xE2, 0x20, {0x52, 0x00, 0x20}, 2},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(int(r.reg));
    sim_bus_log_clear();
    EXPECT_EQ(1u, put_1255_reg(r.reg, r.value));
    EXPECT_EQ(r.expected, bytes_sent());
    EXPECT_EQ(r.value & 0xFF, sim_adc_register(r.stored_in));
    EXPECT_EQ(0u, get_spi_reg(5) & 0x04u);  // the three echoes taken
  }
  EXPECT_EQ(0u, sim_adc_self_calibrations());
}

TEST_F(converter_bus_test, RegisterReadIsRregCountDummy) {
  struct row {
    uint8_t reg;
    uint8_t contents;
    bytes expected;
  };
  const row rows[] = {
      {1, 0x18, {0x11, 0x00, 0xAA}},
      {3, 0xC0, {0x13, 0x00, 0xAA}},
      {0x41, 0x28, {0x11, 0x00, 0xAA}},  // register number masked to 4 bits
      {0xF3, 0xB0, {0x13, 0x00, 0xAA}},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(int(r.reg));
    ASSERT_EQ(1u, put_1255_reg(r.reg & 0x0F, r.contents));
    sim_bus_log_clear();
    EXPECT_EQ(r.contents, get_1255_reg(r.reg));
    EXPECT_EQ(r.expected, bytes_sent());
    const std::vector<sim_bus_byte> log = bus_log();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(r.contents, log[2].miso);
    EXPECT_EQ(0u, get_spi_reg(5) & 0x04u);
    EXPECT_EQ(r.contents, sim_adc_register(r.reg & 0x0F));  // a read never writes
  }
}

}  // namespace
