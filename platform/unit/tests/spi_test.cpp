// The SPI controller: status, FIFOs, shifting to the selected device, the
// strictness counters and the SPI faults.
#include <gtest/gtest.h>

#include "platform/unit/tests/sim_bus.h"

TEST(SimSpi, SetupWordsAreKeptAndStatusIsReadOnly) {
  SimBus bus;
  for (uint32_t w : {0u, 1u, 2u, 4u}) sim_reg_write(bus.spi, w, 135 + w);
  for (uint32_t w : {0u, 1u, 2u, 4u}) EXPECT_EQ(sim_reg_read(bus.spi, w), 135 + w);
  sim_reg_write(bus.spi, 5, 0);
  EXPECT_EQ(bus.status(), SIM_SPI_TX_IDLE | SIM_SPI_TX_NOT_FULL);
  EXPECT_EQ(sim_reg_read(bus.spi, 3), 0u);  // empty: 0, no wait
}

TEST(SimSpi, AByteShiftsInItsTimeAndTheReplyDependsOnTheSelection) {
  SimBus bus;
  struct {
    Select select;
    uint8_t device;
    uint8_t reply;
  } cases[] = {
      {Select::None, SIM_DEV_NONE, 0xFF},
      {Select::Adc, SIM_DEV_ADC, 0x00},
      {Select::Dac, SIM_DEV_DAC, 0x00},
      {Select::Both, SIM_DEV_BOTH, 0xFF},
  };
  for (const auto& c : cases) {
    sim_bus_log_clear();
    bus.select(c.select);
    bus.send(0x0F);
    uint64_t sent = sim_now_ns();
    EXPECT_EQ(bus.status() & (SIM_SPI_TX_IDLE | SIM_SPI_RX_NOT_EMPTY), 0u);
    while (!(bus.status() & SIM_SPI_RX_NOT_EMPTY)) ASSERT_LT(sim_now_ns() - sent, 10000u);
    // The reply shows up at the first status read at or after the shift time.
    uint64_t took = sim_now_ns() - sent;
    EXPECT_GE(took, SIM_SPI_BYTE_NS);
    EXPECT_LT(took, SIM_SPI_BYTE_NS + SIM_ACCESS_NS);
    EXPECT_EQ(bus.status(), SIM_SPI_TX_IDLE | SIM_SPI_TX_NOT_FULL | SIM_SPI_RX_NOT_EMPTY);
    EXPECT_EQ(sim_reg_read(bus.spi, 3), c.reply);
    auto log = bus_log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].device, c.device);
    EXPECT_EQ(log[0].mosi, 0x0F);
    EXPECT_EQ(log[0].miso, c.reply);
    EXPECT_EQ(log[0].withheld, 0);
  }
  bus.select(Select::None);
  // Only the byte with both selected counts as contention, and neither
  // device took it (the converter's 0x0F was a DAC half-word otherwise).
  sim_counters c = counters();
  EXPECT_EQ(c.bus_contention, 1u);
  EXPECT_EQ(c.partial_words, 1u);  // the DAC's own lone byte
  EXPECT_EQ(sim_dac_writes(), 0u);
}

TEST(SimSpi, TransmitOverflowAndReceiveOverrunAreCounted) {
  SimBus bus;
  // Writes come four times faster than the shifter takes bytes.
  const int written = 24;
  for (int i = 0; i < written; ++i) bus.send(static_cast<uint8_t>(i));
  ASSERT_TRUE(bus.wait_tx_idle());

  // Each byte was either shifted, in order, or dropped and counted.
  auto log = bus_log();
  uint32_t dropped = counters().tx_overflows;
  EXPECT_GT(dropped, 0u);
  EXPECT_EQ(log.size() + dropped, static_cast<size_t>(written));
  for (size_t i = 1; i < log.size(); ++i) EXPECT_LT(log[i - 1].mosi, log[i].mosi);
  EXPECT_EQ(log[0].mosi, 0);
  // Nothing was read: the receive FIFO kept the first eight replies.
  EXPECT_EQ(counters().rx_overruns, log.size() - SIM_FIFO_DEPTH);
  int held = 0;
  while (bus.status() & SIM_SPI_RX_NOT_EMPTY) {
    EXPECT_EQ(sim_reg_read(bus.spi, 3), 0xFFu);
    ++held;
  }
  EXPECT_EQ(held, static_cast<int>(SIM_FIFO_DEPTH));
}

