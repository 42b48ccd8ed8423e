#include "desktop/winlib/messages/messages.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/quiet_report.h"

void (*debug_console_output)(const char* text) = nullptr;

namespace {

uint32_t errors = 0;

// The open heldReportsScopes and the error texts they hold back.
int held_depth = 0;
std::vector<std::string> held_texts;

bool format_too_long(const char* format) {
  return std::strlen(format) > static_cast<size_t>(message_format_limit);
}

// Formats into text (limit characters and the terminator); a longer result
// is reported through errormessage with overrun_message and kept cut.
void format_message(std::vector<char>& text, int limit, const char* overrun_message, const char* format,
                    va_list args) {
  text.assign(static_cast<size_t>(limit) + 1, 0);
  int n = format_bounded(text.data(), text.size(), format, args);
  if (n > limit) errormessage("%s", overrun_message);
}

const char* question_caption(const char* caption) { return caption && *caption ? caption : "YES or NO"; }

}  // namespace

uint32_t error_count() { return errors; }
void set_error_count(uint32_t count) { errors = count; }

void errormessage(const char* format, ...) {
  if (!format) return;
  if (format_too_long(format)) {
    errormessage("*** ERROR MESSAGE IS TOO LONG ***");
    return;
  }
  std::vector<char> text;
  va_list args;
  va_start(args, format);
  format_message(text, message_text_limit, "*** errormessage: BUFFER OVERRUN ***", format, args);
  va_end(args);
  // While a window paints or a value change propagates, a box would cover the
  // window, which repaints and meets the same error again: log it once.
  if (quiet_reports_active()) {
    log_quiet_error(text.data());
    return;
  }
  ++errors;
  if (debug_console_output) {
    debug_console_output(text.data());
  } else if (held_depth > 0) {
    held_texts.emplace_back(text.data());
  } else {
    show_message_box(text.data(), "*** ERROR ***", box_ok | box_topmost);
  }
  log_message("%s", text.data());
}

heldReportsScope::heldReportsScope() { ++held_depth; }

heldReportsScope::~heldReportsScope() {
  if (--held_depth > 0) return;
  std::vector<std::string> texts = std::move(held_texts);
  held_texts.clear();
  for (const std::string& text : texts) show_message_box(text.c_str(), "*** ERROR ***", box_ok | box_topmost);
}

void infomessage(const char* format, ...) {
  if (!format) return;
  if (format_too_long(format)) {
    errormessage("*** MESSAGE IS TOO LONG [%.20s...] ***", format);
    return;
  }
  std::vector<char> text;
  va_list args;
  va_start(args, format);
  format_message(text, info_text_limit, "*** infomessage: BUFFER OVERRUN ***", format, args);
  va_end(args);
  if (debug_console_output) {
    debug_console_output(text.data());
  } else {
    show_message_box(text.data(), "info", box_ok | box_topmost);
  }
}

void infomessage_lines(const char* format, ...) {
  if (!format) return;
  std::vector<char> text;
  va_list args;
  va_start(args, format);
  format_message(text, message_text_limit, "*** errormessage: BUFFER OVERRUN ***", format, args);
  va_end(args);
  std::vector<char> line;
  for (const char* p = text.data(); *p;) {
    line.clear();
    while (*p && *p != '\n') {
      if (*p != '\r') line.push_back(*p);
      ++p;
    }
    if (*p == '\n') ++p;
    line.push_back(0);
    infomessage("%s", line.data());
  }
}

int yesnomessage(const char* caption, const char* format, ...) {
  std::vector<char> text;
  va_list args;
  va_start(args, format);
  format_message(text, message_text_limit, "*** yesnomessage: BUFFER OVERRUN ***", format ? format : "", args);
  va_end(args);
  return show_message_box(text.data(), question_caption(caption), box_yes_no | box_topmost);
}

int yesnocancelmessage(const char* caption, const char* format, ...) {
  std::vector<char> text;
  va_list args;
  va_start(args, format);
  format_message(text, message_text_limit, "*** yesnocancelmessage: BUFFER OVERRUN ***", format ? format : "",
                 args);
  va_end(args);
  return show_message_box(text.data(), question_caption(caption), box_yes_no_cancel | box_topmost);
}

int alertmessage(const char* format, ...) {
  if (!format) return -1;
  if (format_too_long(format)) {
    errormessage("*** ALERT MESSAGE IS TOO LONG ***");
    return -1;
  }
  ++errors;
  std::vector<char> text;
  va_list args;
  va_start(args, format);
  format_message(text, message_text_limit, "*** errormessage: BUFFER OVERRUN ***", format, args);
  va_end(args);
  int answer =
      show_message_box(text.data(), "!!! ALERT !!!", box_abort_retry_ignore | box_icon_question | box_task_modal);
  if (answer == answer_abort) std::exit(EXIT_FAILURE);
  return answer;
}
