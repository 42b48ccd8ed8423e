#include "handheld/engine/acquisition/sample_statistics.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "handheld/engine/log/engine_log.h"

namespace {

// Keep the two uV reports from repeating until a good read.
std::atomic<bool> g_divisor_reported{false};
std::atomic<bool> g_time_reported{false};

// Points the block can hold for a given point count.
int held_points(const samplesBlock& block) {
  return std::min<int>(block.PointCount, kSamplesPerBlock);
}

// Half the point spacing: the step of the window statistics.
double half_spacing(const samplesBlock& block) {
  return static_cast<double>(block.Time) / ((held_points(block) - 1) * 2.0);
}

}  // namespace

double uV(const samplesBlock& block, double t, double scale, double offset) {
  if (block.Divisor == 0.0) {
    if (!g_divisor_reported.exchange(true)) log_error_line("### uV: Divisor IS ZERO ###");
    return 0.0;
  }
  if (block.Time == 0 || block.PointCount < 1) {
    if (!g_time_reported.exchange(true)) log_error_line("### uV: Time IS ZERO ###");
    return 0.0;
  }
  const double time = block.Time;
  if (!(t >= 0.0)) t = 0.0;
  if (t > time) t = time;
  const double last = static_cast<double>(block.PointCount) - 1.0;
  const double z = last * t / time;
  const int last_held = held_points(block) - 1;

  double value;
  const double lo = std::floor(z);
  const double hi = std::ceil(z);
  if (z > last || hi > last_held) {
    value = block.Data[last_held];
  } else {
    const int i = static_cast<int>(lo);
    const int j = static_cast<int>(hi);
    if (i == j) {
      value = block.Data[i];
    } else {
      value = block.Data[i] + (z - lo) / (hi - lo) *
                                  (static_cast<double>(block.Data[j]) - block.Data[i]);
    }
    g_divisor_reported.store(false);
    g_time_reported.store(false);
  }
  return value / block.Divisor * scale + offset;
}

bool minmax(const samplesBlock& block, double start, double stop, double& min, double& tmin,
            double& max, double& tmax, double scale, double offset) {
  const double time = block.Time;
  if (start < 0.0) {
    log_error_line("*** minmax: ***\n start time less than zero \n***");
    return false;
  }
  if (stop > time) {
    log_error_line("*** minmax: ***\n stop time %lg\ngreater than sample Time %lg\n ***", stop,
                   time);
    return false;
  }
  if (!(start < stop)) {
    log_error_line("*** minmax: ***\n stop time (%lg)\nis not greater than start time\n(%lg) ***",
                   stop, start);
    return false;
  }
  if (block.PointCount < 2) {
    log_error_line("*** minmax: ***\n PointCount less than 2 \n***");
    return false;
  }
  const double step = half_spacing(block);
  if (!(step > 0.0)) {
    log_error_line("*** minmax: ***\n delta_t = %lg \n***", step);
    return false;
  }
  min = 1e30;
  max = -1e30;
  tmin = start;
  tmax = start;
  for (double t = start; t < stop; t += step) {
    const double v = uV(block, t, scale, offset);
    if (v > max) {
      max = v;
      tmax = t;
    }
    if (v < min) {
      min = v;
      tmin = t;
    }
  }
  return true;
}

void raw_minmax(const samplesBlock& block, int first, int end, int32_t& min, int& imin,
                int32_t& max, int& imax) {
  min = 134217728;
  imin = 100000;
  max = 0;
  imax = -100;
  first = std::max(first, 0);
  end = std::min(end, kSamplesPerBlock);
  for (int i = first; i < end; ++i) {
    if (block.Data[i] < min) {
      min = block.Data[i];
      imin = i;
    }
    if (block.Data[i] > max) {
      max = block.Data[i];
      imax = i;
    }
  }
}

double average(const samplesBlock& block, double start, double stop, double scale, double offset) {
  if (block.PointCount < 2) {
    log_error_line("*** average: ***\n PointCount less than 2 \n***");
    return 0.0;
  }
  if (start < 0.0 || stop > static_cast<double>(block.Time) || !(start < stop)) return 0.0;
  const double step = half_spacing(block);
  if (!(step > 0.0)) return 0.0;
  double sum = 0.0;
  long long count = 0;
  for (double t = start; t < stop; t += step) {
    sum += uV(block, t, scale, offset);
    ++count;
  }
  return count > 0 ? sum / static_cast<double>(count) : 0.0;
}
