// Seeded Gaussian noise of unit standard deviation, the same sequence on
// every platform (splitmix64 and the Box-Muller transform).
#ifndef PLATFORM_UNIT_GAUSSIAN_NOISE_H
#define PLATFORM_UNIT_GAUSSIAN_NOISE_H

#include <stdint.h>

namespace simunit {

class GaussianNoise {
 public:
  explicit GaussianNoise(uint64_t seed) : state_(seed) {}
  double next();

 private:
  uint64_t next_bits();
  double next_uniform();  // in (0, 1)

  uint64_t state_;
  bool have_spare_ = false;
  double spare_ = 0.0;
};

}  // namespace simunit

#endif
