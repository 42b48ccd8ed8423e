#include "platform/unit/adc.h"

#include <utility>

namespace simunit {

namespace {

// Commands.
constexpr uint8_t kWakeup = 0x00;
constexpr uint8_t kRdata = 0x01;
constexpr uint8_t kRdatac = 0x03;
constexpr uint8_t kSdatac = 0x0F;
constexpr uint8_t kRreg = 0x10;
constexpr uint8_t kWreg = 0x50;
constexpr uint8_t kSelfcal = 0xF0;
constexpr uint8_t kSync = 0xFC;
constexpr uint8_t kStandby = 0xFD;
constexpr uint8_t kReset = 0xFE;
constexpr uint8_t kWakeupAlso = 0xFF;

// Registers.
constexpr uint32_t kStatus = 0;
constexpr uint32_t kMux = 1;
constexpr uint32_t kAdcon = 2;
constexpr uint32_t kDrate = 3;
constexpr uint32_t kIo = 4;
constexpr uint8_t kPowerOn[Adc::kRegisters] = {0x30, 0x01, 0x20, 0xF0, 0xE0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kStatusId = 0x30;         // read-only top nibble
constexpr uint8_t kStatusWritable = 0x0E;   // bit 0 is the data-ready state

// The schedule is kept in blocks of 10 s, which hold a whole number of
// conversions at every rate (2.5 per second included).
constexpr uint64_t kBlockNs = 10000000000ull;

// A self-calibration takes 1 ms whatever the rate; the part's own figure
// varies with the rate, and callers only wait for data-ready to come back.
constexpr uint64_t kCalibrationNs = 1000000;

// After a restart the digital filter settles for three conversion periods and
// a little more before the first conversion (1.55 ms at 2000 per second).
constexpr uint64_t kSettleExtraNs = 50000;

constexpr uint32_t kCommonInput = 8;

struct RateCode {
  uint8_t code;
  uint32_t tenths;  // conversions per 10 s
};
constexpr RateCode kRates[] = {
    {0xF0, 300000}, {0xE0, 150000}, {0xD0, 75000}, {0xC0, 37500},
    {0xB0, 20000},  {0xA1, 10000},  {0x92, 5000},  {0x82, 1000},
    {0x72, 600},    {0x63, 500},    {0x53, 300},   {0x43, 250},
    {0x33, 150},    {0x23, 100},    {0x13, 50},    {0x03, 25},
};

uint32_t rate_tenths_of(uint8_t code) {
  for (const RateCode& r : kRates) {
    if (r.code == code) return r.tenths;
  }
  return 0;
}

}  // namespace

Adc::Adc(sim_counters& counters) : counters_(counters) {}

void Adc::power_on(uint64_t now_ns) {
  for (auto& s : sources_) s = std::make_unique<ConstantSource>(0);
  sources_[SIM_BATTERY_INPUT] = std::make_unique<ConstantSource>(SIM_BATTERY_COUNTS);
  options_ = 0;
  self_calibrations_ = 0;
  resets_ = 0;
  stuck_high_ = stuck_low_ = false;
  late_ns_ = 0;
  reset_registers();
  restart(now_ns);
}

void Adc::reset_registers() {
  for (uint32_t i = 0; i < kRegisters; ++i) regs_[i] = kPowerOn[i];
  rate_tenths_ = rate_tenths_of(kPowerOn[kDrate]);
  continuous_ = false;
  parse_ = Parse::Idle;
  out_len_ = out_pos_ = 0;
}

void Adc::set_source(uint32_t input, std::unique_ptr<SampleSource> source) {
  if (input < kInputs && source) sources_[input] = std::move(source);
}

bool Adc::data_ready_high() const {
  if (stuck_high_) return true;
  if (stuck_low_) return false;
  return !unread_;
}

// ---- Conversions -------------------------------------------------------------

void Adc::restart(uint64_t now_ns) {
  run_ = Run::Converting;
  unread_ = false;
  uint64_t period3 = 3 * kBlockNs / rate_tenths_;
  epoch_ns_ = now_ns + period3 + kSettleExtraNs;
  index_ = 0;
}

void Adc::restart_if_running(uint64_t now_ns) {
  // A stopped converter (SYNC, STANDBY) stays stopped; the change takes
  // effect when it starts again.
  if (run_ == Run::Converting || run_ == Run::Calibrating) restart(now_ns);
}

uint64_t Adc::conversion_time() const {
  return epoch_ns_ + index_ * kBlockNs / rate_tenths_ + late_ns_;
}

uint64_t Adc::next_event_ns() const {
  switch (run_) {
    case Run::Converting: return conversion_time();
    case Run::Calibrating: return calibrated_ns_;
    default: return UINT64_MAX;
  }
}

void Adc::convert(uint64_t now_ns) {
  uint32_t input = regs_[kMux] >> 4;
  // Inputs 8 and above are the common input: 0 against itself.
  int32_t value = input < kCommonInput ? sources_[input]->next(now_ns) : 0;
  data_ = static_cast<uint32_t>(value) & 0xFFFFFF;
  unread_ = true;
}

void Adc::step_schedule() {
  if (++index_ == rate_tenths_) {
    epoch_ns_ += kBlockNs;
    index_ = 0;
  }
}

void Adc::on_event(uint64_t now_ns) {
  if (run_ == Run::Calibrating) {
    // Calibrated: the first conversion is ready at once, the rest follow at
    // the data rate.
    ++self_calibrations_;
    run_ = Run::Converting;
    convert(now_ns);
    epoch_ns_ = now_ns;
    index_ = 0;
    step_schedule();
    return;
  }
  if (run_ != Run::Converting) return;
  convert(now_ns);
  if (late_ns_ != 0) {
    // One late conversion; the following ones keep the data rate from it.
    late_ns_ = 0;
    epoch_ns_ = now_ns;
    index_ = 0;
  }
  step_schedule();
}

void Adc::pass_over_whole_blocks(uint64_t t) {
  if (run_ != Run::Converting || late_ns_ != 0) return;
  uint64_t next = conversion_time();
  if (t <= next || t - next < 2 * kBlockNs) return;
  // Whole 10 s blocks that nothing can observe: only the sources move on.
  // At least one block is left to be converted one by one.
  uint64_t blocks = (t - next) / kBlockNs - 1;
  epoch_ns_ += blocks * kBlockNs;
  uint32_t input = regs_[kMux] >> 4;
  if (input < kCommonInput) sources_[input]->skip(blocks * rate_tenths_);
}

void Adc::advance_to(uint64_t t) {
  for (;;) {
    pass_over_whole_blocks(t);
    uint64_t e = next_event_ns();
    if (e > t) return;
    on_event(e);
  }
}

// ---- Bus side ----------------------------------------------------------------

void Adc::start_output(const uint8_t* bytes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) out_[i] = bytes[i];
  out_len_ = count;
  out_pos_ = 0;
}

uint8_t Adc::exchange(uint8_t mosi, uint64_t now_ns) {
  // Bytes clocked while output is pending are dummies that carry it out.
  if (out_pos_ < out_len_) return out_[out_pos_++];

  switch (parse_) {
    case Parse::ReadCount: {
      // The count byte's upper nibble is ignored, as on the part.
      uint32_t n = (mosi & 0x0F) + 1u;
      uint8_t bytes[16];
      for (uint32_t i = 0; i < n; ++i) bytes[i] = register_byte(reg_ + i);
      start_output(bytes, n);
      parse_ = Parse::Idle;
      return 0x00;
    }
    case Parse::WriteCount:
      write_left_ = (mosi & 0x0F) + 1u;
      parse_ = Parse::WriteData;
      return 0x00;
    case Parse::WriteData:
      write_register(reg_++, mosi, now_ns);
      if (--write_left_ == 0) parse_ = Parse::Idle;
      return 0x00;
    case Parse::Idle:
      break;
  }

  if (continuous_) {
    if (mosi == kSdatac) {
      continuous_ = false;
    } else if (mosi == kReset) {
      command_reset(now_ns);
    } else if (unread_) {
      const uint8_t bytes[3] = {static_cast<uint8_t>(data_ >> 16), static_cast<uint8_t>(data_ >> 8),
                                static_cast<uint8_t>(data_)};
      start_output(bytes, 3);
      unread_ = false;
      return out_[out_pos_++];
    }
    return 0x00;
  }

  command(mosi, now_ns);
  return 0x00;
}

void Adc::command(uint8_t mosi, uint64_t now_ns) {
  if ((mosi & 0xF0) == kRreg || (mosi & 0xF0) == kWreg) {
    reg_ = mosi & 0x0F;
    parse_ = (mosi & 0xF0) == kRreg ? Parse::ReadCount : Parse::WriteCount;
    return;
  }
  switch (mosi) {
    case kWakeup:
    case kWakeupAlso:
      if (run_ == Run::Synced || run_ == Run::Standby) restart(now_ns);
      break;
    case kRdata: {
      const uint8_t bytes[3] = {static_cast<uint8_t>(data_ >> 16), static_cast<uint8_t>(data_ >> 8),
                                static_cast<uint8_t>(data_)};
      start_output(bytes, 3);
      unread_ = false;
      break;
    }
    case kRdatac:
      continuous_ = true;
      break;
    case kSdatac:
      continuous_ = false;
      break;
    // A self-calibration runs from standby too and leaves it: the converter
    // set-up sends it after the converters were put to rest, without a WAKEUP
    // (the part itself leaves standby once clocked while selected).
    case kSelfcal:
      run_ = Run::Calibrating;
      unread_ = false;
      calibrated_ns_ = now_ns + kCalibrationNs;
      break;
    case kSync:
      if (run_ == Run::Standby) break;  // stays in standby until WAKEUP
      run_ = Run::Synced;
      unread_ = false;
      break;
    case kStandby:
      run_ = Run::Standby;
      unread_ = false;
      break;
    case kReset:
      command_reset(now_ns);
      break;
    default:
      break;  // other commands are not used on this board
  }
}

void Adc::command_reset(uint64_t now_ns) {
  ++resets_;
  reset_registers();
  restart(now_ns);
}

void Adc::chip_deselected() {
  if (out_pos_ < out_len_) ++counters_.partial_words;
  out_len_ = out_pos_ = 0;
  // A RREG or WREG still waiting for its bytes is dropped.
  parse_ = Parse::Idle;
}

// ---- Registers ---------------------------------------------------------------

uint8_t Adc::register_byte(uint32_t reg) const {
  if (reg >= kRegisters) return 0;
  if (reg == kStatus) return static_cast<uint8_t>(regs_[kStatus] | (data_ready_high() ? 1 : 0));
  if (reg == kIo) return static_cast<uint8_t>((regs_[kIo] & 0xF0) | options_);
  return regs_[reg];
}

void Adc::write_register(uint32_t reg, uint8_t value, uint64_t now_ns) {
  if (reg >= kRegisters) return;
  switch (reg) {
    case kStatus:
      regs_[kStatus] = static_cast<uint8_t>(kStatusId | (value & kStatusWritable));
      break;
    case kMux:
      regs_[kMux] = value;
      restart_if_running(now_ns);
      break;
    case kDrate: {
      regs_[kDrate] = value;
      uint32_t tenths = rate_tenths_of(value);
      if (tenths != 0) rate_tenths_ = tenths;  // an unknown code keeps the rate
      // Like a multiplexer change, a rate change starts the filter afresh.
      restart_if_running(now_ns);
      break;
    }
    case kAdcon:
    default:
      regs_[reg] = value;
      break;
  }
}

}  // namespace simunit
