#include "platform/unit/electrodes.h"

namespace simunit {

void Electrodes::reset(uint64_t now_ns) {
  for (uint32_t c = 0; c < kChannels; ++c) {
    for (uint32_t w = 0; w < kPerChannel; ++w) {
      electrode[c][w] = sim_electrode{2000.0, 0.0, 0.0};
      since_ns[c][w] = now_ns;
    }
  }
}

bool Electrodes::set(uint32_t channel, uint32_t which, const sim_electrode& e, uint64_t now_ns) {
  if (channel >= kChannels || which >= kPerChannel) return false;
  electrode[channel][which] = e;
  since_ns[channel][which] = now_ns;
  return true;
}

}  // namespace simunit
