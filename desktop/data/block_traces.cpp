#include "block_traces.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "messages.h"
#include "record_fields.h"

double record_scale(const testFileRecord& record) { return record.Config.Scale; }

double record_offset(const testFileRecord& record) { return record.Config.Offset; }

double value_at_index(const testFileRecord& record, int32_t i) {
  blockFields fields;
  if (!read_block_fields(record.Average, fields)) return 0.0;
  if (i < 0 || i >= fields.count) {
    errormessage("### value_at_index - INDEX %d OUTSIDE %d POINTS ###", static_cast<int>(i),
                 static_cast<int>(fields.count));
    return 0.0;
  }
  return raw_to_microvolts(record.Average.Data[i], fields, record.Config.Scale, record.Config.Offset);
}

int32_t time_to_index(const testFileRecord& record, double t) {
  blockFields fields;
  if (!read_block_fields(record.Average, fields)) return 0;
  double index = std::trunc(fields.count * t / fields.total_time);
  if (!(index > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (index > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(index);
}

double sample_index_to_time(const testFileRecord& record, int32_t i) {
  blockFields fields;
  if (!read_block_fields(record.Average, fields)) return 0.0;
  return static_cast<double>(i) * fields.total_time / fields.count;
}

double value_at_time(const testFileRecord& record, double t) {
  blockFields fields;
  if (!read_block_fields(record.Average, fields)) return 0.0;
  double p = fields.count * t / fields.total_time;
  double low = std::floor(p);
  double high = std::ceil(p);
  if (!(low >= 0.0 && high < fields.count)) {
    errormessage("### value_at_time - TIME %lg OUTSIDE THE BLOCK ###", t);
    return 0.0;
  }
  double v_low = value_at_index(record, static_cast<int32_t>(low));
  if (low == high) return v_low;
  double v_high = value_at_index(record, static_cast<int32_t>(high));
  return v_low + (v_high - v_low) * (p - low);
}

traceClass* make_trace_from_block(const testFileRecord& record, const samplesBlock& block, int32_t colour) {
  blockFields fields;
  if (!read_block_fields(block, fields)) return nullptr;
  return make_trace_from_values(block.Data, fields, record.Config.Scale, record.Config.Offset, colour);
}

namespace {

template <typename Value>
traceClass* trace_from_values(const Value* raw, const blockFields& fields, double scale, double offset,
                              int32_t colour) {
  double step = static_cast<double>(fields.total_time) / fields.count;
  xyPair* pairs = new_points(fields.count);
  for_each_microvolts(raw, fields.count, microvoltConversion(fields, scale, offset), [&](int32_t i, double y) {
    pairs[i].x = block_point_time(i, step, fields);
    pairs[i].y = y;
  });
  traceClass* trace = new traceClass;
  trace->color = colour;
  trace->adopt_xy_pairs(pairs, fields.count);
  trace->set_x_units("mS");
  trace->set_y_units("uV");
  return trace;
}

}  // namespace

traceClass* make_trace_from_values(const int32_t* raw, const blockFields& fields, double scale, double offset,
                                   int32_t colour) {
  return trace_from_values(raw, fields, scale, offset, colour);
}

traceClass* make_trace_from_values(const int16_t* raw, const blockFields& fields, double scale, double offset,
                                   int32_t colour) {
  return trace_from_values(raw, fields, scale, offset, colour);
}
