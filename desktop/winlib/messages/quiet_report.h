// Errors met while a change travels through the value objects or while a
// text object paints. A message box in the middle of that work covers the
// window, which repaints, meets the same error and opens the box again. So
// inside a quietReportScope each such error text is written to the debug log
// once and shown to nobody; outside any scope report_error is errormessage.
#ifndef DESKTOP_WINLIB_MESSAGES_QUIET_REPORT_H
#define DESKTOP_WINLIB_MESSAGES_QUIET_REPORT_H

#include "desktop/winlib/messages/printf_check.h"

// Marks the work in which errors are logged, not shown. Scopes nest.
class quietReportScope {
 public:
  quietReportScope();
  ~quietReportScope();
  quietReportScope(const quietReportScope&) = delete;
  quietReportScope& operator=(const quietReportScope&) = delete;
};

bool quiet_reports_active();

// Inside a scope: writes an error text to the debug log the first time it is
// met; errormessage calls it in place of showing a box.
void log_quiet_error(const char* text);

// The same as errormessage, which itself honours the scope: outside a scope
// the text is shown; inside one it is logged the first time it is met (later
// copies of the same text are dropped) and the error counter is left alone.
void report_error(const char* format, ...) ERG_PRINTF(1, 2);

#endif
