// Attach, version, and the register-level exports on the simulated board.
#include <wchar.h>

#include <vector>

#include "hwlib/registers.h"
#include "hwlib/tests/sim_board_fixture.h"

namespace {

std::vector<uint64_t> map_requests() {
  std::vector<uint64_t> log(sim_map_log(nullptr, 0));
  log.resize(sim_map_log(log.data(), static_cast<uint32_t>(log.size())));
  return log;
}

using attach_test = sim_board_test;

TEST_F(attach_test, MapsTheThreeBlocksInOrderAndClearsItsLines) {
  sim_reset();
  put_gpio_reg(13, 0xFF);
  put_gpio_reg(22, 0xF1);
  uart3_write(3, 0x3F);

  ASSERT_EQ(1, hwlib_attach());
  EXPECT_EQ((std::vector<uint64_t>{0x80000B00u, 0x80000E00u, 0x80000800u}), map_requests());
  EXPECT_EQ(0xFEu, get_gpio_reg(13));
  EXPECT_EQ(0xF0u, get_gpio_reg(22));
  EXPECT_EQ(0x3Cu, get_uart3_reg(3));
}

TEST_F(attach_test, StopsAtTheFirstBlockThatFailsToMap) {
  struct row {
    uint64_t failing;
    std::vector<uint64_t> requested;
    bool spi, gpio, uart3;  // which blocks end up mapped
  };
  const row rows[] = {
      {0x80000B00u, {0x80000B00u}, false, false, false},
      {0x80000E00u, {0x80000B00u, 0x80000E00u}, true, false, false},
      {0x80000800u, {0x80000B00u, 0x80000E00u, 0x80000800u}, true, true, false},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.failing);
    sim_reset();
    spi_regs = gpio_regs = uart3_regs = nullptr;
    sim_fault_set(SIM_FAULT_MAP_FAIL, static_cast<int64_t>(r.failing));
    EXPECT_EQ(0, hwlib_attach());
    EXPECT_EQ(r.requested, map_requests());
    EXPECT_EQ(r.spi, spi_regs != nullptr);
    EXPECT_EQ(r.gpio, gpio_regs != nullptr);
    EXPECT_EQ(r.uart3, uart3_regs != nullptr);
    sim_fault_clear(SIM_FAULT_MAP_FAIL);
  }
  // A block that is not mapped reads 0 and ignores writes.
  EXPECT_EQ(0u, get_uart3_reg(3));
  ASSERT_EQ(1, hwlib_attach());
}

TEST(version_test, SameTextAtTheSameAddressEveryCall) {
  const wchar_t* first = version();
  EXPECT_STREQ(L" 3.100, Sep 14 2012", first);
  const wchar_t* second = version();
  EXPECT_EQ(first, second);
  EXPECT_STREQ(L" 3.100, Sep 14 2012", second);
}

using register_test = sim_board_test;

TEST_F(register_test, SpiSetupWritesOnlyValuesBelowOneMillion) {
  struct row {
    uint32_t a, b, c;
    uint32_t word0, word1, word4;
  };
  const uint32_t old = 7;
  const row rows[] = {
      {135, 80, 4, 135, 80, 4},
      {1000000, 80, 4, old, 80, 4},
      {999999, 1000000, 0xFFFFFFFFu, 999999, old, old},
      {0, 0, 0, 0, 0, 0},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.a);
    put_spi_reg(0, old);
    put_spi_reg(1, old);
    put_spi_reg(4, old);
    EXPECT_EQ(1u, spi_setup(r.a, r.b, r.c));
    EXPECT_EQ(r.word0, get_spi_reg(0));
    EXPECT_EQ(r.word1, get_spi_reg(1));
    EXPECT_EQ(r.word4, get_spi_reg(4));
  }
}

TEST_F(register_test, PutGpioBitChangesOneBitOrNothing) {
  struct row {
    uint8_t bit, state;
    uint32_t before, after;
  };
  const row rows[] = {
      {0, 1, 0x00000000u, 0x00000001u},   {5, 0, 0x000000FFu, 0x000000DFu},
      {31, 1, 0x00000000u, 0x80000000u},  {31, 0, 0xFFFFFFFFu, 0x7FFFFFFFu},
      {4, 2, 0x00000000u, 0x00000010u},   {4, 0x80, 0x00000001u, 0x00000011u},
      {32, 1, 0x00000005u, 0x00000005u},  {32, 0, 0xFFFFFFFFu, 0xFFFFFFFFu},
      {255, 0, 0x0000A5A5u, 0x0000A5A5u}, {40, 1, 0x00000000u, 0x00000000u},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(testing::Message() << "bit " << int(r.bit) << " state " << int(r.state));
    put_gpio_reg(13, r.before);
    put_gpio_bit(13, r.bit, r.state);
    EXPECT_EQ(r.after, get_gpio_reg(13));
  }
}

TEST_F(register_test, WordsOutsideTheirBlockReadZeroAndIgnoreWrites) {
  // Word 1 holds the chip selects; bit 0 of word 12 is the data-ready line.
  auto latched = [](uint8_t w) { return get_gpio_reg(w) & (w == 12 ? ~1u : ~0u); };
  std::vector<uint32_t> gpio_before;
  for (uint8_t w = 0; w < 34; ++w) {
    if (w != 1) put_gpio_reg(w, 0x100u + w);
    gpio_before.push_back(latched(w));
  }
  put_gpio_reg(34, 0xDEAD);
  put_gpio_reg(255, 0xDEAD);
  put_gpio_bit(34, 0, 1);
  put_spi_reg(6, 0xDEAD);
  for (uint8_t w = 0; w < 34; ++w) EXPECT_EQ(gpio_before[w], latched(w)) << int(w);

  EXPECT_EQ(0u, get_gpio_reg(34));
  EXPECT_EQ(0u, get_gpio_reg(255));
  EXPECT_EQ(0u, get_spi_reg(6));
  EXPECT_EQ(0u, get_spi_reg(200));
  EXPECT_EQ(0u, get_uart3_reg(11));
  EXPECT_EQ(0u, get_uart3_reg(255));
  uart3_write(11, 0xDEAD);
  EXPECT_EQ(0u, get_uart3_reg(11));
}

}  // namespace
