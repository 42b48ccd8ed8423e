#include "platform/unit/gaussian_noise.h"

#include <math.h>

namespace simunit {

uint64_t GaussianNoise::next_bits() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double GaussianNoise::next_uniform() {
  // 53 random bits, shifted off 0.
  return (static_cast<double>(next_bits() >> 11) + 0.5) / 9007199254740992.0;
}

double GaussianNoise::next() {
  if (have_spare_) {
    have_spare_ = false;
    return spare_;
  }
  const double two_pi = 6.28318530717958647692;
  double r = sqrt(-2.0 * log(next_uniform()));
  double angle = two_pi * next_uniform();
  spare_ = r * sin(angle);
  have_spare_ = true;
  return r * cos(angle);
}

}  // namespace simunit
