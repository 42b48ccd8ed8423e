#include "desktop/winlib/messages/quiet_report.h"

#include <cstdarg>
#include <string>
#include <unordered_set>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/messages.h"

namespace {

int depth = 0;

// The texts logged so far; forgotten all at once when the set grows large,
// so a long session keeps logging new errors without growing without end.
constexpr size_t remembered_limit = 256;
std::unordered_set<std::string> logged;

}  // namespace

quietReportScope::quietReportScope() { ++depth; }
quietReportScope::~quietReportScope() { --depth; }

bool quiet_reports_active() { return depth > 0; }

void log_quiet_error(const char* text) {
  if (!text) return;
  if (logged.size() >= remembered_limit) logged.clear();
  if (logged.insert(text).second) log_message("%s", text);
}

void report_error(const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  std::vector<char> text(static_cast<size_t>(message_text_limit) + 1, 0);
  format_bounded(text.data(), text.size(), format, args);
  va_end(args);
  errormessage("%s", text.data());
}
