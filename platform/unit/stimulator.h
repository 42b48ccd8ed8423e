// The stimulator microcontroller: its serial line to the unit ("COM2:"), the
// flash trigger it watches, the sync pulse it drives, its flicker timer and
// the impedance sine. What it does with each command is told in sim_unit.h.
// Called with the board's lock held.
#ifndef PLATFORM_UNIT_STIMULATOR_H
#define PLATFORM_UNIT_STIMULATOR_H

#include <stddef.h>
#include <stdint.h>

#include <deque>
#include <vector>

#include "platform/unit/dac.h"
#include "platform/unit/gpio.h"
#include "platform/unit/sim_unit.h"

namespace simunit {

// One flash as the eye sees it.
struct Flash {
  uint64_t at_ns;
  double volt_ms;        // drive volts x duration in milliseconds
  double background_v;   // background drive volts above the lamps' threshold, both domes
};

class Stimulator final : public FlashTriggerListener {
 public:
  // Flashes kept for the signal: enough for every response still under way.
  static constexpr size_t kFlashHistory = 64;

  Stimulator(Gpio& gpio, const Dac& dac) : gpio_(gpio), dac_(dac) {}

  // Power-on: configuration, table, clock, state, faults and logs.
  void reset(uint64_t now_ns);

  // Serial side.
  void receive(const uint8_t* bytes, uint32_t n, uint64_t now_ns);
  uint32_t transmit(uint8_t* out, uint32_t max, uint64_t now_ns);

  // Timed work: flashes, the end of a sync pulse, the sine's sync pulses.
  uint64_t next_event_ns() const;
  void on_event(uint64_t now_ns);
  void flash_trigger_edge(bool rising, uint64_t now_ns) override;

  // What the signal needs.
  const std::deque<Flash>& flashes() const { return flash_history_; }
  int sine_electrode() const { return sine_electrode_; }
  uint64_t sine_start_ns() const { return sine_start_ns_; }
  double sine_hz() const { return config_.sine_hz; }
  // Peak-to-peak microvolts of the sine through an electrode of `ohms`.
  double sine_peak_to_peak_uv(double ohms) const;

  // Test side.
  const sim_stim_config& config() const { return config_; }
  void set_config(const sim_stim_config& config);
  void set_table(const double* entries);
  void get_table(double* out) const;
  void set_clock(uint64_t filetime, uint64_t now_ns);
  sim_stim_state state(uint64_t now_ns) const;
  uint32_t records(sim_stim_record* out, uint32_t max) const;
  uint32_t received(uint8_t* out, uint32_t max) const;
  void clear_logs();
  void send(const uint8_t* bytes, uint32_t n, uint64_t at_ns);
  void send_message(uint8_t id, const uint8_t* payload, uint32_t n, uint64_t at_ns);
  void set_fault(int fault, int64_t param);
  void clear_fault(int fault);

 private:
  struct Outgoing {
    uint64_t at_ns;
    uint8_t byte;
  };

  void take_byte(uint8_t byte, uint64_t now_ns);
  void complete_record(uint64_t now_ns);
  bool obey(const std::vector<uint8_t>& r, uint64_t now_ns);
  void take_flash_settings(const std::vector<uint8_t>& r);
  void reply(uint8_t id, const uint8_t* payload, uint32_t n, uint64_t now_ns);
  uint64_t clock_now(uint64_t now_ns) const;
  void start_sine(int electrode, uint64_t now_ns);
  void stop_sine();
  uint64_t sine_sync_period_ns() const;
  void flash(uint64_t now_ns);
  void pulse_sync(uint64_t now_ns);

  Gpio& gpio_;
  const Dac& dac_;
  sim_stim_config config_ = {};
  double table_[SIM_STIM_TABLE_ENTRIES] = {};
  uint64_t clock_filetime_ = 0;
  uint64_t clock_set_ns_ = 0;

  // Parsing.
  std::vector<uint8_t> record_;
  size_t record_length_ = 0;  // whole length of the record being received
  sim_stim_state counts_ = {};  // the counters and settings kept as they come

  // Flash and flicker.
  uint64_t flicker_period_ns_ = 0;
  uint32_t flicker_flashes_ = 0;  // flashes of the flicker running
  uint64_t next_flash_ns_ = UINT64_MAX;
  uint64_t sync_release_ns_ = UINT64_MAX;
  std::deque<Flash> flash_history_;

  // Impedance sine.
  int sine_electrode_ = -1;
  uint64_t sine_start_ns_ = 0;
  uint64_t next_sine_sync_ns_ = UINT64_MAX;

  // Replies and faults.
  std::deque<Outgoing> outgoing_;
  uint64_t reply_late_ns_ = 0;
  uint32_t reply_short_ = 0;
  bool silent_ = false;
  bool no_sync_ = false;

  // Logs.
  std::deque<sim_stim_record> record_log_;
  std::deque<uint8_t> received_log_;
};

}  // namespace simunit

#endif
