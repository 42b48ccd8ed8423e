// The stimulator reader thread: reads "COM2:" a byte at a time and posts
// each byte to the main dialog (WM_USER, NOTICE_STIMULATOR_BYTE, byte), except a key byte '1' to
// '4' whose key is disabled while no message is being received: neither by
// the main dialog's message mode nor by the reader's own count of the
// message's bytes from its 'U' and length byte. That count lasts no longer
// than the message's time-out (length x 50 ms) and a margin for the main
// dialog to catch up: a message that stops short does not hold the filter
// off.
#ifndef HANDHELD_ENGINE_STIMULATOR_STIMULATOR_READER_H
#define HANDHELD_ENGINE_STIMULATOR_STIMULATOR_READER_H

#include <stdint.h>

#include <atomic>

#include "handheld/engine/stimulator/serial_port.h"

// After a failed (or empty) read the reader waits this long, in real time,
// before reading again.
const int STIMULATOR_READ_BACKOFF_MS = 20;
// The margin after a message's time-out by which the reader's own count of
// its bytes ends.
const int STIMULATOR_EXTENT_MARGIN_MS = 500;

// The key filter, set by the menu layer while a soft button is disabled.
// key: 1 to 4 (others are ignored; a key out of range reads as enabled).
void set_stimulator_key_disabled(int key, bool disabled);
bool stimulator_key_disabled(int key);

// The thread body: reads port until stop is set (and the read in progress is
// cancelled, see stop_stimulator_reader).
void stimulator_reader(serialPort* port, const std::atomic<bool>& stop);

// Starts the reader on the port open_8051_uart kept. False, and no thread,
// when that port is not open or a reader already runs.
bool start_stimulator_reader();
// Stops the reader: ends its read in progress and waits for the thread, at
// most 5 s. True when it has stopped (or none ran); false when its read
// would not end: the thread is left running (logged), and its port must
// then stay open.
bool stop_stimulator_reader();
bool stimulator_reader_running();

#endif
