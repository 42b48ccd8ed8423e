// The stimulator on the virtual clock: a flash and its sync pulse after the
// trigger falls, flicker until 'D', and the sync pulses of the impedance sine.
#include <gtest/gtest.h>

#include "platform/unit/tests/board_lines.h"

namespace {

sim_stim_state state() {
  sim_stim_state s = {};
  sim_stim_get_state(&s);
  return s;
}

}  // namespace

TEST(SimStimulatorTiming, TriggerFallFlashesAndPulsesSyncWhenArmed) {
  SimBus bus;
  // Not armed yet: the trigger does nothing.
  set_flash_trigger(bus, false);
  set_flash_trigger(bus, true);
  uint64_t t = sim_now_ns();
  EXPECT_TRUE(sync_falls(bus, t + 5000000).empty());
  EXPECT_EQ(state().flashes, 0u);

  arm_single_flash();
  set_flash_trigger(bus, false);
  uint64_t fall = sim_now_ns();
  // Sync goes low 100 us after the edge and stays low for 1 ms (watched
  // read by read).
  while (sync_high(bus) && sim_now_ns() < fall + 1000000) {
  }
  uint64_t low = sim_now_ns();
  EXPECT_GE(low, fall + 100000);
  EXPECT_LT(low, fall + 100000 + 2 * SIM_ACCESS_NS);
  while (!sync_high(bus) && sim_now_ns() < fall + 5000000) {
  }
  EXPECT_GE(sim_now_ns(), fall + 1100000);
  EXPECT_LT(sim_now_ns(), fall + 1100000 + 2 * SIM_ACCESS_NS);
  sim_stim_state s = state();
  EXPECT_EQ(s.flashes, 1u);
  EXPECT_EQ(s.sync_pulses, 1u);
  EXPECT_EQ(s.last_flash_ns, fall + 100000);
  EXPECT_EQ(s.flickering, 0);

  // The trigger held low, or raised, flashes no more; each new fall flashes once.
  sim_advance_ns(50000000);
  set_flash_trigger(bus, true);
  sim_advance_ns(50000000);
  EXPECT_EQ(state().flashes, 1u);
  set_flash_trigger(bus, false);
  set_flash_trigger(bus, true);
  sim_advance_ns(5000000);
  EXPECT_EQ(state().flashes, 2u);

  // Without sync the flash still goes off; the line stays high.
  sim_fault_set(SIM_FAULT_STIM_NO_SYNC, 0);
  set_flash_trigger(bus, false);
  t = sim_now_ns();
  EXPECT_TRUE(sync_falls(bus, t + 5000000).empty());
  EXPECT_EQ(state().flashes, 3u);
  EXPECT_EQ(state().sync_pulses, 2u);
  sim_fault_clear(SIM_FAULT_STIM_NO_SYNC);

  // The older platform's sync input is GPIO word 0 bit 7.
  sim_reset();
  sim_set_platform(1);
  arm_single_flash();
  set_flash_trigger(bus, false);
  sim_advance_ns(200000);
  EXPECT_EQ(sim_reg_read(bus.gpio, 0) & 0x80u, 0u);
  EXPECT_EQ(sim_reg_read(bus.gpio, 8) & 0x20u, 0u);  // a plain latch there now
  sim_advance_ns(1000000);
  EXPECT_EQ(sim_reg_read(bus.gpio, 0) & 0x80u, 0x80u);
}

