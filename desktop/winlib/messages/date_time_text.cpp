#include "desktop/winlib/messages/date_time_text.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "desktop/winlib/messages/messages.h"

namespace {

// Seconds between 1 January 1601 and 1 January 1970.
constexpr int64_t file_time_epoch_offset = 11644473600LL;
constexpr uint64_t ticks_per_second = 10000000ULL;

bool local_tm(std::time_t t, std::tm& out) {
#if defined(_WIN32)
  return localtime_s(&out, &t) == 0;
#else
  return localtime_r(&t, &out) != nullptr;
#endif
}

bool local_tm_of_file_time(file_time time, std::tm& out) {
  int64_t seconds = static_cast<int64_t>(time / ticks_per_second) - file_time_epoch_offset;
  if (seconds < 0) return false;
  return local_tm(static_cast<std::time_t>(seconds), out);
}

char* empty_text(char* buffer, size_t size) {
  if (buffer && size > 0) buffer[0] = 0;
  return buffer;
}

}  // namespace

local_time_stamp current_local_time() {
  auto now = std::chrono::system_clock::now();
  auto since_epoch = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  std::time_t seconds = static_cast<std::time_t>(since_epoch / 1000);
  std::tm t{};
  if (!local_tm(seconds, t)) return local_time_stamp{1970, 1, 4, 1, 0, 0, 0, 0};
  return local_time_stamp{t.tm_year + 1900, t.tm_mon + 1, t.tm_wday, t.tm_mday,
                          t.tm_hour,        t.tm_min,     t.tm_sec,  static_cast<int>(since_epoch % 1000)};
}

char* file_time_text(file_time time, char* buffer, size_t size) {
  std::tm t{};
  if (!buffer || size == 0) return buffer;
  if (!local_tm_of_file_time(time, t)) return empty_text(buffer, size);
  std::snprintf(buffer, size, "%d/%2.2d/%4d  %d:%2.2d:%2.2d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900,
                t.tm_hour, t.tm_min, t.tm_sec);
  return buffer;
}

char* file_time_text_long(file_time time, char* buffer, size_t size) {
  std::tm t{};
  if (!buffer || size == 0) return buffer;
  if (!local_tm_of_file_time(time, t)) return empty_text(buffer, size);
  std::snprintf(buffer, size, "%2d%s %4d %.2d:%.2d:%.2d", t.tm_mday, month_name(t.tm_mon + 1),
                t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
  return buffer;
}

const char* month_name(int month) {
  static const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (month < 1 || month > 12) return "???";
  return names[month - 1];
}

const char* format_elapsed_time(double seconds, int resolution) {
  static char text[64];
  if (resolution < 1) {
    errormessage("*** format_elapsed_time: RESOLUTION %d IS NOT POSITIVE ***", resolution);
    resolution = 1;
  }
  double steps = 10.0 * resolution;
  double t = std::trunc(seconds * steps) / steps;
  if (!std::isfinite(t) || std::fabs(t) > 86400.0 * 1e9) {
    std::snprintf(text, sizeof text, "??|??:??:??.?");
    return text;
  }
  // One sign in front of the whole time, never one on each field.
  const char* sign = t < 0.0 ? "-" : "";
  t = std::fabs(t);
  int days = static_cast<int>(t / 86400.0);
  t -= days * 86400.0;
  int hours = static_cast<int>(t / 3600.0);
  t -= hours * 3600.0;
  int minutes = static_cast<int>(t / 60.0);
  t -= minutes * 60.0;
  std::snprintf(text, sizeof text, "%s%2.2d|%2.2d:%2.2d:%04.1lf", sign, days, hours, minutes, t);
  return text;
}

double seconds_of_week(const local_time_stamp* reference) {
  local_time_stamp now = current_local_time();
  int days = 0;
  if (reference) {
    days = now.day_of_week - reference->day_of_week;
    if (days < 0) days += 7;
  }
  return days * 86400.0 + now.hour * 3600.0 + now.minute * 60.0 + now.second + now.milliseconds * 0.001;
}

int day_of_year(int year, int month, int day) {
  static const int month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) {
    errormessage("*** day_of_year: MONTH %d OUT OF RANGE ***", month);
    return -1;
  }
  int total = day;
  for (int m = 1; m < month; ++m) total += month_days[m - 1] + (m == 2 && year % 4 == 0 ? 1 : 0);
  return total;
}
