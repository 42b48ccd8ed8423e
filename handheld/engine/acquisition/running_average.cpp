#include "handheld/engine/acquisition/running_average.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"

namespace {

int32_t saturate(int64_t v) {
  const int64_t lo = std::numeric_limits<int32_t>::min();
  const int64_t hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::min(std::max(v, lo), hi));
}

// The sweep's value at fractional position p (p >= 0), reading only indices
// below its point count (and inside the block).
int32_t resampled(const samplesBlock& sweep, double p) {
  const int last = std::min<int>(sweep.PointCount, kSamplesPerBlock) - 1;
  const double lo = std::floor(p);
  const double hi = std::ceil(p);
  if (hi > last) return sweep.Data[last];
  const int i = static_cast<int>(lo);
  if (lo == hi) return sweep.Data[i];
  const int j = static_cast<int>(hi);
  const double v =
      sweep.Data[i] + (static_cast<double>(sweep.Data[j]) - sweep.Data[i]) * (p - lo);
  return static_cast<int32_t>(v);  // |v| lies between two int32 values
}

}  // namespace

void add_to_average_sample(testFileRecord& record, const samplesBlock* sweep, int add) {
  const samplesBlock& in = sweep != nullptr ? *sweep : record.LastSweep;
  samplesBlock& avg = record.Average;
  if (in.PointCount < 2) {
    log_error_line("add_to_average_sample : newdata->PointCount < 2");
    return;
  }
  if (avg.PointCount < 2) {
    log_error_line("add_to_average_sample : Average.PointCount < 2");
    return;
  }
  if (avg.Divisor == 0.0) {
    const int count = std::min<int>(in.PointCount, kSamplesPerBlock);
    avg.PointCount = in.PointCount;
    avg.CollectionTime = in.CollectionTime;
    avg.Time = in.Time;
    if (&avg != &in) std::memmove(avg.Data, in.Data, sizeof(int32_t) * count);
    avg.Divisor = 1.0;
    return;
  }
  const double dn = static_cast<double>(in.Time) / (in.PointCount - 1);
  const double da = static_cast<double>(avg.Time) / (avg.PointCount - 1);
  const double ratio = da / dn;
  if (!(ratio > 0.0) || !std::isfinite(ratio)) {
    log_error_line("add_to_average_sample : Time IS ZERO");
    return;
  }
  const bool adding = add == 1;
  if (adding) {
    avg.Data[0] = saturate(static_cast<int64_t>(avg.Data[0]) + in.Data[0]);
    avg.Divisor += 1.0;
  } else {
    if (avg.Divisor <= 0.0) {
      engine_show_message(4, "### Removal when Divisor is zero ###");
      return;
    }
    avg.Data[0] = saturate(static_cast<int64_t>(avg.Data[0]) - in.Data[0]);
    avg.Divisor -= 1.0;
  }
  // Every point of the average takes one value of every sweep: a sweep that
  // ends a point early (collections are timed, so their point counts differ
  // by one) gives its last point, rather than leaving the average's last
  // points with fewer sweeps than its divisor counts.
  const int n = std::min<int>(avg.PointCount, kSamplesPerBlock);
  for (int i = 1; i < n; ++i) {
    const int32_t v = resampled(in, i * ratio);
    const int64_t sum = adding ? static_cast<int64_t>(avg.Data[i]) + v
                               : static_cast<int64_t>(avg.Data[i]) - v;
    avg.Data[i] = saturate(sum);
  }
}
