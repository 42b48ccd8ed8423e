// The unit's clock: its millisecond tick count, its sleeps, and its own
// reading of the local date and time. On a device this is real time
// (GetTickCount, Sleep, GetLocalTime); in the simulated build it is the
// simulated board's virtual clock, which a sleep advances at once, so long
// waits take no real time and timing is exact.
#ifndef PLATFORM_CE_UNIT_CLOCK_H
#define PLATFORM_CE_UNIT_CLOCK_H

#include <stdint.h>

uint32_t unit_tick_ms();
void unit_sleep_ms(uint32_t ms);
// A timed wait that polls nothing another thread has to answer (a
// protocol's waits, checked in steps for the operator's commands): on a
// device a sleep; in the simulated build the virtual time passes and the
// thread goes on at once, so that a long wait costs no real time per step
// however loaded the machine is.
void unit_wait_ms(uint32_t ms);

// The clock's local date and time as a file time (100-nanosecond intervals
// since 1601, no time zone). In the simulated build: this machine's local
// time when the clock was first read, advanced by the virtual time since,
// so it runs with the tick count. The unit's date and time setting is kept
// as a difference to it (unit_time.h).
uint64_t unit_clock_filetime();

#endif
