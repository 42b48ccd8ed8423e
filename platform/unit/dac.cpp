#include "platform/unit/dac.h"

namespace simunit {

namespace {
constexpr uint32_t kControlCommand = 15;
}

void Dac::reset() {
  have_first_ = false;
  first_ = 0;
  for (uint32_t& o : outputs_) o = 0;
  control_ = 0;
  writes_ = 0;
}

uint8_t Dac::exchange(uint8_t mosi) {
  if (!have_first_) {
    first_ = mosi;
    have_first_ = true;
    return 0x00;
  }
  have_first_ = false;
  ++writes_;
  uint32_t command = first_ >> 4;
  uint32_t value = (static_cast<uint32_t>(first_ & 0x0F) << 8) | mosi;
  if (command < kOutputs) {
    outputs_[command] = value;
  } else if (command == kControlCommand) {
    control_ = value;
  }
  // Commands 4 to 14 are not used on this board; the word is taken and ignored.
  return 0x00;
}

void Dac::chip_deselected() {
  if (have_first_) ++counters_.partial_words;
  have_first_ = false;
}

}  // namespace simunit
