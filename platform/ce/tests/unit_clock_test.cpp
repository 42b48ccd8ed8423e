#include <gtest/gtest.h>

#include "platform/unit/sim_unit.h"
#include "platform/ce/unit_clock.h"

TEST(UnitClock, RunsOnTheBoardsVirtualClock) {
  uint64_t before = sim_now_ns();
  unit_sleep_ms(90000);  // a minute and a half passes at once
  uint64_t after = sim_now_ns();
  EXPECT_EQ(after - before, 90000ull * 1000000ull);

  uint32_t tick = unit_tick_ms();
  EXPECT_EQ(tick, static_cast<uint32_t>(sim_now_ns() / 1000000u));
  unit_sleep_ms(250);
  uint32_t later = unit_tick_ms() - tick;  // the tick truncates: 250 or 251
  EXPECT_GE(later, 250u);
  EXPECT_LE(later, 251u);
}

// The clock's date and time run with the virtual clock, to the tick.
TEST(UnitClock, DateAndTimeRunOnTheVirtualClock) {
  const uint64_t before = unit_clock_filetime();
  unit_sleep_ms(45250);
  EXPECT_EQ(unit_clock_filetime() - before, 45250ull * 10000ull);
}
