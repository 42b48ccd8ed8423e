// The analog-to-digital converter: registers, data rates and data-ready
// pacing, RDATA and continuous reads, commands and the converter faults.
#include <gtest/gtest.h>

#include "platform/unit/tests/sim_bus.h"

namespace {

// A board with the converter selected and its first conversion waiting.
struct AdcBus : SimBus {
  AdcBus() {
    select(Select::Adc);
    EXPECT_TRUE(wait_data_ready(true, 1000000));
  }
  // Restarts the conversions and waits for the first one.
  void sync_and_wake() {
    command(0xFC);
    command(0x00);
    EXPECT_TRUE(wait_data_ready(true, 3000000));
  }
  // Time between data-ready falling edges, each conversion read in between.
  uint64_t next_conversion_interval() {
    uint64_t from = sim_now_ns();
    EXPECT_TRUE(wait_data_ready(true, 5000000));
    return sim_now_ns() - from;
  }
};

// Sign-relevant 24-bit values and how they come over the wire.
const int32_t kValues[] = {-8388608, 8388607, -1, 1, 0x12345678};
const int32_t kOnWire[] = {-8388608, 8388607, -1, 1, 0x345678};

void expect_clean() {
  sim_counters c = counters();
  EXPECT_EQ(c.rx_overruns, 0u);
  EXPECT_EQ(c.tx_overflows, 0u);
  EXPECT_EQ(c.bus_contention, 0u);
  EXPECT_EQ(c.partial_words, 0u);
}

}  // namespace

TEST(SimAdc, PowerOnRegistersAndRoundTrips) {
  AdcBus bus;
  sim_adc_set_options(0x0B);
  // STATUS bit 0 is data-ready (low now: a conversion waits); IO carries the options.
  EXPECT_EQ(bus.rreg(0, 5), (std::vector<uint8_t>{0x30, 0x01, 0x20, 0xF0, 0xEB}));
  EXPECT_EQ(sim_adc_rate(), 30000u);

  struct {
    uint8_t reg, write, stored, read;
  } cases[] = {
      {0, 0xFF, 0x3E, 0x3E},  // id nibble and data-ready bit are read-only
      {0, 0x02, 0x32, 0x32},
      {2, 0x00, 0x00, 0x00},
      {4, 0x5A, 0x5A, 0x5B},  // low nibble: the board options
      {5, 0xA5, 0xA5, 0xA5},
      {10, 0x11, 0x11, 0x11},
  };
  for (const auto& c : cases) {
    bus.wreg(c.reg, {c.write});
    EXPECT_EQ(sim_adc_register(c.reg), c.stored) << int(c.reg);
    EXPECT_EQ(bus.rreg(c.reg, 1), std::vector<uint8_t>{c.read}) << int(c.reg);
  }
  // Several registers at once; beyond register 10 there is nothing.
  bus.wreg(6, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(bus.rreg(6, 7), (std::vector<uint8_t>{1, 2, 3, 4, 5, 0, 0}));
  EXPECT_EQ(sim_adc_register(11), 0u);
  bus.select(Select::None);
  expect_clean();
}

TEST(SimAdc, DataRateCodesAndUnknownCodeKeepsTheRate) {
  AdcBus bus;
  struct {
    uint8_t code;
    uint32_t rate;
  } cases[] = {{0xE0, 15000}, {0x82, 100}, {0x77, 100}, {0x03, 2}, {0xA1, 1000}, {0x00, 1000}, {0xF0, 30000}};
  for (const auto& c : cases) {
    bus.wreg(3, {c.code});
    EXPECT_EQ(sim_adc_register(3), c.code);
    EXPECT_EQ(sim_adc_rate(), c.rate) << std::hex << int(c.code);
  }
}

TEST(SimAdc, DataReadyPacingAtEachRate) {
  struct {
    uint8_t code;
    uint64_t rate;
  } cases[] = {{0xE0, 15000}, {0xD0, 7500}, {0xC0, 3750}, {0xB0, 2000}};
  for (const auto& c : cases) {
    AdcBus bus;
    bus.wreg(3, {c.code});
    ASSERT_TRUE(bus.wait_data_ready(true, 3000000));
    uint64_t first = sim_now_ns();
    bus.command(0x03);  // RDATAC
    // Read every conversion as it comes: data-ready rises as the read starts
    // and falls at the next conversion.
    const uint64_t n = 30;
    for (uint64_t i = 0; i < n; ++i) {
      ASSERT_TRUE(bus.wait_data_ready(true, 5000000));
      bus.continuous_sample();
      EXPECT_FALSE(bus.data_ready_low());
    }
    ASSERT_TRUE(bus.wait_data_ready(true, 5000000));
    uint64_t span = sim_now_ns() - first;
    // n periods, each edge seen by polling within one access.
    uint64_t expected = n * 1000000000ull / c.rate;
    EXPECT_GT(span + SIM_ACCESS_NS, expected) << c.rate;
    EXPECT_LT(span, expected + SIM_ACCESS_NS) << c.rate;
    bus.command(0x0F);
    expect_clean();
  }
}

TEST(SimAdc, RdataOutputsTheLatchedSequenceValues) {
  AdcBus bus;
  bus.wreg(3, {0xB0});  // 2000 per second: plenty of time per read
  sim_adc_set_sequence(0, kValues, 5);
  bus.sync_and_wake();
  sim_bus_log_clear();
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 5; ++i) {
      ASSERT_TRUE(bus.wait_data_ready(true, 1000000));
      EXPECT_EQ(bus.rdata(), kOnWire[i]) << i;
      EXPECT_FALSE(bus.data_ready_low());
    }
  }
  // On the wire: RDATA answered 0x00, then the value most significant first.
  auto log = bus_log();
  ASSERT_EQ(log.size(), 40u);
  const uint8_t first[] = {0x01, 0x00, 0x20, 0x80, 0x20, 0x00, 0x20, 0x00};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(log[i].mosi, first[2 * i]);
    EXPECT_EQ(log[i].miso, first[2 * i + 1]);
    EXPECT_EQ(log[i].device, SIM_DEV_ADC);
  }
  bus.select(Select::None);
  expect_clean();
}

