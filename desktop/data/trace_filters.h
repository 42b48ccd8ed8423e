// The digital filters applied to traces: the windowed-sinc FIR (low-pass,
// band-pass, band-reject), the mains notch run forward and backward, the
// notch in the frequency domain, the spike remover and the resampler onto
// an even time grid. Plain functions: nothing is kept between calls, and
// the traces and arrays they return belong to the caller.
//
// The filtered trace of a graph entry applies spike_filter, notch_filter at
// 60 Hz and then at 50 Hz, and fir_lowpass_trace, in that order.
#ifndef DESKTOP_DATA_TRACE_FILTERS_H
#define DESKTOP_DATA_TRACE_FILTERS_H

#include <cstdint>
#include <vector>

#include "desktop/data/trace.h"

// The source's displayed values filtered with the band kernel of m taps over
// f1 and f2 (fir_kernels.h). The sampling rate is taken as n points over the
// displayed time span, n / (tmax - tmin) * 1000 Hz; the result, colour 5,
// starts at the stored time of source point (m + 1) / 2 and steps by
// (tmax - tmin) / n. A source with fewer than m points cannot be filtered:
// the result then holds the source's points unchanged. The result goes into
// target, or into a new trace when target is null; the caller owns a new
// one. A null source is reported and gives null.
traceClass* fir_filter_trace(const traceClass* source, int m, double f1, double f2, traceClass* target);

// The taps of the FIR for a trace of n points: 127 above 1024 points, 63
// above 512, else 31.
int taps_for(int32_t n);

// The low-pass at cutoff Hz with 127 taps above 1024 points, 63 above 512,
// else 31; a new trace.
traceClass* fir_lowpass_trace(const traceClass* source, double cutoff);

// The FIR over centre + half_width and centre - half_width with the taps of
// fir_lowpass_trace: a positive half-width rejects the band centre +-
// half-width, a negative one passes it.
traceClass* fir_band_filter_trace(double centre, double half_width, const traceClass* source,
                                  traceClass* target);

// A new trace loaded from the source whose values have passed the
// second-order notch at f0 Hz, bandwidth bw Hz, run forward and backward
// over the values mirrored before themselves and repeated after, the two
// passes averaged. The sampling rate is n points over the span of the
// stored first and last times; the poles lie at radius 1 - 3 bw / rate. A
// trace with fewer than two points, no time span, a notch at a multiple of
// the sampling rate or poles not inside the unit circle gives an unfiltered
// copy. A null source is reported and gives null.
traceClass* notch_filter(const traceClass* source, double f0, double bw);

// The notch at f0 Hz (half-width 10 Hz) in the frequency domain: n values
// of the points transformed, weighted by 1 - w^2 / (w^2 + (f0 - f)^2),
// transformed back and moved to the input's mean. out_count receives n. A
// length that the FFT refuses (reported there) gives no values; fewer than
// two points or no time span give the values unchanged.
std::vector<double> fft_notch_filter(const xyPair* points, int n, double f0, int& out_count);

// Replaces each point that deviates more than 5 % from the mean of its
// filtered predecessor, itself and its successor, and more than its
// successor does, by the mean of that predecessor and the successor; the
// end points against the mean of their three nearest. in and out are
// distinct arrays of n points; fewer than three points are copied as they
// are.
void spike_filter(const xyPair* in, xyPair* out, int32_t n);

// The points onto the even grid from the first to the last time, n points,
// values interpolated linearly between the bracketing source points (a grid
// time outside the source takes the nearest end's value). Fewer than two
// points are copied as they are.
void resample_even_grid(const xyPair* in, xyPair* out, int32_t n);

// Filter settings that can stand in for a missing source or target: a
// default source and whether a target must be given. Without a required
// target the options object itself, a trace, takes the result.
class filterOptionsClass : public traceClass {
 public:
  const traceClass* default_source = nullptr;
  uint8_t target_required = 0;

  // The given source, else the default one; else reported, null.
  const traceClass* resolve_source(const traceClass* source) const;
  // The given target, else this object unless a target is required; else
  // reported, null.
  traceClass* resolve_target(traceClass* target);
};

#endif
