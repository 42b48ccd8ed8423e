#include "platform/unit/stimulator_records.h"

#include <string.h>

namespace simunit {

namespace {

// Entries the unit's defaults leave alone hold the stimulator's own values.
const double kPowerOnTable[30] = {
    4.8e-05, -0.06,   5e-05,   0.8,     15.25, -90.0, 0.00045, -1930.0, 0.00045, -1930.0,
    15.25,   -90.0,   15.25,   -90.0,   15.25, -90.0, 0.0,     0.0,     0.0,     0.0,
    0.0,     0.0,     0.09,    4.2e-05, 1.9e-10, 0.09, 4.2e-05, 1.9e-10, 5e-05,  0.8,
};
const int kSerialEntry = 19;
// "1234567": indices of characters 1 to 6, a 0, then 100 + index of character 7.
const uint8_t kPackedSerial[8] = {1, 2, 3, 4, 5, 6, 0, 107};

// Flash timer ticks are 0.2 us; the flicker count leaves out this many.
const int32_t kFlickerBase = 1560;

}  // namespace

void power_on_calibration_table(double* entries) {
  for (int i = 0; i < 30; ++i) entries[i] = kPowerOnTable[i];
  memcpy(&entries[kSerialEntry], kPackedSerial, sizeof kPackedSerial);
}

void put_double_le(double value, uint8_t* bytes) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

double get_double_le(const uint8_t* bytes) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  double value;
  memcpy(&value, &bits, sizeof value);
  return value;
}

void put_u64_be(uint64_t value, uint8_t* bytes) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * (7 - i)));
}

uint64_t get_u64_be(const uint8_t* bytes) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | bytes[i];
  return value;
}

bool decode_backlight_count(const uint8_t* bytes, uint32_t* count) {
  uint32_t first = (static_cast<uint32_t>(bytes[0]) << 8) | bytes[1];
  uint32_t second = (static_cast<uint32_t>(bytes[2]) << 8) | bytes[3];
  uint32_t v = (first - 0xC000u) & 0xFFFFu;
  if (((0x10000u - v) & 0xFFFFu) != second) return false;
  *count = v;
  return true;
}

void encode_backlight_count(uint32_t count, uint8_t* bytes) {
  uint32_t first = (0xC000u + count) & 0xFFFFu;
  uint32_t second = (0x10000u - count) & 0xFFFFu;
  bytes[0] = static_cast<uint8_t>(first >> 8);
  bytes[1] = static_cast<uint8_t>(first);
  bytes[2] = static_cast<uint8_t>(second >> 8);
  bytes[3] = static_cast<uint8_t>(second);
}

double decode_flicker_period_us(uint32_t flash_word, uint32_t prescaler, uint32_t count) {
  if (prescaler == 0) return 0.0;
  int64_t base = static_cast<int64_t>(flash_word) - kFlickerBase;
  // A period of 0 is sent as count = -base, which wraps in 16 bits.
  if (prescaler == 1 && ((static_cast<int64_t>(count) + base) & 0xFFFF) == 0) return 0.0;
  int64_t ticks = static_cast<int64_t>(prescaler) * count + base;
  return ticks > 0 ? static_cast<double>(ticks) / 5.0 : 0.0;
}

}  // namespace simunit
