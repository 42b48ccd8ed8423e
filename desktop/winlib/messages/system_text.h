// The system's text for an error code.
#ifndef DESKTOP_WINLIB_MESSAGES_SYSTEM_TEXT_H
#define DESKTOP_WINLIB_MESSAGES_SYSTEM_TEXT_H

#include <cstdint>

// The text of code (0: the thread's last error) with line breaks turned into
// blanks, in one 256-character buffer overwritten by each call.
const char* last_error_text(uint32_t code);

#endif
