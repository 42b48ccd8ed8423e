// The 12-bit digital-to-analog converter: two-byte words on the SPI bus, a
// command nibble followed by a 12-bit value, most significant bit first.
#ifndef PLATFORM_UNIT_DAC_H
#define PLATFORM_UNIT_DAC_H

#include <stdint.h>

#include "platform/unit/sim_unit.h"

namespace simunit {

class Dac {
 public:
  static constexpr uint32_t kOutputs = 4;

  explicit Dac(sim_counters& counters) : counters_(counters) {}

  void reset();
  // A byte clocked in while the converter is selected; returns its reply.
  uint8_t exchange(uint8_t mosi);
  // Chip select went high: a half-received word is lost.
  void chip_deselected();

  uint32_t output(uint32_t channel) const { return channel < kOutputs ? outputs_[channel] : 0; }
  uint32_t control() const { return control_; }
  uint32_t writes() const { return writes_; }

 private:
  sim_counters& counters_;
  bool have_first_ = false;
  uint8_t first_ = 0;
  uint32_t outputs_[kOutputs] = {};
  uint32_t control_ = 0;
  uint32_t writes_ = 0;
};

}  // namespace simunit

#endif
