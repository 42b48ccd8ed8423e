#include "unit_clock.h"

#ifdef UNIT_CLOCK_DEVICE

#include <windows.h>

uint32_t unit_tick_ms() { return GetTickCount(); }

void unit_sleep_ms(uint32_t ms) { Sleep(ms); }

#else

#include <thread>

#include "sim_unit.h"

uint32_t unit_tick_ms() { return sim_tick_ms(); }

// Virtual time passes at once; the thread still yields, as a sleep would,
// so that a thread polling in a sleep loop lets the others run.
void unit_sleep_ms(uint32_t ms) {
  sim_advance_ns(static_cast<uint64_t>(ms) * 1000000u);
  std::this_thread::yield();
}

#endif
