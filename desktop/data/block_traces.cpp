#include "desktop/data/block_traces.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "desktop/winlib/messages/messages.h"
#include "desktop/data/record_fields.h"

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

blockValues::blockValues(const int32_t* raw, const blockFields& fields, double scale, double offset)
    : fields_(fields),
      step_(static_cast<double>(fields.total_time) / fields.count),
      convert_(fields, scale, offset) {
  const bool narrow = std::all_of(raw, raw + fields.count, [](int32_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
  });
  if (narrow) {
    raw16_.assign(raw, raw + fields.count);
  } else {
    raw32_.assign(raw, raw + fields.count);
  }
}

void blockValues::fill(int32_t from, int32_t n, xyPair* out) const {
  auto each = [&](int32_t i, double y) { out[i] = xyPair{block_point_time(from + i, step_, fields_), y}; };
  if (raw32_.empty()) {
    for_each_microvolts(raw16_.data() + from, n, convert_, each);
  } else {
    for_each_microvolts(raw32_.data() + from, n, convert_, each);
  }
}

void blockValues::add_values(int32_t from, int32_t n, double divisor, xyPair* out) const {
  auto each = [&](int32_t i, double y) { out[i].y += y / divisor; };
  if (raw32_.empty()) {
    for_each_microvolts(raw16_.data() + from, n, convert_, each);
  } else {
    for_each_microvolts(raw32_.data() + from, n, convert_, each);
  }
}

traceClass* make_trace_from_block(const testFileRecord& record, const samplesBlock& block, int32_t colour) {
  blockFields fields;
  if (!read_block_fields(block, fields)) return nullptr;
  return make_trace_from_values(
      std::make_shared<const blockValues>(block.Data, fields, record.Config.Scale, record.Config.Offset), colour);
}

traceClass* make_trace_from_values(std::shared_ptr<const blockValues> values, int32_t colour) {
  traceClass* trace = new traceClass;
  trace->color = colour;
  const int32_t n = values->count();
  trace->set_source(std::move(values), n);
  trace->set_x_units("mS");
  trace->set_y_units("uV");
  return trace;
}
