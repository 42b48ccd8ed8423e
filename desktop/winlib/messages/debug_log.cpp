#include "desktop/winlib/messages/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/messages.h"

namespace {

char name[log_name_size] = "QEVLOG.TXT";
bool enabled = false;
bool first_write = true;
int level = 0;

// The standard 24-character text of a time, with its line feed.
void time_text(char* out, size_t size) {
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::time_t now = std::time(nullptr);
  std::tm t{};
#if defined(_WIN32)
  bool ok = localtime_s(&t, &now) == 0;
#else
  bool ok = localtime_r(&now, &t) != nullptr;
#endif
  if (!ok || t.tm_wday < 0 || t.tm_wday > 6 || t.tm_mon < 0 || t.tm_mon > 11) {
    std::snprintf(out, size, "?\n");
    return;
  }
  std::snprintf(out, size, "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", days[t.tm_wday], months[t.tm_mon], t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec, t.tm_year + 1900);
}

void write_line(const char* format, va_list args) {
  if (!enabled) return;
  std::FILE* file = nullptr;
  if (first_write) {
    file = std::fopen(name, "w");
    if (file) {
      char now[64];
      time_text(now, sizeof now);
      std::fprintf(file, "%s\n", "++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++");
      std::fprintf(file, "-- log start %s\n", now);
      level = 0;
    }
    first_write = false;
  } else {
    file = std::fopen(name, "a");
  }
  if (!file) {
    infomessage("*** UNABLE TO OPEN LOG FILE ***");
    return;
  }
  char line[log_line_limit + 1];
  format_bounded(line, sizeof line, format, args);
  for (int i = 0; i < level; ++i) std::fputs(".  ", file);
  std::fprintf(file, "%s\n", line);
  std::fclose(file);
}

}  // namespace

void log_open(const char* file_name) {
  if (!file_name || std::strlen(file_name) >= sizeof name) {
    errormessage("*** log_open: NO USABLE LOG FILE NAME ***");
    return;
  }
  std::strcpy(name, file_name);
  enabled = true;
  first_write = true;
  level = 0;
}

void log_close() { enabled = false; }
bool log_is_enabled() { return enabled; }
const char* log_file_name() { return name; }

void log_message(const char* format, ...) {
  va_list args;
  va_start(args, format);
  write_line(format, args);
  va_end(args);
}

void log_enter(const char* format, ...) {
  va_list args;
  va_start(args, format);
  write_line(format, args);
  va_end(args);
  if (level < log_level_limit) ++level;
}

void log_leave() {
  if (level > 0) --level;
}

void log_reset_level() { level = 0; }
int log_level() { return level; }
