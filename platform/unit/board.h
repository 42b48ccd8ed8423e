// The whole simulated board: the virtual clock, the register blocks and the
// devices on the SPI bus, and the logs tests read. One instance per process,
// guarded by one lock (taken by the C entry points).
#ifndef PLATFORM_UNIT_BOARD_H
#define PLATFORM_UNIT_BOARD_H

#include <stdint.h>

#include <deque>
#include <mutex>

#include "platform/unit/adc.h"
#include "platform/unit/dac.h"
#include "platform/unit/electrodes.h"
#include "platform/unit/gpio.h"
#include "platform/unit/sim_unit.h"
#include "platform/unit/spi.h"
#include "platform/unit/stimulator.h"

namespace simunit {

class Board {
 public:
  Board();

  std::mutex& mutex() { return mutex_; }

  // Bus side.
  void* map_block(uint64_t physical_address, uint32_t bytes);
  uint32_t reg_read(void* block, uint32_t word);
  void reg_write(void* block, uint32_t word, uint32_t value);

  // Clock.
  uint32_t tick_ms();
  uint64_t now_ns() const { return now_ns_; }
  void advance(uint64_t ns);

  // Test side.
  void reset();
  void set_platform(bool older) { gpio_.set_older_platform(older); }
  void set_gpio_input(uint32_t word, uint32_t bit, bool level) { gpio_.set_input(word, bit, level); }
  void attach_flash_listener(FlashTriggerListener* listener) { gpio_.attach_flash_listener(listener); }
  Adc& adc() { return adc_; }
  const Dac& dac() const { return dac_; }
  Stimulator& stimulator() { return stimulator_; }
  bool set_electrode(uint32_t channel, uint32_t which, const sim_electrode& e) {
    return electrodes_.set(channel, which, e, now_ns_);
  }
  // Puts the signal model on a converter input.
  void set_signal(uint32_t input, const sim_signal& signal);
  void set_fault(int fault, int64_t param);
  void clear_fault(int fault);
  const sim_counters& counters() const { return counters_; }
  uint32_t bus_log(sim_bus_byte* out, uint32_t max) const;
  void clear_bus_log() { bus_log_.clear(); }
  uint32_t map_log(uint64_t* out, uint32_t max) const;

 private:
  enum class Kind { Spi, Gpio, Uart3, None };

  Kind kind_of(const void* block) const;
  void run_until(uint64_t t);
  void shift_done(uint64_t at_ns);
  void gpio_write(uint32_t word, uint32_t value);

  std::mutex mutex_;
  uint64_t now_ns_ = 0;
  sim_counters counters_ = {};
  Spi spi_;
  Gpio gpio_;
  Adc adc_;
  Dac dac_;
  Stimulator stimulator_{gpio_, dac_};
  Electrodes electrodes_;
  uint32_t uart3_[SIM_UART3_WORDS] = {};
  bool map_fail_ = false;
  uint64_t map_fail_address_ = 0;
  std::deque<sim_bus_byte> bus_log_;
  std::deque<uint64_t> map_log_;
};

// The one board of this process.
Board& the_board();

// The board with its lock held, for the C entry points.
struct LockedBoard {
  Board& board = the_board();
  std::lock_guard<std::mutex> guard{board.mutex()};
};

}  // namespace simunit

#endif
