#include "handheld/engine/storage/unit_time.h"

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/storage/test_folders.h"
#include "platform/ce/unit_clock.h"

std::atomic<int> clock_set{0};

namespace {

const int64_t kTicksPerSecond = 10000000;             // FILETIME ticks of 100 ns
const int64_t kDaysFrom1601To1970 = 134774;
const int64_t kSecondsPerDay = 86400;

// Offset of the unit's date and time from its clock's own reading, in ticks.
std::atomic<int64_t> offsetTicks{0};

// Days since 1970-01-01 of a civil date, and back (Howard Hinnant's
// algorithms for the proleptic Gregorian calendar).
int64_t days_from_civil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

logClockTime log_time_from_unit() {
  const unitTime t = unit_local_time();
  return logClockTime{t.hour, t.minute, t.second};
}

folderDate folder_date_from_unit() {
  const unitTime t = unit_local_time();
  return folderDate{t.year, t.month, t.day};
}

}  // namespace

unitTime filetime_to_unit_time(uint64_t filetime) {
  const int64_t ticks = static_cast<int64_t>(filetime);
  const int64_t seconds = ticks / kTicksPerSecond;
  const int64_t days1601 = seconds / kSecondsPerDay;
  const int64_t of_day = seconds % kSecondsPerDay;
  unitTime t{};
  civil_from_days(days1601 - kDaysFrom1601To1970, t.year, t.month, t.day);
  t.hour = static_cast<int>(of_day / 3600);
  t.minute = static_cast<int>(of_day / 60 % 60);
  t.second = static_cast<int>(of_day % 60);
  t.milliseconds = static_cast<int>(ticks % kTicksPerSecond / 10000);
  // 1601-01-01 was a Monday.
  t.day_of_week = static_cast<int>((days1601 + 1) % 7);
  return t;
}

uint64_t unit_time_to_filetime(const unitTime& t) {
  const int64_t days = days_from_civil(t.year, t.month, t.day) + kDaysFrom1601To1970;
  const int64_t seconds = days * kSecondsPerDay + t.hour * 3600 + t.minute * 60 + t.second;
  const int64_t ticks = seconds * kTicksPerSecond + static_cast<int64_t>(t.milliseconds) * 10000;
  return ticks > 0 ? static_cast<uint64_t>(ticks) : 0;
}

unitTime unit_local_time() { return filetime_to_unit_time(unit_time_filetime()); }

uint64_t unit_time_filetime() {
  return static_cast<uint64_t>(static_cast<int64_t>(unit_clock_filetime()) + offsetTicks.load());
}

void set_unit_time_filetime(uint64_t filetime) {
  if (filetime == 0) {
    offsetTicks = 0;
    clock_set = 0;
    return;
  }
  offsetTicks = static_cast<int64_t>(filetime) - static_cast<int64_t>(unit_clock_filetime());
  clock_set = 1;
}

void use_unit_time_for_log_and_folders() {
  set_local_time_source(log_time_from_unit);
  set_folder_date_source(folder_date_from_unit);
}
