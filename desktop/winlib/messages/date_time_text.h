// Date and time texts.
#ifndef DESKTOP_WINLIB_MESSAGES_DATE_TIME_TEXT_H
#define DESKTOP_WINLIB_MESSAGES_DATE_TIME_TEXT_H

#include <cstddef>
#include <cstdint>

// A local date and time, with the day of the week (0 Sunday) and the
// milliseconds.
struct local_time_stamp {
  int year;
  int month;  // 1..12
  int day_of_week;
  int day;
  int hour;
  int minute;
  int second;
  int milliseconds;
};

local_time_stamp current_local_time();

// A file time: 100-nanosecond intervals since 1 January 1601 (UTC), as the
// file system keeps it.
using file_time = uint64_t;

// "%d/%2.2d/%4d  %d:%2.2d:%2.2d" (month, day, year, hour, minute, second) of
// the file time in local time. Returns the buffer; a time that cannot be
// converted gives an empty text.
char* file_time_text(file_time time, char* buffer, size_t size);
// "%2d%s %4d %0.2d:%0.2d:%0.2d" (day, month name, year, hour, minute,
// second), likewise.
char* file_time_text_long(file_time time, char* buffer, size_t size);

// "Jan" .. "Dec" for 1..12, "???" otherwise.
const char* month_name(int month);

// Days, hours, minutes and seconds (truncated to tenths of the resolution)
// as "%2.2d|%02.2d:%02.2d:%04.1lf", a negative time with one "-" in front
// ("-00|00:02:41.1"), in one buffer overwritten by each call.
const char* format_elapsed_time(double seconds, int resolution);

// The current local time in seconds since midnight, plus whole days since
// the reference's day of the week (none: 0).
double seconds_of_week(const local_time_stamp* reference);

// Day of the year of a date; every fourth year is a leap year.
int day_of_year(int year, int month, int day);

#endif
