// How the desktop program reports: errors (counted, logged and shown),
// information, questions and the alert that can end the program.
//
// A format longer than 1000 characters is refused with a message of its own;
// a formatted text that does not fit its buffer is reported first and then
// shown cut. Reports nest through errormessage and end because the nested
// messages are short.
#ifndef DESKTOP_WINLIB_MESSAGES_MESSAGES_H
#define DESKTOP_WINLIB_MESSAGES_MESSAGES_H

#include <cstdint>

#include "desktop/winlib/messages/printf_check.h"

// Longest format accepted, and the longest texts shown.
constexpr int message_format_limit = 1000;
constexpr int message_text_limit = 1023;
constexpr int info_text_limit = 16382;

// Error: counted, shown in "*** ERROR ***" (or on the debug console when one
// is attached) and written to the debug log.
void errormessage(const char* format, ...) ERG_PRINTF(1, 2);
// Information: shown in "info" (or on the debug console); neither counted
// nor logged.
void infomessage(const char* format, ...) ERG_PRINTF(1, 2);
// Each line of the formatted text as its own information message.
void infomessage_lines(const char* format, ...) ERG_PRINTF(1, 2);
// Questions: answer_yes or answer_no (and answer_cancel). A null or empty
// caption gives "YES or NO". Never on the console.
int yesnomessage(const char* caption, const char* format, ...) ERG_PRINTF(2, 3);
int yesnocancelmessage(const char* caption, const char* format, ...) ERG_PRINTF(2, 3);
// Alert: counted; Abort ends the program at once, Retry and Ignore are
// returned; -1 for a format that is too long.
int alertmessage(const char* format, ...) ERG_PRINTF(1, 2);

// Errors met while the program closes its windows: a box belongs to the
// window the person works in, and a box whose owner is destroyed while it is
// up closes unseen (and may take later boxes with it). Inside a
// heldReportsScope an error is counted and logged at once, and its box is
// shown when the outermost scope ends, after the windows are gone, one box
// per error in the order met. Scopes nest.
class heldReportsScope {
 public:
  heldReportsScope();
  ~heldReportsScope();
  heldReportsScope(const heldReportsScope&) = delete;
  heldReportsScope& operator=(const heldReportsScope&) = delete;
};

// The error counter: one for each error and alert shown. The recursive
// folder search also reads it as its stop signal, and a status panel's stop
// button raises it.
uint32_t error_count();
void set_error_count(uint32_t count);

// The developer debug console, when one is attached: errors and information
// go to it instead of a box. Null (the default) means no console.
extern void (*debug_console_output)(const char* text);

#endif
