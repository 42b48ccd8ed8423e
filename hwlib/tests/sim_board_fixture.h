// Fixtures for in-process tests of the library on the simulated board.
//
// sim_board_test: the board back at power-on and the library attached; at
// the end the last bytes go out, every device is deselected, every fault is
// lifted, and the board's strictness counters must all still be zero (or
// what a test expects of a fault it injected).
// adc_test: the analog-to-digital converter selected (GPIO word 1 bit 3 low)
// for the whole test, deselected at the end, as the program does, and set to
// 15000 conversions per second of input 0 against the common input.
#ifndef HWLIB_TESTS_SIM_BOARD_FIXTURE_H
#define HWLIB_TESTS_SIM_BOARD_FIXTURE_H

#include <gtest/gtest.h>

#include <vector>

#include "hwlib/attach.h"
#include "hwlib/hwlib_exports.h"
#include "platform/unit/sim_unit.h"

class sim_board_test : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_reset();
    ASSERT_EQ(1, hwlib_attach());
  }

  void TearDown() override {
    wait_till_xmit_fifo_empty();
    deselect_all();
    for (int fault = SIM_FAULT_DRDY_STUCK_HIGH; fault <= SIM_FAULT_WITHHOLD_RX_FROM; ++fault) {
      sim_fault_clear(fault);
    }
    EXPECT_EQ(1u, wait_till_xmit_fifo_empty());
    sim_counters counters{};
    sim_get_counters(&counters);
    EXPECT_EQ(0u, counters.rx_overruns);
    EXPECT_EQ(0u, counters.tx_overflows);
    EXPECT_EQ(0u, counters.bus_contention);
    EXPECT_EQ(expected_partial_words, counters.partial_words);
  }

  // Set by a test whose injected fault cuts a converter word short.
  uint32_t expected_partial_words = 0;

  static void deselect_all() {
    put_gpio_bit(1, 3, 1);
    put_gpio_bit(1, 1, 1);
  }
  static void select_adc() {
    put_gpio_bit(1, 1, 1);
    put_gpio_bit(1, 3, 0);
  }
  static void select_dac() {
    put_gpio_bit(1, 3, 1);
    put_gpio_bit(1, 1, 0);
  }

  // The bytes shifted so far, once the last one written has gone out.
  static std::vector<sim_bus_byte> bus_log() {
    wait_till_xmit_fifo_empty();
    std::vector<sim_bus_byte> log(sim_bus_log(nullptr, 0));
    log.resize(sim_bus_log(log.data(), static_cast<uint32_t>(log.size())));
    return log;
  }
  static std::vector<uint8_t> bytes_sent() {
    std::vector<uint8_t> sent;
    for (const sim_bus_byte& b : bus_log()) sent.push_back(b.mosi);
    return sent;
  }

  // Lets the virtual clock run to `phase_ns` past a millisecond boundary.
  static void align_clock(uint64_t phase_ns) {
    const uint64_t into = sim_now_ns() % 1000000u;
    sim_advance_ns((1000000u + phase_ns - into) % 1000000u);
  }
};

class adc_test : public sim_board_test {
 protected:
  void SetUp() override {
    sim_board_test::SetUp();
    select_adc();
    ASSERT_EQ(1u, put_1255_reg(3, 0xE0));
    restart_conversions();
    sim_bus_log_clear();
  }

  // Writes the multiplexer again (input 0 against the common input), which
  // starts the conversions afresh: the next one read comes from the sources
  // as they are now.
  static void restart_conversions() { ASSERT_EQ(1u, put_1255_reg(1, 0x08)); }
};

#endif
