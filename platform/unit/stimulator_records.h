// Byte layouts of the stimulator link as the stimulator reads and writes
// them, and its power-on calibration table.
#ifndef PLATFORM_UNIT_STIMULATOR_RECORDS_H
#define PLATFORM_UNIT_STIMULATOR_RECORDS_H

#include <stdint.h>

namespace simunit {

// The unit's default calibration, with the serial number "1234567" packed
// into entry 19 (entries 16 to 21 are the stimulator's own; 30 entries).
void power_on_calibration_table(double* entries);

// A double as 8 bytes, little-endian (the table's layout on the link).
void put_double_le(double value, uint8_t* bytes);
double get_double_le(const uint8_t* bytes);
// A 64-bit value (the clock's FILETIME) as 8 bytes, most significant first.
void put_u64_be(uint64_t value, uint8_t* bytes);
uint64_t get_u64_be(const uint8_t* bytes);

// One backlight count from its 4 bytes: the 16-bit words 0xC000 + v and
// 0x10000 - v, high byte first. False when the two words disagree.
bool decode_backlight_count(const uint8_t* bytes, uint32_t* count);
void encode_backlight_count(uint32_t count, uint8_t* bytes);

// The flicker period in microseconds that flash word D, prescaler p and
// count stand for: (p x count + D - 1560) / 5; 0 for single flashes (see
// sim_unit.h) and for p 0.
double decode_flicker_period_us(uint32_t flash_word, uint32_t prescaler, uint32_t count);

}  // namespace simunit

#endif