TEST(SimSpi, StoppedShifterKeepsBytesQueuedUntilCleared) {
  struct {
    int64_t let_through;  // bytes that shift before the shifter stops
    uint32_t status_before;
    uint32_t status_stopped;
  } cases[] = {
      // Stopped at once: never idle, even empty; then full, nothing received.
      {0, SIM_SPI_TX_NOT_FULL, 0},
      // Idle until it stops; then not idle with the rest queued.
      {3, SIM_SPI_TX_IDLE | SIM_SPI_TX_NOT_FULL, SIM_SPI_TX_NOT_FULL | SIM_SPI_RX_NOT_EMPTY},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.let_through);
    SimBus bus;
    sim_fault_set(SIM_FAULT_TX_NEVER_IDLE, c.let_through);
    EXPECT_EQ(bus.status(), c.status_before);
    for (uint32_t i = 0; i < SIM_FIFO_DEPTH; ++i) bus.send(static_cast<uint8_t>(i));
    sim_advance_ns(5000000);
    EXPECT_EQ(bus.status(), c.status_stopped);
    EXPECT_EQ(bus_log().size(), static_cast<size_t>(c.let_through));
    EXPECT_FALSE(bus.wait_tx_idle());
    if (c.let_through == 0) {  // full: a further byte is dropped and counted
      bus.send(0x99);
      EXPECT_EQ(counters().tx_overflows, 1u);
    }

    sim_fault_clear(SIM_FAULT_TX_NEVER_IDLE);
    ASSERT_TRUE(bus.wait_tx_idle());
    auto log = bus_log();
    ASSERT_EQ(log.size(), SIM_FIFO_DEPTH);
    for (uint32_t i = 0; i < SIM_FIFO_DEPTH; ++i) EXPECT_EQ(log[i].mosi, i);  // none lost
    EXPECT_EQ(counters().rx_overruns, 0u);
  }
}

TEST(SimSpi, FloodedReceiveFifoReadsFFUntilCleared) {
  SimBus bus;
  sim_fault_set(SIM_FAULT_RX_FLOOD, 0);
  for (int i = 0; i < 20; ++i) {
    EXPECT_NE(bus.status() & SIM_SPI_RX_NOT_EMPTY, 0u);
    EXPECT_EQ(sim_reg_read(bus.spi, 3), 0xFFu);
  }
  sim_fault_clear(SIM_FAULT_RX_FLOOD);
  EXPECT_EQ(bus.status() & SIM_SPI_RX_NOT_EMPTY, 0u);
  EXPECT_EQ(sim_reg_read(bus.spi, 3), 0u);
}

TEST(SimSpi, WithheldRepliesStartAtTheNthFromNow) {
  struct {
    int fault;
    int64_t n;
    int arrived;     // of the first four
    bool lasts;      // the fault outlives them, until cleared
  } cases[] = {
      {SIM_FAULT_WITHHOLD_RX_BYTE, 0, 3, false},
      {SIM_FAULT_WITHHOLD_RX_BYTE, 2, 3, false},
      {SIM_FAULT_WITHHOLD_RX_FROM, 0, 0, true},
      {SIM_FAULT_WITHHOLD_RX_FROM, 2, 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "fault " << c.fault << " n " << c.n);
    SimBus bus;
    bus.select(Select::Dac);  // replies 0x00
    sim_fault_set(c.fault, c.n);
    for (int i = 0; i < 4; ++i) bus.send(static_cast<uint8_t>(0x10 + i));
    ASSERT_TRUE(bus.wait_tx_idle());
    auto log = bus_log();
    ASSERT_EQ(log.size(), 4u);
    int arrived = 0;
    while (bus.status() & SIM_SPI_RX_NOT_EMPTY) {
      sim_reg_read(bus.spi, 3);
      ++arrived;
    }
    EXPECT_EQ(arrived, c.arrived);
    for (int i = 0; i < 4; ++i) {
      bool taken = c.lasts ? i >= c.n : i == c.n;
      EXPECT_EQ(log[i].withheld, taken ? 1 : 0) << "byte " << i;
    }
    int later = c.lasts ? -1 : 0x00;
    EXPECT_EQ(bus.xfer(0x20), later);
    EXPECT_EQ(bus.xfer(0x21), later);
    sim_fault_clear(c.fault);
    EXPECT_EQ(bus.xfer(0x22), 0x00);
    EXPECT_EQ(counters().rx_overruns, 0u);
  }
}
