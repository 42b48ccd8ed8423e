// Checked reads of the stored test records and sample blocks (the layouts of
// stored_records.h, which the handheld program writes). Every field that
// indexes, sizes or divides goes through here before it is used; the other
// fields are read from the record as they are.
#ifndef RECORD_FIELDS_H
#define RECORD_FIELDS_H

#include <cstdint>

#include "byte_object.h"
#include "stored_records.h"

// From this program version on (major * 1000 + minor) the record's own test
// time is valid.
constexpr int32_t record_time_version = 3024;

// The usable header of a block of samples.
struct blockFields {
  int32_t count;        // points used: 1 to kSamplesPerBlock
  double divisor;       // sweeps summed: never 0
  uint32_t total_time;  // mS spanned by count points: never 0
  uint32_t pretrigger;  // mS of the flash after the first point: at most total_time
};

// Reads a block's header for use. A point count above kSamplesPerBlock is
// clamped to it, a divisor of 0 (or not a finite number) is taken as 1.0
// and a pre-trigger time beyond the total time as the total time, each with
// a message. A point count below 1 or a total time of 0 refuses the block:
// a message and false.
bool read_block_fields(const samplesBlock& block, blockFields& out);

// Microvolts of a raw value: offset + scale * (raw / divisor).
inline double raw_to_microvolts(int32_t raw, const blockFields& fields, double scale, double offset) {
  return offset + scale * (raw / fields.divisor);
}

// A UTF-16 text field of field_units code units as 8-bit text: up to its
// NUL, the end of the field or max_chars characters, whichever comes first;
// a code above 255 becomes '?'.
void record_text(const char16_t* field, int field_units, int max_chars, byteObjectClass& out);

// The time of the test: the record's own from record_time_version on, else
// the file's time.
fileTime record_test_time(const testFileRecord& record, const fileTime& file_time);

// The recording channel letter of a test file ('A' or 'B'): the character at
// index 11 of the file's name (without its folder); 0 when the name is
// shorter. Names are longer than the unit's 16 characters when they carry a
// test id or "-SLAVE", so the letter is never taken from the end.
char test_channel_letter(const char* path);

#endif
