// Blocks of samples as microvolt values and as traces in milliseconds.
//
// For point i of a block of n points over total time T with pre-trigger
// time P and divisor D, and the record's scale s and offset o:
//   microvolts       y_i = o + s * (raw_i / D)
//   trace time       x_i = i * (T / n) - P
//   unshifted time   i * T / n
// The block's header is checked first (record_fields.h): a block refused
// there gives no trace and no values.
#ifndef BLOCK_TRACES_H
#define BLOCK_TRACES_H

#include <cstdint>

#include "record_fields.h"
#include "stored_records.h"
#include "trace.h"

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

// A new trace of the block's points in "mS" and "uV" with the colour index
// (3 a test's main trace, 5 samples, 0 the last sweep), scaled with the
// record's scale and offset; null for a refused block. The caller owns it.
traceClass* make_trace_from_block(const testFileRecord& record, const samplesBlock& block, int32_t colour);
// The same from a block's checked header and its fields.count raw values.
traceClass* make_trace_from_values(const int32_t* raw, const blockFields& fields, double scale, double offset,
                                   int32_t colour);
// The same from values held as 16-bit numbers.
traceClass* make_trace_from_values(const int16_t* raw, const blockFields& fields, double scale, double offset,
                                   int32_t colour);

#endif
