#include "platform/unit/eye_response.h"

#include <math.h>

namespace simunit {

namespace {

const double kPi = 3.14159265358979323846;

// Saturating growth: maximum x I / (I + half), and its steeper square form.
double grows(double maximum, double intensity, double half) { return maximum * intensity / (intensity + half); }
double grows_squared(double maximum, double intensity, double half) {
  const double i2 = intensity * intensity;
  return maximum * i2 / (i2 + half * half);
}

// A raised-cosine bump of height 1 that rises from `start` to `peak` and
// falls back to 0 over `fall`: flat at both ends, so that parts join
// smoothly, and its area is ((peak - start) + fall) / 2.
double bump(double t, double start, double peak, double fall) {
  if (t <= start || t >= peak + fall) return 0.0;
  const double phase = t <= peak ? (t - start) / (peak - start) : 1.0 + (t - peak) / fall;
  const double s = sin(0.5 * kPi * phase);
  return s * s;
}

// The rods lose half their response on a background of this luminance.
const double kRodHalfBackground = 0.1;  // cd/m^2

// Parts' maxima (uV) and half-saturating flashes (cd.s/m^2).
const double kRodAMax = 30.0, kRodAHalf = 1.5;
const double kConeAMax = 20.0, kConeAHalf = 1.5;
const double kRodBMax = 70.0, kRodBHalf = 0.004;
const double kConeBMax = 40.0, kConeBHalf = 0.8;
const double kOpMax = 8.0, kOpHalf = 0.5;

// Oscillatory potentials: 135 Hz under a half sine of 40 ms that opens
// just after the a-wave's trough.
const double kOpHz = 135.0;
const double kOpDelayMs = 1.0;
const double kOpWindowMs = 40.0;

// The cones' b-wave peaks at 30 ms and falls over 22 ms; the negative wave
// after it starts 10 ms after the peak and lasts 70 ms.
const double kConePeakMs = 29.0;
const double kConeFallMs = 22.0;
const double kConeNegativeDelayMs = 5.0;
const double kConeNegativeMs = 70.0;

// Brighter flashes give earlier troughs and peaks.
double a_trough_ms(double intensity) { return 14.0 + 6.0 * kRodAHalf / (intensity + kRodAHalf); }
double rod_peak_ms(double intensity) { return 40.0 + 50.0 * 0.05 / (intensity + 0.05); }
double rod_fall_ms(double intensity) { return 100.0 + 60.0 * 0.05 / (intensity + 0.05); }

}  // namespace

// The rods' wave of the dimmest flash lasts longest.
double eye_length_ms() { return rod_peak_ms(0.0) + rod_fall_ms(0.0); }

double eye_response_uv(const EyeStimulus& stimulus, double t_ms) {
  const double intensity = stimulus.flash_cds;
  if (!(intensity > 0.0) || t_ms <= 0.0 || t_ms >= eye_length_ms()) return 0.0;
  const double background = stimulus.background_cd > 0.0 ? stimulus.background_cd : 0.0;
  const double rods = 1.0 / (1.0 + background / kRodHalfBackground);

  const double ta = a_trough_ms(intensity);
  const double rod_a = rods * grows(kRodAMax, intensity, kRodAHalf);
  const double cone_a = grows(kConeAMax, intensity, kConeAHalf);
  const double rod_b = rods * grows(kRodBMax, intensity, kRodBHalf);
  // Cones answer more on a background than in the dark.
  const double cone_b = (1.0 - 0.5 * rods) * grows(kConeBMax, intensity, kConeBHalf);

  // The a-wave: a trough at ta, gone by 2 ta, where the b-waves take over.
  double uv = -(rod_a + cone_a) * bump(t_ms, 0.0, ta, ta);
  uv += rod_b * bump(t_ms, ta, rod_peak_ms(intensity), rod_fall_ms(intensity));
  uv += cone_b * bump(t_ms, ta, kConePeakMs, kConeFallMs);

  // The cones' negative wave takes back the area of their a- and b-waves.
  const double cone_area = cone_b * ((kConePeakMs - ta) + kConeFallMs) / 2.0 - cone_a * ta;
  const double negative_start = kConePeakMs + kConeNegativeDelayMs;
  uv -= 2.0 * cone_area / kConeNegativeMs *
        bump(t_ms, negative_start, negative_start + kConeNegativeMs / 2.0, kConeNegativeMs / 2.0);

  const double op_start = ta + kOpDelayMs;
  if (t_ms > op_start && t_ms < op_start + kOpWindowMs) {
    const double window = sin(kPi * (t_ms - op_start) / kOpWindowMs);
    const double op = grows_squared(kOpMax, intensity, kOpHalf) * (0.4 + 0.6 * rods);
    uv -= op * window * sin(2.0 * kPi * kOpHz * (t_ms - op_start) / 1000.0);
  }
  return uv;
}

}  // namespace simunit
