// The signal on one converter input: the eye's baseline, noise, mains hum and
// drift, the ERG response after each flash of the stimulator, the channel's
// electrodes and the impedance sine, through the front end's gain to
// converter counts. Configured by a sim_signal (sim_unit.h).
#ifndef SIM_SIGNAL_SOURCE_H
#define SIM_SIGNAL_SOURCE_H

#include <stdint.h>

#include "electrodes.h"
#include "erg_response.h"
#include "eye_response.h"
#include "gaussian_noise.h"
#include "sample_source.h"
#include "sim_unit.h"
#include "stimulator.h"

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
