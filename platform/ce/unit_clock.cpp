#include "platform/ce/unit_clock.h"

#ifdef UNIT_CLOCK_DEVICE

#include <windows.h>

uint32_t unit_tick_ms() { return GetTickCount(); }

void unit_sleep_ms(uint32_t ms) { Sleep(ms); }

void unit_wait_ms(uint32_t ms) { Sleep(ms); }

uint64_t unit_clock_filetime() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  FILETIME file;
  if (!SystemTimeToFileTime(&local, &file)) return 0;
  return (static_cast<uint64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

#else

#include <ctime>
#include <thread>

#include "platform/unit/sim_unit.h"

uint32_t unit_tick_ms() { return sim_tick_ms(); }

// Virtual time passes at once; the thread still yields, as a sleep would,
// so that a thread polling in a sleep loop lets the others run.
void unit_sleep_ms(uint32_t ms) {
  sim_advance_ns(static_cast<uint64_t>(ms) * 1000000u);
  std::this_thread::yield();
}

void unit_wait_ms(uint32_t ms) { sim_advance_ns(static_cast<uint64_t>(ms) * 1000000u); }

namespace {

// This machine's local time when the clock was first read, and the virtual
// time then.
struct clockStart {
  uint64_t local;
  uint64_t virtual_ns;
};

clockStart start_now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
#ifdef _WIN32
  localtime_s(&local, &now);
  gmtime_s(&utc, &now);
#else
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
#endif
  local.tm_isdst = 0;
  utc.tm_isdst = 0;
  const long long zone = static_cast<long long>(std::mktime(&local) - std::mktime(&utc));
  const long long seconds_since_1601 = static_cast<long long>(now) + zone + 11644473600LL;
  return clockStart{static_cast<uint64_t>(seconds_since_1601) * 10000000u, sim_now_ns()};
}

}  // namespace

uint64_t unit_clock_filetime() {
  static const clockStart start = start_now();
  return start.local + (sim_now_ns() - start.virtual_ns) / 100u;
}

#endif