TEST(SimAdc, ContinuousReadFollowsTheSequenceUntilSdatac) {
  AdcBus bus;
  bus.wreg(3, {0xC0});
  sim_adc_set_sequence(0, kValues, 5);
  bus.sync_and_wake();
  bus.command(0x03);
  EXPECT_EQ(sim_adc_continuous(), 1);
  for (int i = 0; i < 12; ++i) {
    ASSERT_TRUE(bus.wait_data_ready(true, 1000000));
    EXPECT_EQ(bus.continuous_sample(), kOnWire[i % 5]) << i;
    if (i == 5) {
      // Commands other than SDATAC and RESET are clock bytes now: with no
      // conversion unread they answer 0x00 and do nothing.
      EXPECT_EQ(bus.xfer(0x01), 0x00);
      EXPECT_EQ(bus.xfer(0xFD), 0x00);
      EXPECT_EQ(sim_adc_standby(), 0);
    }
  }
  bus.command(0x0F);
  EXPECT_EQ(sim_adc_continuous(), 0);
  // Out of continuous mode a byte is a command again and reads nothing.
  ASSERT_TRUE(bus.wait_data_ready(true, 1000000));
  EXPECT_EQ(bus.xfer(0xBB), 0x00);
  EXPECT_TRUE(bus.data_ready_low());
  bus.select(Select::None);
  expect_clean();
}

TEST(SimAdc, InputsHaveTheirOwnSourcesAndCommonReadsZero) {
  AdcBus bus;
  sim_adc_set_constant(0, 111);
  sim_adc_set_constant(1, -222);
  sim_adc_set_constant(7, 777);
  sim_adc_set_constant(8, 888);  // no such input: ignored
  sim_adc_set_sequence(2, nullptr, 3);  // nothing to play: the battery stays
  struct {
    uint8_t mux;
    int32_t value;
  } cases[] = {{0x08, 111}, {0x18, -222}, {0x78, 777}, {0x28, SIM_BATTERY_COUNTS}, {0x38, 0}, {0x80, 0}, {0xF8, 0}};
  for (const auto& c : cases) {
    bus.wreg(1, {c.mux});  // a multiplexer change restarts the conversions
    EXPECT_FALSE(bus.data_ready_low());
    ASSERT_TRUE(bus.wait_data_ready(true, 1000000));
    EXPECT_EQ(bus.rdata(), c.value) << std::hex << int(c.mux);
  }
}

