// Block map, word bounds, the virtual clock, GPIO inputs and the DAC.
#include <gtest/gtest.h>

#include <thread>

#include "platform/unit/tests/sim_bus.h"

TEST(SimBoardMap, HandlesPerBlockAndRefusals) {
  sim_reset();
  struct {
    uint64_t address;
    uint32_t bytes;
    bool maps;
  } cases[] = {
      {SIM_SPI_BASE, 24, true},    {SIM_SPI_BASE, 4096, true},  {SIM_SPI_BASE, 23, false},
      {SIM_GPIO_BASE, 136, true},  {SIM_GPIO_BASE, 132, false}, {SIM_UART3_BASE, 44, true},
      {SIM_UART3_BASE, 40, false}, {SIM_SPI_BASE + 4, 20, false}, {0x80000C00u, 4096, false},
      {0x180000B00ull, 24, false},
  };
  for (const auto& c : cases) {
    void* h = sim_map_block(c.address, c.bytes);
    EXPECT_EQ(h != nullptr, c.maps) << std::hex << c.address << " " << std::dec << c.bytes;
  }
  // A block's handle is the same every time; the three blocks differ.
  void* spi = sim_map_block(SIM_SPI_BASE, 24);
  void* gpio = sim_map_block(SIM_GPIO_BASE, 136);
  void* uart = sim_map_block(SIM_UART3_BASE, 44);
  EXPECT_EQ(spi, sim_map_block(SIM_SPI_BASE, 100));
  EXPECT_NE(spi, gpio);
  EXPECT_NE(gpio, uart);

  // Every request is logged, refused ones too.
  uint64_t log[32] = {};
  uint32_t n = sim_map_log(log, 32);
  ASSERT_EQ(n, 14u);
  EXPECT_EQ(log[2], SIM_SPI_BASE);
  EXPECT_EQ(log[9], 0x180000B00ull);
  EXPECT_EQ(log[12], SIM_UART3_BASE);
  EXPECT_EQ(sim_map_log(log, 2), 14u);  // copies two, reports all
  sim_reset();
  EXPECT_EQ(sim_map_log(log, 32), 0u);
}

TEST(SimBoardMap, InjectedFailureHitsOnlyItsAddressUntilCleared) {
  sim_reset();
  sim_fault_set(SIM_FAULT_MAP_FAIL, SIM_GPIO_BASE);
  EXPECT_NE(sim_map_block(SIM_SPI_BASE, 24), nullptr);
  EXPECT_EQ(sim_map_block(SIM_GPIO_BASE, 136), nullptr);
  EXPECT_NE(sim_map_block(SIM_UART3_BASE, 44), nullptr);
  sim_fault_clear(SIM_FAULT_MAP_FAIL);
  EXPECT_NE(sim_map_block(SIM_GPIO_BASE, 136), nullptr);
  sim_fault_set(SIM_FAULT_MAP_FAIL, SIM_UART3_BASE);
  sim_reset();
  EXPECT_NE(sim_map_block(SIM_UART3_BASE, 44), nullptr);
}

TEST(SimBoardMap, WordsOutsideABlockReadZeroAndIgnoreWrites) {
  SimBus bus;
  void* uart = sim_map_block(SIM_UART3_BASE, 44);
  struct {
    void* block;
    uint32_t last;
  } blocks[] = {{bus.spi, 5}, {bus.gpio, 33}, {uart, 10}};
  for (const auto& b : blocks) {
    sim_reg_write(b.block, b.last + 1, 0x12345678);
    sim_reg_write(b.block, 0xFFFFFFFFu, 0x12345678);
    EXPECT_EQ(sim_reg_read(b.block, b.last + 1), 0u);
    EXPECT_EQ(sim_reg_read(b.block, 0xFFFFFFFFu), 0u);
  }
  // The last word of each block is there.
  sim_reg_write(uart, 10, 0xA5);
  EXPECT_EQ(sim_reg_read(uart, 10), 0xA5u);
  sim_reg_write(bus.gpio, 33, 0x5A);
  EXPECT_EQ(sim_reg_read(bus.gpio, 33), 0x5Au);
  // A handle that is not a block reads 0 and changes nothing.
  int not_a_block = 0;
  sim_reg_write(&not_a_block, 0, 7);
  EXPECT_EQ(sim_reg_read(&not_a_block, 0), 0u);
  EXPECT_EQ(sim_reg_read(nullptr, 0), 0u);
  EXPECT_EQ(not_a_block, 0);
  EXPECT_EQ(bus_log().size(), 0u);
}

TEST(SimBoardClock, AccessesAndTicksAdvanceTimeAndResetKeepsIt) {
  SimBus bus;
  uint64_t t0 = sim_now_ns();
  EXPECT_EQ(sim_now_ns(), t0);  // reading the clock takes no time
  sim_reg_read(bus.gpio, 0);
  sim_reg_write(bus.gpio, 5, 1);
  EXPECT_EQ(sim_now_ns(), t0 + 2 * SIM_ACCESS_NS);
  uint32_t tick = sim_tick_ms();
  EXPECT_EQ(sim_now_ns(), t0 + 3 * SIM_ACCESS_NS);
  EXPECT_EQ(tick, static_cast<uint32_t>(sim_now_ns() / 1000000));

  sim_advance_ns(2500000);
  EXPECT_EQ(sim_tick_ms(), static_cast<uint32_t>((t0 + 4 * SIM_ACCESS_NS + 2500000) / 1000000));

  // The tick count is the low 32 bits of the millisecond count: it wraps.
  uint64_t now = sim_now_ns();
  uint64_t to_wrap = (1ull << 32) * 1000000 - now % ((1ull << 32) * 1000000);
  sim_advance_ns(to_wrap);
  EXPECT_EQ(sim_tick_ms(), 0u);

  uint64_t before = sim_now_ns();
  sim_reset();
  EXPECT_EQ(sim_now_ns(), before);
}

