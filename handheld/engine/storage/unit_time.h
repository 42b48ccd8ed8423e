// The unit's local date and time. The stimulator keeps the clock: at
// start-up its time is taken as the unit's local time, and the date and
// time page sets both. Here the unit keeps an offset from its clock's own
// reading (unit_clock.h: the simulated unit's virtual clock off the device)
// rather than moving the platform's clock; every time the unit shows,
// stores or logs reads it through unit_local_time or unit_time_filetime.
#ifndef HANDHELD_ENGINE_STORAGE_UNIT_TIME_H
#define HANDHELD_ENGINE_STORAGE_UNIT_TIME_H

#include <stdint.h>

#include <atomic>

struct unitTime {
  int year, month, day;
  int hour, minute, second, milliseconds;
  int day_of_week;  // 0 Sunday
};

// Set once the stimulator (or the operator) gave a time.
extern std::atomic<int> clock_set;

// The unit's local time now: its clock's own reading until a time is set.
unitTime unit_local_time();

// Sets the unit's local time to a FILETIME (100 ns since 1601, taken as
// local time) and marks the clock set; 0 marks it unset and goes back to
// the clock's own reading.
void set_unit_time_filetime(uint64_t filetime);
// The unit's local time as a FILETIME.
uint64_t unit_time_filetime();

// Conversions between a FILETIME and the calendar (proleptic Gregorian).
unitTime filetime_to_unit_time(uint64_t filetime);
uint64_t unit_time_to_filetime(const unitTime& time);

// The log's time of day and the test folders' date from now on follow the
// unit's clock.
void use_unit_time_for_log_and_folders();

#endif