TEST(SimAdc, SyncThenWakeupSettlesWithinThreeMillisecondsAt2000) {
  AdcBus bus;
  bus.wreg(3, {0xB0});
  bus.command(0xFC);
  EXPECT_FALSE(bus.data_ready_low());
  sim_advance_ns(20000000);  // stopped: no conversion
  EXPECT_FALSE(bus.data_ready_low());
  uint64_t woke = sim_now_ns();
  bus.command(0xFF);
  ASSERT_TRUE(bus.wait_data_ready(true, 3000000));
  uint64_t settle = sim_now_ns() - woke;
  EXPECT_GT(settle, 3 * 500000u);
  EXPECT_LT(settle, 3000000u);
}

TEST(SimAdc, SelfCalibrationRaisesDataReadyForAboutAMillisecond) {
  AdcBus bus;
  EXPECT_TRUE(bus.data_ready_low());
  bus.command(0xF0);
  EXPECT_FALSE(bus.data_ready_low());
  EXPECT_EQ(sim_adc_self_calibrations(), 0u);
  uint64_t from = sim_now_ns();
  ASSERT_TRUE(bus.wait_data_ready(true, 10000000));
  uint64_t took = sim_now_ns() - from;
  EXPECT_GT(took, 500000u);
  EXPECT_LT(took, 2000000u);
  EXPECT_EQ(sim_adc_self_calibrations(), 1u);
}

TEST(SimAdc, StandbyStopsConversionsUntilWakeupOrSelfCalibration) {
  AdcBus bus;
  bus.command(0xFD);
  EXPECT_EQ(sim_adc_standby(), 1);
  EXPECT_FALSE(bus.wait_data_ready(true, 10000000));
  bus.command(0xFC);  // SYNC, a register write, a read: still in standby
  bus.wreg(1, {0x18});
  EXPECT_EQ(bus.rreg(1, 1), std::vector<uint8_t>{0x18});
  EXPECT_EQ(sim_adc_standby(), 1);
  EXPECT_FALSE(bus.wait_data_ready(true, 5000000));
  bus.command(0x00);
  EXPECT_EQ(sim_adc_standby(), 0);
  EXPECT_TRUE(bus.wait_data_ready(true, 3000000));

  // The next set-up calibrates without a WAKEUP, and conversions come back.
  bus.command(0xFD);
  bus.command(0xF0);
  EXPECT_EQ(sim_adc_standby(), 0);
  EXPECT_TRUE(bus.wait_data_ready(true, 3000000));
  EXPECT_EQ(sim_adc_self_calibrations(), 1u);
}

TEST(SimAdc, ResetRestoresRegistersAndLeavesContinuousMode) {
  struct {
    bool continuous;
  } cases[] = {{false}, {true}};
  for (const auto& c : cases) {
    AdcBus bus;
    bus.wreg(1, {0x23});
    bus.wreg(3, {0x82});
    bus.wreg(0, {0x06});
    bus.command(0xFD);
    if (c.continuous) {
      bus.command(0x00);
      bus.command(0x03);
    }
    bus.command(0xFE);
    EXPECT_EQ(sim_adc_resets(), 1u);
    EXPECT_EQ(sim_adc_continuous(), 0);
    EXPECT_EQ(sim_adc_standby(), 0);
    EXPECT_EQ(sim_adc_rate(), 30000u);
    const uint32_t power_on[] = {0x30, 0x01, 0x20, 0xF0, 0xE0};
    for (uint32_t r = 0; r < 5; ++r) EXPECT_EQ(sim_adc_register(r), power_on[r]) << r;
    EXPECT_FALSE(bus.data_ready_low());
    EXPECT_TRUE(bus.wait_data_ready(true, 1000000));
  }
}

