// The unit's calibration: 30 doubles, entries 0 to 29 (1 to 30 on the
// stimulator link). The stimulator keeps the master copy; the unit receives
// it at start-up and sends back every entry that changes.
//
//   0, 1    flash line slope and intercept (both domes; the fallback of the
//           flash quadratics)
//   2, 3    dome 1 background slope and intercept
//   4, 5    channel A eye electrode impedance slope and intercept
//   6, 7    channel A data scale and offset
//   8, 9    channel B data scale and offset
//   10-15   impedance lines: channel A reference, channel B eye, channel B
//           reference
//   16-18   carried, not interpreted
//   19      the packed unit serial number
//   20, 21  carried, not interpreted
//   22-24   dome 1 flash quadratic C0, C1, C2
//   25-27   dome 2 flash quadratic C0, C1, C2
//   28, 29  dome 2 background slope and intercept
//
// Entries are atomic: the user-interface thread changes them while the test
// and electrode threads read them.
#ifndef HANDHELD_ENGINE_ACQUISITION_CALIBRATION_TABLE_H
#define HANDHELD_ENGINE_ACQUISITION_CALIBRATION_TABLE_H

#include <stddef.h>
#include <stdint.h>

#include <atomic>
#include <string>

const int CALIBRATION_ENTRIES = 30;

extern std::atomic<double> calibration_table[CALIBRATION_ENTRIES];

// Set when the table came from the stimulator.
extern std::atomic<int> calibration_received;

// Entries by dome (0 or 1); the link index of an entry is entry + 1.
int flash_quadratic_entry(int dome, int term);  // term 0 = C0, 1 = C1, 2 = C2
int background_slope_entry(int dome);
int background_intercept_entry(int dome);
const int UNIT_SERIAL_ENTRY = 19;

// The table before the stimulator's copy arrives: 0.0 everywhere but the
// impedance lines of entries 10 to 15 (slopes 14.90119, intercepts
// -200.2468).
void reset_calibration_table();

// Sends one entry to the stimulator: 'L', link index, 8, and the double's 8
// bytes, little-endian, in one write; then 50 ms.
void send_calibration_constant(int link_index, double value);
// Entries 0 to 29 with link indices 1 to 30, in that order.
void send_calibration_table();
// The defaults (entries 16 to 21, the serial number among them, untouched),
// then the whole table sent.
void load_default_calibration();

// The stimulator's last complete message, taken as its calibration table
// (message 'l', 240 bytes) at start-up.
enum calibrationReply {
  CALIBRATION_TAKEN,     // copied into the table, serial number rebuilt, 't' sent
  CALIBRATION_DEFAULTS,  // the stimulator holds none: defaults loaded and sent back
  CALIBRATION_REFUSED,   // not an 'l' of 240 bytes: logged, the table kept
};
calibrationReply take_calibration_message();

// ---- The unit's serial number, packed into entry 19 ----
// The entry alphabet "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ?": the index of
// a character, 10 (the blank) for any other character.
int entry_char_index(char c);
// Entry 19 as text: 7 characters and a NUL (the seventh is NUL when the
// entry holds none).
void unit_serial_from_table(char out[8]);
// Packs the first seven characters of text (shorter texts end in blanks)
// into entry 19; a seventh character that is NUL or a blank is stored as
// none.
void unit_serial_to_table(const char* text);

// The unit's serial number text: it names the calibration file and fills
// each test record's unit id. Empty until the table arrives or it is set.
std::string unit_serial();
void set_unit_serial(const char* text);

// The serial number page's entry: the seven typed characters must be digits
// or blanks; they are then packed into entry 19, sent with link index 20 and
// kept as the serial number. Otherwise the message "*** SERIAL NUMBER DIGITS
// ***" is shown and nothing changes. True when stored.
bool store_unit_serial(const char typed[7]);

#endif
