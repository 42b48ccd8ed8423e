#include "unit_clock.h"

#include <atomic>

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kDaysFrom1601To1970 = 134774;

// Days since 1970-01-01 of a civil date, and back.
int64_t days_from_civil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

// The difference set by set_unit_local_time, in file-time ticks.
std::atomic<int64_t> g_offset{0};

}  // namespace

unitDateTime date_time_of(uint64_t file_time) {
  const int64_t seconds = static_cast<int64_t>(file_time / kTicksPerSecond);
  const int64_t in_day = seconds % 86400;
  unitDateTime t{};
  civil_from_days(seconds / 86400 - kDaysFrom1601To1970, t.year, t.month, t.day);
  t.hour = static_cast<int>(in_day / 3600);
  t.minute = static_cast<int>(in_day / 60 % 60);
  t.second = static_cast<int>(in_day % 60);
  t.milliseconds = static_cast<int>(file_time % kTicksPerSecond / 10000);
  return t;
}

uint64_t file_time_of(const unitDateTime& t) {
  const int64_t days = days_from_civil(t.year, t.month, t.day) + kDaysFrom1601To1970;
  const int64_t seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  if (seconds < 0) return 0;
  return static_cast<uint64_t>(seconds * kTicksPerSecond + static_cast<int64_t>(t.milliseconds) * 10000);
}

#ifdef UNIT_CLOCK_DEVICE

#include <windows.h>

uint32_t unit_tick_ms() { return GetTickCount(); }

void unit_sleep_ms(uint32_t ms) { Sleep(ms); }

namespace {

uint64_t clock_now() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  FILETIME file;
  if (!SystemTimeToFileTime(&local, &file)) return 0;
  return (static_cast<uint64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

}  // namespace

#else

#include <ctime>
#include <thread>

#include "sim_unit.h"

uint32_t unit_tick_ms() { return sim_tick_ms(); }

// Virtual time passes at once; the thread still yields, as a sleep would,
// so that a thread polling in a sleep loop lets the others run.
void unit_sleep_ms(uint32_t ms) {
  sim_advance_ns(static_cast<uint64_t>(ms) * 1000000u);
  std::this_thread::yield();
}

namespace {

// The host's local time at the first reading, and the virtual time then.
struct clockStart {
  uint64_t local;
  uint64_t virtual_ns;
};

clockStart start_now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  const unitDateTime t{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                       local.tm_sec, 0};
  return clockStart{file_time_of(t), sim_now_ns()};
}

uint64_t clock_now() {
  static const clockStart start = start_now();
  return start.local + (sim_now_ns() - start.virtual_ns) / 100u;
}

}  // namespace

#endif

uint64_t unit_local_time() {
  return static_cast<uint64_t>(static_cast<int64_t>(clock_now()) + g_offset.load());
}

void set_unit_local_time(uint64_t file_time) {
  g_offset.store(static_cast<int64_t>(file_time) - static_cast<int64_t>(clock_now()));
}
