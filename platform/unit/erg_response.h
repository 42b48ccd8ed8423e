// The shape of the eye's response to one flash: an a-wave trough followed by
// a b-wave peak, each of unit size, so that the trough and the peak fall
// exactly at their times.
//
// a(t) = -sin^2(pi t / (2 a_ms)) for 0 <= t <= 2 a_ms, else 0.
// b(t) = sin^2(pi (t - a_ms) / (2 (b_ms - a_ms))) for a_ms <= t <= b_ms,
//        cos^2(pi (t - b_ms) / (2 decay_ms)) for b_ms < t <= b_ms + decay_ms,
//        else 0.
// Both are flat where they meet, so a_depth x a + b_height x b has its
// minimum at a_ms and, when b_ms >= 2 a_ms, its maximum at b_ms.
#ifndef PLATFORM_UNIT_ERG_RESPONSE_H
#define PLATFORM_UNIT_ERG_RESPONSE_H

namespace simunit {

struct ErgShape {
  double a_ms;      // trough time, > 0
  double b_ms;      // peak time, > a_ms
  double decay_ms;  // fall time after the peak, > 0
};

double erg_a_wave(const ErgShape& shape, double t_ms);
double erg_b_wave(const ErgShape& shape, double t_ms);
// Time after which both are 0.
double erg_length_ms(const ErgShape& shape);

}  // namespace simunit

#endif
