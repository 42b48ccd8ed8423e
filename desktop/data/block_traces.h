// Blocks of samples as microvolt values and as traces in milliseconds.
//
// For point i of a block of n points over total time T with pre-trigger
// time P and divisor D, and the record's scale s and offset o:
//   microvolts       y_i = o + s * (raw_i / D)
//   trace time       x_i = i * (T / n) - P
//   unshifted time   i * T / n
// The block's header is checked first (record_fields.h): a block refused
// there gives no trace and no values.
#ifndef DESKTOP_DATA_BLOCK_TRACES_H
#define DESKTOP_DATA_BLOCK_TRACES_H

#include <cstdint>
#include <memory>
#include <vector>

#include "desktop/data/bulk_storage.h"
#include "desktop/data/record_fields.h"
#include "handheld/engine/storage/stored_records.h"
#include "desktop/data/trace.h"

double record_scale(const testFileRecord& record);
double record_offset(const testFileRecord& record);

// Of the record's average block (its trace):
// microvolts of point i; 0.0 for a refused block or an index outside it.
double value_at_index(const testFileRecord& record, int32_t i);
// The integer part of n * t / T (0 for a refused block).
int32_t time_to_index(const testFileRecord& record, double t);
// i * T / n (0.0 for a refused block).
double sample_index_to_time(const testFileRecord& record, int32_t i);
// Microvolts at time t (unshifted), interpolated linearly between the two
// points around it.
double value_at_time(const testFileRecord& record, double t);

// A block's checked header and its raw values with the record's scale and
// offset: the source of the points of a trace made from the block. The
// values are held as 16-bit numbers (half the room) when every one of them
// fits, else as stored.
class blockValues : public pointsSource {
 public:
  blockValues(const int32_t* raw, const blockFields& fields, double scale, double offset);

  const blockFields& fields() const { return fields_; }
  int32_t count() const { return fields_.count; }
  // Points [from, from + n): x the trace time, y the microvolts.
  void fill(int32_t from, int32_t n, xyPair* out) const override;
  // Adds the microvolts of points [from, from + n), each divided by
  // divisor, to the y of out.
  void add_values(int32_t from, int32_t n, double divisor, xyPair* out) const;
  // The trace time of point i.
  double time_at(int32_t i) const { return block_point_time(i, step_, fields_); }

 private:
  blockFields fields_;
  double step_;
  microvoltConversion convert_;
  std::vector<int16_t, bulkAllocator<int16_t>> raw16_;
  std::vector<int32_t, bulkAllocator<int32_t>> raw32_;
};

// A new trace of the block's points in "mS" and "uV" with the colour index
// (3 a test's main trace, 5 samples, 0 the last sweep), scaled with the
// record's scale and offset; null for a refused block. The caller owns it.
// It keeps the block's values and makes its points when they are first
// read.
traceClass* make_trace_from_block(const testFileRecord& record, const samplesBlock& block, int32_t colour);
// The same from a block's values (shared with the trace).
traceClass* make_trace_from_values(std::shared_ptr<const blockValues> values, int32_t colour);

#endif
