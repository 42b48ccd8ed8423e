#include <gtest/gtest.h>

#include "sim_unit.h"
#include "unit_clock.h"

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

// The date and time run with the virtual clock; a date set is kept as a
// difference, so it runs on from there.
TEST(UnitClock, DateAndTimeRunOnTheVirtualClock) {
  const unitDateTime set{2024, 3, 15, 23, 59, 30, 0};
  set_unit_local_time(file_time_of(set));
  unit_sleep_ms(45250);
  const unitDateTime t = date_time_of(unit_local_time());
  EXPECT_EQ(t.year, 2024);
  EXPECT_EQ(t.month, 3);
  EXPECT_EQ(t.day, 16);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.minute, 0);
  EXPECT_EQ(t.second, 15);
  EXPECT_GE(t.milliseconds, 250);
  EXPECT_LT(t.milliseconds, 260);
}

TEST(UnitClock, CalendarOfFileTimes) {
  struct calendarCase {
    uint64_t file_time;
    unitDateTime t;
  };
  const calendarCase cases[] = {
      {0, {1601, 1, 1, 0, 0, 0, 0}},
      {116444736000000000ull, {1970, 1, 1, 0, 0, 0, 0}},
      {133537248000000000ull + 5ull * 10000, {2024, 3, 1, 0, 0, 0, 5}},
      {133536816000000000ull - 10000000ull, {2024, 2, 29, 11, 59, 59, 0}},  // a leap day
  };
  for (const calendarCase& c : cases) {
    SCOPED_TRACE(c.file_time);
    const unitDateTime t = date_time_of(c.file_time);
    EXPECT_EQ(t.year, c.t.year);
    EXPECT_EQ(t.month, c.t.month);
    EXPECT_EQ(t.day, c.t.day);
    EXPECT_EQ(t.hour, c.t.hour);
    EXPECT_EQ(t.minute, c.t.minute);
    EXPECT_EQ(t.second, c.t.second);
    EXPECT_EQ(t.milliseconds, c.t.milliseconds);
    EXPECT_EQ(file_time_of(c.t), c.file_time);
  }
}
