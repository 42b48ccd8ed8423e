// The GPIO block: 34 words of output latches, with input bits that follow
// their line instead of the latch (the converter's data-ready line and the
// stimulator's sync input).
#ifndef PLATFORM_UNIT_GPIO_H
#define PLATFORM_UNIT_GPIO_H

#include <stdint.h>

#include "platform/unit/sim_unit.h"

namespace simunit {

// GPIO word 1 lines.
constexpr uint32_t kChipSelectWord = 1;
constexpr uint32_t kDacSelectBit = 1u << 1;  // low = selected
constexpr uint32_t kFlashTriggerBit = 1u << 2;
constexpr uint32_t kAdcSelectBit = 1u << 3;  // low = selected

// Later board parts (the stimulator) attach here to see the flash trigger
// line move. Called with the board's lock held.
class FlashTriggerListener {
 public:
  virtual ~FlashTriggerListener() = default;
  virtual void flash_trigger_edge(bool rising, uint64_t now_ns) = 0;
};

class Gpio {
 public:
  // Power-on state of the newer platform's wiring; listeners stay attached.
  void reset();

  // The word as the processor reads it; data_ready_high is the converter's line.
  uint32_t read(uint32_t word, bool data_ready_high) const;
  void write(uint32_t word, uint32_t value, uint64_t now_ns);
  uint32_t latch(uint32_t word) const { return words_[word]; }

  void set_older_platform(bool older) { older_ = older; }
  // Drives an input from outside; returns false for a bit that is not an
  // input driven from outside.
  bool set_input(uint32_t word, uint32_t bit, bool level);

  // The stimulator drives the sync line (high = idle).
  void set_sync_level(bool high) { sync_high_ = high; }

  void attach_flash_listener(FlashTriggerListener* listener) { flash_listener_ = listener; }

 private:
  uint32_t sync_word() const;
  uint32_t sync_mask() const;
  uint32_t input_mask(uint32_t word) const;

  uint32_t words_[SIM_GPIO_WORDS] = {};
  bool older_ = false;
  bool sync_high_ = true;
  FlashTriggerListener* flash_listener_ = nullptr;
};

}  // namespace simunit

#endif
