// Formatted text: lengths, the fmt ring, bounded formatting into a caller's
// buffer, heap copies of texts.
//
// Every length here is the real length of the formatted text, also where the
// platform's own formatting reports truncation as -1.
#ifndef DESKTOP_WINLIB_MESSAGES_FMT_H
#define DESKTOP_WINLIB_MESSAGES_FMT_H

#include <cstdarg>
#include <cstddef>

#include "desktop/winlib/messages/printf_check.h"

// Length of the formatted text; -1 with "### text_length: invalid
// arguments ###" when the format cannot be formatted. The argument list is
// not consumed (it is copied).
int text_length(const char* format, va_list args);

// Formats into buffer (size bytes, always terminated when size > 0, cut when
// it does not fit) and returns the real length of the whole text, or -1
// when the format cannot be formatted. Reports nothing.
int format_bounded(char* buffer, size_t size, const char* format, va_list args);

// A heap text kept in a ring of 15: it stays valid through 14 further calls
// and is never freed by the caller. Never null: an empty text, after the
// message "*** fmt: ZERO LENGTH TEXT ***",
// when the format cannot be formatted.
const char* fmt(const char* format, ...) ERG_PRINTF(1, 2);

// Formats into buffer when the whole text fits and returns its length; else
// reports "### text_format : insufficient buffer size (%d) need %d ###",
// writes nothing and returns -1.
int text_format(char* buffer, int size, const char* format, ...) ERG_PRINTF(3, 4);

// A heap copy of text and its length (null gives null and 0); free_text
// releases it (null is allowed).
char* duplicate_text(int* length, const char* text);
void free_text(char* text);

#endif
