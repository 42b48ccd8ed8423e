// The unit's clock: its millisecond tick count and its sleeps. On a device
// this is real time (GetTickCount, Sleep); in the simulated build it is the
// simulated board's virtual clock, which a sleep advances at once, so long
// waits take no real time and timing is exact.
#ifndef UNIT_CLOCK_H
#define UNIT_CLOCK_H

#include <stdint.h>

uint32_t unit_tick_ms();
void unit_sleep_ms(uint32_t ms);

#endif
