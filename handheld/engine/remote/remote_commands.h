// The remote-control line's input side: the echoed line reader and the
// service commands it runs (HELP, BATTERY, SAMPLE, FLASH, SETGPIOBIT,
// READGPIOREG, READ1256REG, SEND5742). Replies are printed on the line with
// remote_printf. Each hardware command holds the converter lock throughout.
#ifndef HANDHELD_ENGINE_REMOTE_REMOTE_COMMANDS_H
#define HANDHELD_ENGINE_REMOTE_REMOTE_COMMANDS_H

#include <stdint.h>

#include "handheld/engine/remote/text_buffer.h"

// Longest line kept; bytes typed beyond it are neither stored nor echoed.
const int REMOTE_LINE_LIMIT = 255;

// The n-th word (from 1) of the line into out: words are runs of characters
// other than the blank, separated by one or more blanks. A missing word is
// empty.
void line_word(int n, const char* line, textBuffer& out);

// Runs one command line. An empty line runs the last non-empty line again.
// The line's first four words are echoed as "\r\n[%s] [%s] [%s] [%s]\r\n";
// the command word is compared without regard to case.
void run_remote_command(const char* line);

// One byte typed on the terminal: a carriage return runs the line (neither
// echoed nor stored); a backspace removes the last character; any other byte
// is added to the line. Every byte but the carriage return is echoed.
void take_remote_byte(uint8_t byte);

// Writes one byte on the line (the echo).
void remote_putc(uint8_t byte);

// Forgets the typed line and the last command line.
void reset_remote_line();

#endif
