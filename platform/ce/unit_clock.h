// The unit's clock: its millisecond tick count, its sleeps, and its local
// date and time. On a device the tick and sleeps are real time (GetTickCount,
// Sleep); in the simulated build they are the simulated board's virtual
// clock, which a sleep advances at once, so long waits take no real time and
// timing is exact.
//
// The date and time are what the unit stores and logs: test times, file
// times, log records, folder dates. They run on the same clock as the tick
// count: on a device the platform's local time; in the simulated build the
// host's local time when the clock was first read, advanced by the virtual
// time since. Setting the date and time keeps the difference to that clock
// (the platform may refuse to move its own clock), so every later reading
// carries it.
#ifndef UNIT_CLOCK_H
#define UNIT_CLOCK_H

#include <stdint.h>

uint32_t unit_tick_ms();
void unit_sleep_ms(uint32_t ms);

// A local date and time as a file time: 100-nanosecond intervals since
// 1601-01-01 00:00, with no time zone.
uint64_t unit_local_time();
void set_unit_local_time(uint64_t file_time);

struct unitDateTime {
  int year, month, day;  // month 1-12, day 1-31
  int hour, minute, second, milliseconds;
};
// The calendar date and time of a file time (proleptic Gregorian), and back.
unitDateTime date_time_of(uint64_t file_time);
uint64_t file_time_of(const unitDateTime& t);

#endif
