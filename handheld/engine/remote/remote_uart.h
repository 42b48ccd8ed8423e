// The remote-control line's port, "COM3:" at 115200 baud. Once it is open
// every diagnostic written with remote_printf goes to it, each write
// followed by a pause of about its time on the wire (n / 11 ms, at least 1).
#ifndef HANDHELD_ENGINE_REMOTE_REMOTE_UART_H
#define HANDHELD_ENGINE_REMOTE_REMOTE_UART_H

#include "handheld/engine/stimulator/serial_port.h"

const uint32_t REMOTE_BAUD = 115200;

// Opens "COM3:" and makes it the line's writer (replacing, and closing, a
// port opened before). Null when it failed; writes then go nowhere.
serialPort* open_remote_uart();
// The line's writer removed and the port closed; the reader must be stopped
// first.
void close_remote_uart();

// The reader thread's body: reads the port a byte at a time and hands each
// to take_remote_byte. Returns when the port's reads are cancelled
// (stop_remote_line_reader) or no port is open; after a failed read it
// waits a little before reading again.
void remote_line_reader();
// Makes a running remote_line_reader return.
void stop_remote_line_reader();

#endif
