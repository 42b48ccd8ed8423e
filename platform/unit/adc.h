// The 24-bit analog-to-digital converter on the SPI bus: its command set,
// registers 0 to 10, data rates, continuous conversions and the data-ready
// line.
#ifndef PLATFORM_UNIT_ADC_H
#define PLATFORM_UNIT_ADC_H

#include <stdint.h>

#include <memory>

#include "platform/unit/sample_source.h"
#include "platform/unit/sim_unit.h"

namespace simunit {

class Adc {
 public:
  static constexpr uint32_t kRegisters = 11;
  static constexpr uint32_t kInputs = 8;

  explicit Adc(sim_counters& counters);

  // Power-on: registers, sources, board options, counts and faults; the
  // converter starts converting at now_ns.
  void power_on(uint64_t now_ns);

  // A byte clocked in while the converter is selected; returns its reply.
  uint8_t exchange(uint8_t mosi, uint64_t now_ns);
  // Chip select went high: the command in progress ends.
  void chip_deselected();

  // The data-ready line (high = no unread conversion).
  bool data_ready_high() const;

  // Timed work: the next conversion or the end of a self-calibration.
  uint64_t next_event_ns() const;
  void on_event(uint64_t now_ns);
  // Every event up to t, when nothing else on the board happens before t.
  void advance_to(uint64_t t);

  // Test side.
  void set_source(uint32_t input, std::unique_ptr<SampleSource> source);
  void set_options(uint32_t nibble) { options_ = nibble & 0x0F; }
  uint32_t stored_register(uint32_t reg) const { return reg < kRegisters ? regs_[reg] : 0; }
  bool continuous() const { return continuous_; }
  bool standby() const { return run_ == Run::Standby; }
  uint32_t rate_sps() const { return rate_tenths_ / 10; }
  uint32_t self_calibrations() const { return self_calibrations_; }
  uint32_t resets() const { return resets_; }

  // Faults.
  void set_stuck_high(bool on) { stuck_high_ = on; }
  void set_stuck_low(bool on) { stuck_low_ = on; }
  void delay_next_conversion(uint64_t ns) { late_ns_ = ns; }

 private:
  enum class Run { Converting, Calibrating, Synced, Standby };
  enum class Parse { Idle, ReadCount, WriteCount, WriteData };

  void reset_registers();
  void command(uint8_t mosi, uint64_t now_ns);
  void command_reset(uint64_t now_ns);
  void restart(uint64_t now_ns);
  void restart_if_running(uint64_t now_ns);
  void convert(uint64_t now_ns);
  void step_schedule();
  void pass_over_whole_blocks(uint64_t t);
  uint64_t conversion_time() const;
  uint8_t register_byte(uint32_t reg) const;
  void write_register(uint32_t reg, uint8_t value, uint64_t now_ns);
  void start_output(const uint8_t* bytes, uint32_t count);

  sim_counters& counters_;
  std::unique_ptr<SampleSource> sources_[kInputs];
  uint32_t options_ = 0;

  uint8_t regs_[kRegisters] = {};
  uint32_t rate_tenths_ = 0;  // conversions per 10 s

  Run run_ = Run::Converting;
  uint64_t epoch_ns_ = 0;    // time of conversion 0 of the current schedule
  uint64_t index_ = 0;       // next conversion number, below rate_tenths_
  uint64_t late_ns_ = 0;     // added to the next conversion only
  uint64_t calibrated_ns_ = 0;

  uint32_t data_ = 0;        // last conversion, 24 bits
  bool unread_ = false;      // a conversion is ready and its output not started
  bool continuous_ = false;

  Parse parse_ = Parse::Idle;
  uint32_t reg_ = 0;         // next register of a RREG/WREG
  uint32_t write_left_ = 0;  // data bytes a WREG still awaits

  uint8_t out_[16] = {};     // output waiting to be clocked out
  uint32_t out_len_ = 0;
  uint32_t out_pos_ = 0;

  uint32_t self_calibrations_ = 0;
  uint32_t resets_ = 0;
  bool stuck_high_ = false;
  bool stuck_low_ = false;
};

}  // namespace simunit

#endif