TEST(SimBoardClock, AccessesFromSeveralThreadsEachTakeTheirTime) {
  SimBus bus;
  uint64_t t0 = sim_now_ns();
  const int per_thread = 20000;
  auto poll = [&] {
    for (int i = 0; i < per_thread; ++i) sim_reg_read(bus.gpio, 12);
  };
  std::thread a(poll), b(poll);
  for (int i = 0; i < per_thread; ++i) sim_tick_ms();
  a.join();
  b.join();
  EXPECT_EQ(sim_now_ns() - t0, 3ull * per_thread * SIM_ACCESS_NS);
}

TEST(SimBoardGpio, PowerOnWordsAndInputsThatIgnoreWrites) {
  SimBus bus;
  EXPECT_EQ(sim_reg_read(bus.gpio, 1), 0x0Eu);
  EXPECT_EQ(sim_reg_read(bus.gpio, 8), 0x20u);  // sync input idles high
  for (uint32_t w : {0u, 2u, 9u, 13u, 22u, 33u}) EXPECT_EQ(sim_reg_read(bus.gpio, w), 0u) << w;

  // Data-ready follows the converter whatever is written to word 12.
  ASSERT_TRUE(bus.wait_data_ready(true, 1000000));
  sim_reg_write(bus.gpio, 12, 0xFFFFFFFFu);
  EXPECT_EQ(sim_reg_read(bus.gpio, 12), 0xFFFFFFFEu);
  sim_reg_write(bus.gpio, 12, 0);
  EXPECT_EQ(sim_reg_read(bus.gpio, 12), 0u);

  // The sync input moves only when driven from outside.
  sim_reg_write(bus.gpio, 8, 0);
  EXPECT_EQ(sim_reg_read(bus.gpio, 8), 0x20u);
  sim_gpio_set_input(8, 5, 0);
  sim_reg_write(bus.gpio, 8, 0xFFFFFFFFu);
  EXPECT_EQ(sim_reg_read(bus.gpio, 8), 0xFFFFFFDFu);
  sim_gpio_set_input(8, 4, 0);  // not an input: nothing happens
  sim_gpio_set_input(8, 40, 1);
  EXPECT_EQ(sim_reg_read(bus.gpio, 8), 0xFFFFFFDFu);
  sim_gpio_set_input(8, 5, 1);
  EXPECT_EQ(sim_reg_read(bus.gpio, 8), 0xFFFFFFFFu);
}

TEST(SimBoardGpio, OlderPlatformTakesSyncOnWordZeroUntilReset) {
  SimBus bus;
  sim_set_platform(1);
  sim_reg_write(bus.gpio, 8, 0);
  EXPECT_EQ(sim_reg_read(bus.gpio, 8), 0u);  // a plain latch now
  sim_reg_write(bus.gpio, 0, 0);
  EXPECT_EQ(sim_reg_read(bus.gpio, 0), 0x80u);
  sim_gpio_set_input(8, 5, 0);  // the newer platform's pin: nothing
  EXPECT_EQ(sim_reg_read(bus.gpio, 0), 0x80u);
  sim_gpio_set_input(0, 7, 0);
  sim_reg_write(bus.gpio, 0, 0xFF);
  EXPECT_EQ(sim_reg_read(bus.gpio, 0), 0x7Fu);
  sim_reset();
  EXPECT_EQ(sim_reg_read(bus.gpio, 0), 0u);
  EXPECT_EQ(sim_reg_read(bus.gpio, 8), 0x20u);
}

TEST(SimBoardDac, WordsSetOutputsAndControl) {
  SimBus bus;
  bus.select(Select::Dac);
  struct {
    uint8_t hi, lo;
  } words[] = {{0x0A, 0xBC}, {0x1F, 0xFF}, {0x20, 0x01}, {0x31, 0x23}, {0xF0, 0x12}, {0x55, 0x55}};
  for (const auto& w : words) {
    EXPECT_EQ(bus.xfer(w.hi), 0x00);
    EXPECT_EQ(bus.xfer(w.lo), 0x00);
  }
  bus.select(Select::None);
  EXPECT_EQ(sim_dac_output(0), 0xABCu);
  EXPECT_EQ(sim_dac_output(1), 0xFFFu);
  EXPECT_EQ(sim_dac_output(2), 0x001u);
  EXPECT_EQ(sim_dac_output(3), 0x123u);
  EXPECT_EQ(sim_dac_control(), 0x012u);
  EXPECT_EQ(sim_dac_output(4), 0u);
  EXPECT_EQ(sim_dac_writes(), 6u);
  EXPECT_EQ(counters().partial_words, 0u);
}

TEST(SimBoardDac, AnOddByteIsAPartialWordAndTheNextWordStartsClean) {
  SimBus bus;
  bus.select(Select::Dac);
  bus.xfer(0x07);
  bus.select(Select::None);
  EXPECT_EQ(counters().partial_words, 1u);
  EXPECT_EQ(sim_dac_writes(), 0u);
  bus.select(Select::Dac);
  bus.xfer(0x18);
  bus.xfer(0x00);
  bus.select(Select::None);
  EXPECT_EQ(sim_dac_output(1), 0x800u);
  EXPECT_EQ(sim_dac_writes(), 1u);
  EXPECT_EQ(counters().partial_words, 1u);
  // Deselecting on a word boundary, or while not selected, costs nothing.
  bus.select(Select::None);
  EXPECT_EQ(counters().partial_words, 1u);
}
