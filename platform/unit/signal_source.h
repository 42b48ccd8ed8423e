// The signal on one converter input: the eye's baseline, noise, mains hum and
// drift, the ERG response after each flash of the stimulator, the channel's
// electrodes and the impedance sine, through the front end's gain to
// converter counts. Configured by a sim_signal (sim_unit.h).
#ifndef PLATFORM_UNIT_SIGNAL_SOURCE_H
#define PLATFORM_UNIT_SIGNAL_SOURCE_H

#include <stdint.h>

#include "platform/unit/electrodes.h"
#include "platform/unit/erg_response.h"
#include "platform/unit/eye_response.h"
#include "platform/unit/gaussian_noise.h"
#include "platform/unit/sample_source.h"
#include "platform/unit/sim_unit.h"
#include "platform/unit/stimulator.h"

namespace simunit {

// sim_signal_defaults for an input.
sim_signal default_signal(uint32_t input);

class SignalSource final : public SampleSource {
 public:
  // Values that make no waveform (times not in order, a zero gain) are taken
  // from the defaults. Drift counts from now_ns.
  SignalSource(const sim_signal& signal, const Stimulator& stimulator, const Electrodes& electrodes,
               uint64_t now_ns);

  int32_t next(uint64_t now_ns) override;
  // The input's microvolts at now_ns (draws this conversion's noise).
  double microvolts(uint64_t now_ns);

 private:
  double erg_uv(uint64_t now_ns) const;
  double electrodes_uv(uint64_t now_ns);

  sim_signal signal_;
  ErgShape shape_;
  const Stimulator& stimulator_;
  const Electrodes& electrodes_;
  uint64_t since_ns_;
  GaussianNoise noise_;
};

}  // namespace simunit

#endif
