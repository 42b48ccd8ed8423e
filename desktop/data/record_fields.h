// Checked reads of the stored test records and sample blocks (the layouts of
// stored_records.h, which the handheld program writes). Every field that
// indexes, sizes or divides goes through here before it is used; the other
// fields are read from the record as they are.
#ifndef DESKTOP_DATA_RECORD_FIELDS_H
#define DESKTOP_DATA_RECORD_FIELDS_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "handheld/engine/storage/stored_records.h"

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

// The time of a block's point i in mS from the flash, with step the block's
// total time over its point count: what a sample's trace holds as x.
inline double block_point_time(int32_t i, double step, const blockFields& fields) {
  return i * step - fields.pretrigger;
}

// raw_to_microvolts over a block's values, value by value the same results:
// a divisor that is a power of two (a single sweep's 1) divides as the
// multiplication by its reciprocal, which is exact.
class microvoltConversion {
 public:
  microvoltConversion(const blockFields& fields, double scale, double offset);
  bool exact_reciprocal() const { return exact_; }
  double by_division(int32_t raw) const { return offset_ + scale_ * (raw / divisor_); }
  double by_reciprocal(int32_t raw) const { return offset_ + scale_ * (raw * reciprocal_); }

 private:
  double divisor_, reciprocal_, scale_, offset_;
  bool exact_;
};

// Calls each(i, microvolts of raw[i]) for i from 0 to n - 1, in a loop
// without a branch, which the compiler vectorises.
template <typename Raw, typename Each>
inline void for_each_microvolts(const Raw* raw, int32_t n, const microvoltConversion& convert, Each each) {
  if (convert.exact_reciprocal()) {
    for (int32_t i = 0; i < n; i++) each(i, convert.by_reciprocal(raw[i]));
  } else {
    for (int32_t i = 0; i < n; i++) each(i, convert.by_division(raw[i]));
  }
}

// A UTF-16 text field of field_units code units as UTF-8 text: up to its
// NUL, the end of the field or max_chars units, whichever comes first.
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
