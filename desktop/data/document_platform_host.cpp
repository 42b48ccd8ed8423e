#include "desktop/data/document_platform.h"

#include <ctime>
#include <filesystem>
#include <system_error>

namespace {

constexpr int64_t ticks_per_second = 10000000;
constexpr int64_t seconds_per_day = 86400;
// Days from 1601-01-01 (a Monday) to 1970-01-01.
constexpr int64_t days_1601_to_1970 = 134774;
// The last file time a calendar time holds (14 September 30828).
constexpr uint64_t last_convertible = 0x7FFFFFFFFFFFFFFFull;

uint64_t ticks_of(const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

FILETIME file_time_of(uint64_t ticks) {
  return FILETIME{static_cast<uint32_t>(ticks & 0xFFFFFFFFu), static_cast<uint32_t>(ticks >> 32)};
}

// The host's offset from UTC at a UTC file time, in ticks; 0 when the host
// cannot tell.
int64_t zone_ticks_at(uint64_t ticks) {
  std::time_t seconds =
      static_cast<std::time_t>(static_cast<int64_t>(ticks / ticks_per_second) - days_1601_to_1970 * seconds_per_day);
  std::tm local{};
  if (!localtime_r(&seconds, &local)) return 0;
  return static_cast<int64_t>(local.tm_gmtoff) * ticks_per_second;
}

// The calendar time of a file time; false past the last one it holds.
bool calendar_of(uint64_t ticks, SYSTEMTIME& out) {
  if (ticks > last_convertible) return false;
  int64_t days = static_cast<int64_t>(ticks / (seconds_per_day * ticks_per_second));
  int64_t in_day = static_cast<int64_t>(ticks % (seconds_per_day * ticks_per_second));
  // The civil date of a day count from 1970 (proleptic Gregorian).
  int64_t z = days - days_1601_to_1970 + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t day = doy - (153 * mp + 2) / 5 + 1;
  int64_t month = mp < 10 ? mp + 3 : mp - 9;
  int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  out.wYear = static_cast<uint16_t>(year);
  out.wMonth = static_cast<uint16_t>(month);
  out.wDayOfWeek = static_cast<uint16_t>((days + 1) % 7);
  out.wDay = static_cast<uint16_t>(day);
  out.wHour = static_cast<uint16_t>(in_day / (3600 * ticks_per_second));
  out.wMinute = static_cast<uint16_t>(in_day / (60 * ticks_per_second) % 60);
  out.wSecond = static_cast<uint16_t>(in_day / ticks_per_second % 60);
  out.wMilliseconds = static_cast<uint16_t>(in_day / 10000 % 1000);
  return true;
}

}  // namespace

SYSTEMTIME readable_local_time(const FILETIME& time, bool convert_to_local) {
  // Calendar times hold values below 2^63; anything above is clamped.
  FILETIME t = time;
  if (t.dwHighDateTime > 0x7FFFFFFFu) {
    t.dwHighDateTime = 0x7FFFFFFFu;
    t.dwLowDateTime = 0;
  }
  FILETIME local = t;
  if (convert_to_local) {
    int64_t shifted = static_cast<int64_t>(ticks_of(t)) + zone_ticks_at(ticks_of(t));
    if (shifted >= 0) local = file_time_of(static_cast<uint64_t>(shifted));
  }
  SYSTEMTIME out{};
  // Past the last year a calendar time holds: step back until it converts.
  while (!calendar_of(ticks_of(local), out)) {
    if (local.dwHighDateTime == 0) {
      out = SYSTEMTIME{1601, 1, 1, 1, 0, 0, 0, 0};
      break;
    }
    local.dwHighDateTime >>= 1;
  }
  return out;
}

std::vector<std::string> folder_file_names(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_directory(error)) names.push_back(it->path().filename().string());
  }
  return names;
}
