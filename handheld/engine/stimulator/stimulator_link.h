// The stimulator link "COM2:" (9600 baud): the port, the sender and the
// stimulator lock.
//
// Every command record goes to the stimulator whole, under
// stimulator_lock(): a record written in one send_8051 is covered by that
// call; a record sent in parts (the flash settings: "f", 2 ms, then the 6-byte
// body; the clock: "S", 10 ms, then 8 bytes; the table request: 'l', 0x01,
// 0xF0 one byte at a time) must be sent with the lock held across all its
// parts, so that no other thread's command falls inside it:
//
//   {
//     std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
//     send_8051_byte('f');
//     unit_sleep_ms(2);
//     send_8051(body, 6);
//   }
#ifndef HANDHELD_ENGINE_STIMULATOR_STIMULATOR_LINK_H
#define HANDHELD_ENGINE_STIMULATOR_STIMULATOR_LINK_H

#include <stddef.h>
#include <stdint.h>

#include <mutex>

#include "handheld/engine/stimulator/serial_port.h"

const uint32_t STIMULATOR_BAUD = 9600;

// Records to the stimulator.
const uint8_t COMMAND_VERSION = 'V';          // version request at start-up ('v' from the menu)
const uint8_t TABLE_REQUEST[3] = {'l', 0x01, 0xF0};  // sent a byte at a time
const uint8_t COMMAND_CLOCK_REQUEST = 't';
const uint8_t COMMAND_STORE = 'L';            // index (0 backlight, 1-30 table), 8, 8 bytes
const uint8_t COMMAND_BACKLIGHT = 'B';        // 8 bytes
const uint8_t COMMAND_FLASH = 'f';            // then 6 bytes in a second write
const uint8_t COMMAND_CLOCK = 'S';            // then 8 bytes in a second write
const uint8_t COMMAND_DONE = 'D';
const uint8_t COMMAND_SINE_OFF = 'W';
const uint8_t COMMAND_SINE_REFERENCE = 'R';
const uint8_t COMMAND_SINE_EYE = 'E';
const uint8_t COMMAND_IMPEDANCE_START = 'I';
const uint8_t COMMAND_IMPEDANCE_END = 'O';
const uint8_t COMMAND_EXIT = 'X';
// "TS" calibration started, "TZ" default calibration loaded.

// Opens "COM2:" at 9600 baud and keeps the port (replacing, and closing, one
// opened before). Null when it failed (after the message box); later sends
// then write nothing.
serialPort* open_8051_uart();
// The port kept by open_8051_uart (null when not open).
serialPort* stimulator_port();
// Closes the kept port; the reader thread must be stopped first.
void close_8051_uart();

// Held for each whole command record. Recursive: send_8051 takes it too.
std::recursive_mutex& stimulator_lock();

// Writes n bytes to "COM2:" in one write, then sleeps n milliseconds on the
// unit's clock (about one character time a byte at 9600 baud).
void send_8051(const uint8_t* bytes, size_t n);
void send_8051_byte(uint8_t byte);
// The text's bytes, without its terminator.
void send_8051_string(const char* text);

#endif