TEST(SimStimulatorTiming, FlickerFlashesEveryPeriodUntilD) {
  SimBus bus;
  // 20 ms requested with a 5 ms flash: p 2, count 38280 (19999.8 us).
  arm_flicker(24999, 2, 38280);
  set_flash_trigger(bus, false);
  uint64_t fall = sim_now_ns();
  set_flash_trigger(bus, true);
  std::vector<uint64_t> flashes = flash_times(fall + 110000000);
  ASSERT_EQ(flashes.size(), 6u);  // at 0.1, 20.1 ... 100.1 ms
  EXPECT_EQ(flashes[0] - fall, 100000u);
  for (size_t i = 1; i < flashes.size(); ++i) {
    double period_us = (flashes[i] - flashes[i - 1]) / 1000.0;
    EXPECT_NEAR(period_us, 20000.0, 1.0) << i;
  }
  EXPECT_EQ(state().flickering, 1);
  // Each flash pulses the sync input.
  EXPECT_EQ(state().sync_pulses, 6u);

  // A trigger fall during the flicker changes nothing.
  set_flash_trigger(bus, false);
  set_flash_trigger(bus, true);
  std::vector<uint64_t> falls = sync_falls(bus, sim_now_ns() + 100000000);
  EXPECT_EQ(falls.size(), 5u);

  stim_write({'D'});
  EXPECT_EQ(state().flickering, 0);
  uint32_t count = state().flashes;
  EXPECT_TRUE(sync_falls(bus, sim_now_ns() + 100000000).empty());
  EXPECT_EQ(state().flashes, count);

  // Armed still: the next fall starts the flicker again.
  set_flash_trigger(bus, false);
  set_flash_trigger(bus, true);
  EXPECT_EQ(sync_falls(bus, sim_now_ns() + 50000000).size(), 3u);
  stim_write({'D'});

  // A long sleep through a flicker keeps every flash: 0.1 ms, then every
  // 19.9998 ms up to 60 s.
  count = state().flashes;
  set_flash_trigger(bus, false);
  sim_advance_ns(60000000000ull);
  stim_write({'D'});
  EXPECT_EQ(state().flashes - count, 3001u);
}

// A flicker of a counted number of flashes (the mode byte) stops after
// them; the next trigger fall starts another.
TEST(SimStimulatorTiming, CountedFlickerStopsAfterItsFlashes) {
  SimBus bus;
  arm_flicker(24999, 2, 38280, 4);
  for (int train = 0; train < 2; ++train) {
    SCOPED_TRACE(train);
    const uint32_t before = state().flashes;
    set_flash_trigger(bus, false);
    set_flash_trigger(bus, true);
    EXPECT_EQ(sync_falls(bus, sim_now_ns() + 200000000).size(), 4u);
    EXPECT_EQ(state().flashes - before, 4u);
    EXPECT_EQ(state().flickering, 0);
  }
  stim_write({'D'});
}

TEST(SimStimulatorTiming, ImpedanceSineSyncPulsesUntilStopped) {
  for (uint8_t stop : {'W', 'D', 'O'}) {
    SimBus bus;
    stim_write({'E'});
    uint64_t start = sim_now_ns();
    EXPECT_EQ(state().sine_electrode, 0);
    std::vector<uint64_t> falls = sync_falls(bus, start + 350000000);
    ASSERT_EQ(falls.size(), 3u) << stop;
    for (size_t i = 0; i < falls.size(); ++i) {
      EXPECT_GE(falls[i], start + (i + 1) * 100000000);
      EXPECT_LT(falls[i], start + (i + 1) * 100000000 + 20000);  // seen within a step
    }
    stim_write({'R'});
    EXPECT_EQ(state().sine_electrode, 1);
    stim_write({stop});
    EXPECT_EQ(state().sine_electrode, -1);
    EXPECT_TRUE(sync_falls(bus, sim_now_ns() + 300000000).empty()) << stop;
  }
  // The period is rounded to whole sine periods: 100 ms of a 32 Hz sine
  // becomes three periods, 93.75 ms.
  SimBus bus;
  sim_stim_config c;
  sim_stim_get_config(&c);
  c.sine_hz = 32.0;
  sim_stim_set_config(&c);
  stim_write({'E'});
  uint64_t start = sim_now_ns();
  std::vector<uint64_t> falls = sync_falls(bus, start + 250000000);
  ASSERT_EQ(falls.size(), 2u);
  EXPECT_NEAR((falls[1] - falls[0]) / 1e6, 93.75, 0.02);
}
