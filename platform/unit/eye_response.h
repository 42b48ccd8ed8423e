// The human eye's response to one flash, as an ERG recorded with skin
// electrodes shows it: the photoreceptors' negative a-wave, the rods' slow
// positive wave, the cones' faster b-wave and the negative wave that follows
// it, and the oscillatory potentials on the b-wave's rising edge. Each part
// grows with the flash by a saturating law, I / (I + s) (the oscillatory
// potentials by its square); a background desensitises the rods.
//
// Standard flashes (cd.s/m^2) give, in microvolts at milliseconds after it:
//   0.01, dark:   no a-wave, the rods' wave of about 50 at about 80;
//   3.0,  dark:   a-wave trough of about -33 at 15-16, b-wave peak of about
//                 85 near 37, with four or five wavelets at 135 Hz on its
//                 rise;
//   3.0,  30 cd/m^2 background: a-wave of about -13 at 15, b-wave of about
//                 34 at 30; the cones' part has no net area, so that a train
//                 of flashes (flicker) swings about zero, peaking near 30;
//   0.01, 30 cd/m^2 background: about 1.
#ifndef PLATFORM_UNIT_EYE_RESPONSE_H
#define PLATFORM_UNIT_EYE_RESPONSE_H

namespace simunit {

// Flash light in cd.s/m^2 and background in cd/m^2.
struct EyeStimulus {
  double flash_cds;
  double background_cd;
};

// Microvolts t_ms after the flash (0 before it and after eye_length_ms).
double eye_response_uv(const EyeStimulus& stimulus, double t_ms);
// Time after which the response is 0 for any flash.
double eye_length_ms();

}  // namespace simunit

#endif
