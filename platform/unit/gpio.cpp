#include "platform/unit/gpio.h"

namespace simunit {

namespace {
constexpr uint32_t kDataReadyWord = 12;
constexpr uint32_t kDataReadyMask = 1u << 0;
// Where the stimulator's sync pulse comes in on each platform.
constexpr uint32_t kNewerSyncWord = 8;
constexpr uint32_t kNewerSyncMask = 1u << 5;
constexpr uint32_t kOlderSyncWord = 0;
constexpr uint32_t kOlderSyncMask = 1u << 7;
}  // namespace

void Gpio::reset() {
  for (uint32_t& w : words_) w = 0;
  // Both chip selects are pulled up (deselected) and the flash trigger idles high.
  words_[kChipSelectWord] = kDacSelectBit | kFlashTriggerBit | kAdcSelectBit;
  older_ = false;
  sync_high_ = true;  // the sync input idles high
}

uint32_t Gpio::sync_word() const { return older_ ? kOlderSyncWord : kNewerSyncWord; }
uint32_t Gpio::sync_mask() const { return older_ ? kOlderSyncMask : kNewerSyncMask; }

uint32_t Gpio::input_mask(uint32_t word) const {
  uint32_t mask = 0;
  if (word == kDataReadyWord) mask |= kDataReadyMask;
  if (word == sync_word()) mask |= sync_mask();
  return mask;
}

uint32_t Gpio::read(uint32_t word, bool data_ready_high) const {
  uint32_t v = words_[word] & ~input_mask(word);
  if (word == kDataReadyWord && data_ready_high) v |= kDataReadyMask;
  if (word == sync_word() && sync_high_) v |= sync_mask();
  return v;
}

void Gpio::write(uint32_t word, uint32_t value, uint64_t now_ns) {
  uint32_t before = words_[word];
  // Input bits keep no latch of their own here: they always read their line.
  words_[word] = value & ~input_mask(word);
  if (word != kChipSelectWord) return;
  uint32_t changed = (before ^ words_[word]) & kFlashTriggerBit;
  if (!changed) return;
  bool rising = (words_[word] & kFlashTriggerBit) != 0;
  if (flash_listener_) flash_listener_->flash_trigger_edge(rising, now_ns);
}

bool Gpio::set_input(uint32_t word, uint32_t bit, bool level) {
  if (bit >= 32 || word != sync_word() || (1u << bit) != sync_mask()) return false;
  sync_high_ = level;
  return true;
}

}  // namespace simunit
