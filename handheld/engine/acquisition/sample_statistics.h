// Microvolt values and window statistics of a samples block. A block may come
// from a card and hold anything: times, indices and counts are clamped to what
// the block holds, and bad windows are refused with an error trace line.
#ifndef HANDHELD_ENGINE_ACQUISITION_SAMPLE_STATISTICS_H
#define HANDHELD_ENGINE_ACQUISITION_SAMPLE_STATISTICS_H

#include <cstdint>

#include "handheld/engine/storage/stored_records.h"

// The block's value at t milliseconds in microvolts: Data / Divisor * scale +
// offset, interpolated between points. t is clamped to [0, Time]. A zero
// Divisor, a zero Time or a PointCount below 1 gives 0.0 (reported once until
// a good read).
double uV(const samplesBlock& block, double t, double scale, double offset);

// Extremes of the microvolt curve over [start, stop) milliseconds, sampled at
// half the point spacing; a tie keeps the earlier time. False for a bad window.
bool minmax(const samplesBlock& block, double start, double stop, double& min, double& tmin,
            double& max, double& tmax, double scale, double offset);

// Extremes of the raw values at indices first..end-1. The minimum starts at
// 134217728 (index 100000) and the maximum at 0 (index -100).
void raw_minmax(const samplesBlock& block, int first, int end, int32_t& min, int& imin,
                int32_t& max, int& imax);

// Mean of the microvolt curve over [start, stop), sampled like minmax; 0.0
// for a bad window.
double average(const samplesBlock& block, double start, double stop, double scale, double offset);

#endif
