#include "platform/unit/erg_response.h"

#include <math.h>

namespace simunit {

namespace {
const double kPi = 3.14159265358979323846;

double sin2(double x) {
  double s = sin(x);
  return s * s;
}
}  // namespace

double erg_a_wave(const ErgShape& shape, double t_ms) {
  if (t_ms < 0.0 || t_ms > 2.0 * shape.a_ms) return 0.0;
  return -sin2(kPi * t_ms / (2.0 * shape.a_ms));
}

double erg_b_wave(const ErgShape& shape, double t_ms) {
  if (t_ms < shape.a_ms) return 0.0;
  if (t_ms <= shape.b_ms) return sin2(kPi * (t_ms - shape.a_ms) / (2.0 * (shape.b_ms - shape.a_ms)));
  if (t_ms <= shape.b_ms + shape.decay_ms) {
    double c = cos(kPi * (t_ms - shape.b_ms) / (2.0 * shape.decay_ms));
    return c * c;
  }
  return 0.0;
}

double erg_length_ms(const ErgShape& shape) {
  double a_end = 2.0 * shape.a_ms;
  double b_end = shape.b_ms + shape.decay_ms;
  return a_end > b_end ? a_end : b_end;
}

}  // namespace simunit
