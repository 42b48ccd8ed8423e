// The electrodes on the eye: per channel (A, B) an eye and a reference
// electrode, each with its resistance, noise and drift. A channel records
// its eye electrode against its reference.
#ifndef PLATFORM_UNIT_ELECTRODES_H
#define PLATFORM_UNIT_ELECTRODES_H

#include <stdint.h>

#include "platform/unit/sim_unit.h"

namespace simunit {

struct Electrodes {
  static constexpr uint32_t kChannels = 2;
  static constexpr uint32_t kPerChannel = 2;  // SIM_EYE, SIM_REFERENCE

  sim_electrode electrode[kChannels][kPerChannel] = {};
  uint64_t since_ns[kChannels][kPerChannel] = {};  // drift starts here

  // Power-on: 2000 ohms each, no noise, no drift.
  void reset(uint64_t now_ns);
  // False (nothing changes) for a channel or electrode out of range.
  bool set(uint32_t channel, uint32_t which, const sim_electrode& e, uint64_t now_ns);
};

}  // namespace simunit

#endif
