// The operator message's text: the one message buffer, the history of the
// last messages, the layout of the next message dialog, and the echo, error
// flag and log entry of a shown message. Safe to call from any thread.
#ifndef HANDHELD_UI_MESSAGE_TEXT_H
#define HANDHELD_UI_MESSAGE_TEXT_H

#include <stdarg.h>
#include <stddef.h>

#if defined(__GNUC__)
#define MESSAGE_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define MESSAGE_FORMAT(f, a)
#endif

// Message kinds: also the colour index of the dialog's background.
const int MESSAGE_ERROR = 0;      // red; raises the error flag
const int MESSAGE_WARNING = 1;    // yellow
const int MESSAGE_NOTICE = 2;     // green; not logged
const int MESSAGE_INTERNAL = 4;   // magenta; raises the error flag

const size_t MESSAGE_TEXT_CAPACITY = 512;  // characters, terminator included
const int MESSAGE_HISTORY_SLOTS = 10;
const size_t MESSAGE_HISTORY_LENGTH = 128;  // characters a slot keeps, terminator included

// The control of the message dialogs that shows the text.
const int MESSAGE_TEXT_CONTROL = 1093;

// Formats into the message buffer and does nothing else. The format is a
// narrow printf format (%s narrow text, %ls wide text), widened and formatted
// into the buffer, cut at its capacity. A null format leaves the buffer as
// it is.
void format_message_text(const char* format, ...) MESSAGE_FORMAT(1, 2);

// What show_message does before it asks for the message page: with a
// format, formats into the buffer, echoes "[text]\r\n" on the remote-control
// line and keeps the text in the history (at most 127 characters; with ten
// slots held each further message replaces the tenth); then sets the layout
// (kind, centred, text into control 1093) and logs the message
// (log_shown_message). A null format shows the buffer's text again.
void present_message(int kind, const char* format, va_list args);

// On closing a message dialog: with a message in the history, takes the
// newest slot back into the buffer and returns 1; 0 when it is empty.
int pop_message_history();

// Kinds 0 and 4 raise the program's error flag; every kind but 2 writes the
// buffer's text to the log.
void log_shown_message(int kind);

// Layout of the next message dialog. Position: 1 centred at the top, 2
// lowered, anything else centred. Control -1: the text goes nowhere.
struct messageLayout {
  int kind;
  int position;
  int control;
};
void set_message_layout(int kind, int position, int control);
messageLayout message_layout();

// Copies of the buffer and of the history (always terminated; the result is
// cut to fit).
void copy_message_text(wchar_t* out, size_t capacity);
int message_history_count();
void copy_message_history(int slot, wchar_t* out, size_t capacity);

#endif