TEST(SimAdc, ChipSelectEndsTheCommandInProgress) {
  AdcBus bus;
  // Output cut short: a partial word.
  bus.command(0x01);
  EXPECT_GE(bus.xfer(0x20), 0);
  bus.select(Select::None);
  EXPECT_EQ(counters().partial_words, 1u);
  // A WREG waiting for its data is dropped: the register keeps its value and
  // the next byte is a command again.
  bus.select(Select::Adc);
  bus.command(0x53);
  bus.command(0x00);
  bus.select(Select::None);
  bus.select(Select::Adc);
  bus.command(0x82);  // would have been DRATE's value; as a command: ignored
  EXPECT_EQ(sim_adc_register(3), 0xF0u);
  EXPECT_EQ(bus.rreg(3, 1), std::vector<uint8_t>{0xF0});
  // A register read fully clocked out is whole.
  bus.select(Select::None);
  EXPECT_EQ(counters().partial_words, 1u);
}

TEST(SimAdc, DataReadyStuckFaultsForceTheLineButValuesStillLatch) {
  AdcBus bus;
  bus.wreg(3, {0xB0});
  const int32_t seq[] = {10, 20, 30, 40};
  sim_adc_set_sequence(0, seq, 4);
  bus.sync_and_wake();

  sim_fault_set(SIM_FAULT_DRDY_STUCK_HIGH, 0);
  EXPECT_FALSE(bus.data_ready_low());
  EXPECT_FALSE(bus.wait_data_ready(true, 2600000));  // five conversions go by
  EXPECT_EQ(bus.rreg(0, 1), std::vector<uint8_t>{0x31});
  int32_t v = bus.rdata();
  EXPECT_TRUE(v == 10 || v == 20 || v == 30 || v == 40) << v;
  sim_fault_clear(SIM_FAULT_DRDY_STUCK_HIGH);

  sim_fault_set(SIM_FAULT_DRDY_STUCK_LOW, 0);
  ASSERT_TRUE(bus.data_ready_low());
  int32_t a = bus.rdata();
  EXPECT_TRUE(bus.data_ready_low());  // the read did not raise it
  sim_advance_ns(500000);
  int32_t b = bus.rdata();
  EXPECT_EQ(b, seq[((a / 10) % 4)]);  // the next conversion latched
  sim_fault_clear(SIM_FAULT_DRDY_STUCK_LOW);
  EXPECT_FALSE(bus.data_ready_low());
  bus.select(Select::None);
  expect_clean();
}

TEST(SimAdc, LateConversionComesLateOnceThenTheRateResumes) {
  AdcBus bus;
  bus.wreg(3, {0xB0});
  ASSERT_TRUE(bus.wait_data_ready(true, 3000000));
  bus.command(0x03);
  bus.continuous_sample();
  bus.next_conversion_interval();
  bus.continuous_sample();
  // From the end of one read to the next conversion.
  uint64_t normal = bus.next_conversion_interval();
  bus.continuous_sample();
  sim_fault_set(SIM_FAULT_CONVERSION_LATE, 700);
  uint64_t late = bus.next_conversion_interval();
  bus.continuous_sample();
  uint64_t after = bus.next_conversion_interval();
  bus.continuous_sample();
  EXPECT_NEAR(static_cast<double>(late), static_cast<double>(normal) + 700000.0, 2.0 * SIM_ACCESS_NS);
  EXPECT_NEAR(static_cast<double>(after), static_cast<double>(normal), 2.0 * SIM_ACCESS_NS);
  bus.command(0x0F);
  bus.select(Select::None);
  expect_clean();
}

TEST(SimAdc, LongSleepKeepsTheSequenceInStep) {
  AdcBus bus;
  bus.wreg(3, {0xB0});
  const int32_t seq[] = {0, 1, 2, 3, 4, 5, 6};
  sim_adc_set_sequence(0, seq, 7);
  bus.sync_and_wake();  // conversion 0 (value 0) just came
  // One hour at 2000 per second is 7,200,000 conversions later, and
  // 7,200,000 mod 7 = 3. Wake a quarter period after that conversion.
  sim_advance_ns(3600ull * 1000000000ull + 125000);
  EXPECT_EQ(bus.rdata(), 3);
  ASSERT_TRUE(bus.wait_data_ready(true, 1000000));
  EXPECT_EQ(bus.rdata(), 4);
}
