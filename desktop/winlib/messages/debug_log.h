// The nested debug log, "QEVLOG.TXT" by default. It stays off until
// log_open is called (nothing in the program does: it is the developer's
// switch). Each line is indented by ".  " per nesting level.
#ifndef DESKTOP_WINLIB_MESSAGES_DEBUG_LOG_H
#define DESKTOP_WINLIB_MESSAGES_DEBUG_LOG_H

#include "desktop/winlib/messages/printf_check.h"

constexpr int log_name_size = 260;
constexpr int log_line_limit = 511;
constexpr int log_level_limit = 20;

// Switches the log on with this file; the first line written starts the file
// anew. A name that does not fit is refused with a message.
void log_open(const char* file_name);
// Switches the log off again.
void log_close();
bool log_is_enabled();
const char* log_file_name();

void log_message(const char* format, ...) ERG_PRINTF(1, 2);
// log_message, then one level deeper (at most log_level_limit).
void log_enter(const char* format, ...) ERG_PRINTF(1, 2);
void log_leave();
void log_reset_level();
int log_level();

#endif
