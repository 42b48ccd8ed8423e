#include "platform/unit/stimulator.h"

#include <math.h>
#include <string.h>

#include "platform/unit/stimulator_records.h"

namespace simunit {

namespace {

// 2024-03-01 09:00:00 as a FILETIME.
constexpr uint64_t kPowerOnClock = 133537572000000000ull;

constexpr uint32_t kFlashOutput1 = 1;
constexpr uint32_t kFlashOutput2 = 3;
constexpr uint32_t kBackgroundOutput1 = 0;
constexpr uint32_t kBackgroundOutput2 = 2;
// A background lamp gives no light below this drive.
constexpr double kBackgroundThresholdVolts = 0.8;
constexpr double kCountsPerVolt = 819.2;  // the drive converter: 4096 counts over 5 V

constexpr size_t kUnknownRecord = 0;

// Whole length of a record from its first byte; kUnknownRecord for a byte
// that starts none. 'L' is three bytes until its length byte has come.
size_t record_length_of(uint8_t letter) {
  switch (letter) {
    case 'V': case 'v': case 't': case 'D': case 'W': case 'R': case 'E':
    case 'I': case 'O': case 'X': case 'b':
      return 1;
    case 'T': return 2;
    case 'l': return 3;
    case 'L': return 3;
    case 'f': return 7;
    case 'B': case 'S': return 9;
    default: return kUnknownRecord;
  }
}

sim_stim_config power_on_config() {
  sim_stim_config c = {};
  memcpy(c.version, "03.010", 6);
  c.sync_delay_us = 100;
  c.sync_pulse_us = 1000;
  c.sine_hz = 100.0;
  c.sine_sync_ms = 100;
  c.ohms_per_uv = 15.25;
  c.ohms_offset = -90.0;
  return c;
}

template <typename T>
void append_bounded(std::deque<T>& log, const T& entry, size_t capacity) {
  if (log.size() == capacity) log.pop_front();
  log.push_back(entry);
}

}  // namespace

void Stimulator::reset(uint64_t now_ns) {
  config_ = power_on_config();
  power_on_calibration_table(table_);
  set_clock(kPowerOnClock, now_ns);
  record_.clear();
  record_length_ = 0;
  counts_ = {};
  counts_.sine_electrode = -1;
  flicker_period_ns_ = 0;
  flicker_flashes_ = 0;
  next_flash_ns_ = UINT64_MAX;
  sync_release_ns_ = UINT64_MAX;
  flash_history_.clear();
  stop_sine();
  outgoing_.clear();
  reply_late_ns_ = 0;
  reply_short_ = 0;
  silent_ = false;
  no_sync_ = false;
  clear_logs();
}

// ---- Serial line -------------------------------------------------------------

void Stimulator::receive(const uint8_t* bytes, uint32_t n, uint64_t now_ns) {
  for (uint32_t i = 0; i < n; ++i) {
    append_bounded(received_log_, bytes[i], SIM_STIM_RECEIVED_LOG_CAPACITY);
    take_byte(bytes[i], now_ns);
  }
}

uint32_t Stimulator::transmit(uint8_t* out, uint32_t max, uint64_t now_ns) {
  uint32_t n = 0;
  while (n < max && !outgoing_.empty() && outgoing_.front().at_ns <= now_ns) {
    out[n++] = outgoing_.front().byte;
    outgoing_.pop_front();
  }
  return n;
}

void Stimulator::send(const uint8_t* bytes, uint32_t n, uint64_t at_ns) {
  // The line keeps its order: nothing overtakes a byte queued before it.
  if (!outgoing_.empty() && outgoing_.back().at_ns > at_ns) at_ns = outgoing_.back().at_ns;
  for (uint32_t i = 0; i < n; ++i) outgoing_.push_back({at_ns, bytes[i]});
}

void Stimulator::send_message(uint8_t id, const uint8_t* payload, uint32_t n, uint64_t at_ns) {
  if (n > 254) n = 254;
  std::vector<uint8_t> m;
  m.reserve(n + 3);
  m.push_back('U');
  m.push_back(static_cast<uint8_t>(n + 1));
  m.push_back(id);
  if (payload) m.insert(m.end(), payload, payload + n);
  else m.resize(n + 3, 0);
  send(m.data(), static_cast<uint32_t>(m.size()), at_ns);
}

void Stimulator::reply(uint8_t id, const uint8_t* payload, uint32_t n, uint64_t now_ns) {
  if (silent_) return;
  std::vector<uint8_t> m;
  m.push_back('U');
  m.push_back(static_cast<uint8_t>(n + 1));
  m.push_back(id);
  m.insert(m.end(), payload, payload + n);
  uint32_t cut = reply_short_ < m.size() ? reply_short_ : static_cast<uint32_t>(m.size());
  m.resize(m.size() - cut);
  uint64_t at = now_ns + reply_late_ns_;
  reply_short_ = 0;
  reply_late_ns_ = 0;
  send(m.data(), static_cast<uint32_t>(m.size()), at);
}

// ---- Parsing -----------------------------------------------------------------

void Stimulator::take_byte(uint8_t byte, uint64_t now_ns) {
  if (record_.empty()) {
    record_length_ = record_length_of(byte);
    if (record_length_ == kUnknownRecord) {
      ++counts_.unknown_bytes;
      return;
    }
  }
  record_.push_back(byte);
  if (record_[0] == 'L' && record_.size() == 3) record_length_ = 3u + record_[2];
  if (record_.size() >= record_length_) complete_record(now_ns);
}

void Stimulator::complete_record(uint64_t now_ns) {
  sim_stim_record entry = {};
  entry.at_ns = now_ns;
  entry.length = static_cast<uint32_t>(record_.size());
  for (size_t i = 0; i < record_.size() && i < SIM_STIM_RECORD_BYTES; ++i) entry.bytes[i] = record_[i];
  append_bounded(record_log_, entry, SIM_STIM_RECORD_LOG_CAPACITY);
  ++counts_.records;
  if (!obey(record_, now_ns)) ++counts_.bad_records;
  record_.clear();
  record_length_ = 0;
}

bool Stimulator::obey(const std::vector<uint8_t>& r, uint64_t now_ns) {
  switch (r[0]) {
    case 'V':
    case 'v':
      reply('v', reinterpret_cast<const uint8_t*>(config_.version), 6, now_ns);
      return true;
    case 'l': {
      if (r[1] != 0x01 || r[2] != 0xF0) return false;
      uint8_t payload[8 * SIM_STIM_TABLE_ENTRIES];
      for (uint32_t i = 0; i < SIM_STIM_TABLE_ENTRIES; ++i) put_double_le(table_[i], payload + 8 * i);
      reply('l', payload, sizeof payload, now_ns);
      return true;
    }
    case 't': {
      uint8_t payload[8];
      put_u64_be(clock_now(now_ns), payload);
      reply('t', payload, 8, now_ns);
      return true;
    }
    case 'L': {
      uint32_t index = r[1];
      if (r[2] != 8 || index > SIM_STIM_TABLE_ENTRIES) return false;
      if (index > 0) {
        table_[index - 1] = get_double_le(&r[3]);
        return true;
      }
      uint32_t k[2];
      if (!decode_backlight_count(&r[3], &k[0]) || !decode_backlight_count(&r[7], &k[1])) return false;
      // Stored and in effect.
      counts_.stored_backlight[0] = counts_.backlight[0] = k[0];
      counts_.stored_backlight[1] = counts_.backlight[1] = k[1];
      return true;
    }
    case 'B': {
      uint32_t k[2];
      if (!decode_backlight_count(&r[1], &k[0]) || !decode_backlight_count(&r[5], &k[1])) return false;
      counts_.backlight[0] = k[0];
      counts_.backlight[1] = k[1];
      return true;
    }
    case 'S':
      set_clock(get_u64_be(&r[1]), now_ns);
      return true;
    case 'f':
      take_flash_settings(r);
      return true;
    case 'D':
      counts_.flickering = 0;
      next_flash_ns_ = UINT64_MAX;
      stop_sine();
      return true;
    case 'W':
      stop_sine();
      return true;
    case 'E':
    case 'R':
      start_sine(r[0] == 'E' ? 0 : 1, now_ns);
      return true;
    case 'I':
      counts_.impedance_mode = 1;
      return true;
    case 'O':
      counts_.impedance_mode = 0;
      stop_sine();
      return true;
    case 'T':
      return r[1] == 'S' || r[1] == 'Z';
    case 'X':
      counts_.exited = 1;
      return true;
    case 'b': {
      uint8_t payload[8];
      encode_backlight_count(counts_.backlight[0], payload);
      encode_backlight_count(counts_.backlight[1], payload + 4);
      reply('b', payload, 8, now_ns);
      return true;
    }
    default:
      return true;
  }
}

void Stimulator::take_flash_settings(const std::vector<uint8_t>& r) {
  counts_.flash_word = (static_cast<uint32_t>(r[1]) << 8) | r[2];
  counts_.flash_mode = r[3];
  counts_.prescaler = r[4];
  counts_.flicker_count = (static_cast<uint32_t>(r[5]) << 8) | r[6];
  counts_.flash_us = (counts_.flash_word + 1) / 5.0;
  counts_.flicker_period_us =
      decode_flicker_period_us(counts_.flash_word, counts_.prescaler, counts_.flicker_count);
  flicker_period_ns_ = static_cast<uint64_t>(llround(counts_.flicker_period_us * 1000.0));
  counts_.armed = 1;
}

// ---- Clock ---------------------------------------------------------------------

void Stimulator::set_clock(uint64_t filetime, uint64_t now_ns) {
  clock_filetime_ = filetime;
  clock_set_ns_ = now_ns;
}

uint64_t Stimulator::clock_now(uint64_t now_ns) const {
  if (clock_filetime_ == 0) return 0;
  return clock_filetime_ + (now_ns - clock_set_ns_) / 100;
}

// ---- Flashes, sync and the sine ------------------------------------------------

uint64_t Stimulator::next_event_ns() const {
  uint64_t next = next_flash_ns_;
  if (sync_release_ns_ < next) next = sync_release_ns_;
  if (next_sine_sync_ns_ < next) next = next_sine_sync_ns_;
  return next;
}

void Stimulator::on_event(uint64_t now_ns) {
  if (sync_release_ns_ <= now_ns) {
    sync_release_ns_ = UINT64_MAX;
    gpio_.set_sync_level(true);
  }
  if (next_flash_ns_ <= now_ns) {
    flash(now_ns);
    // A flicker stops after its count of flashes, the 'f' mode byte (0: it
    // runs until 'D').
    const bool counted_out = counts_.flickering && counts_.flash_mode != 0 && ++flicker_flashes_ >= counts_.flash_mode;
    if (counts_.flickering && flicker_period_ns_ > 0 && !counted_out) {
      next_flash_ns_ += flicker_period_ns_;
    } else {
      counts_.flickering = 0;  // an 'f' without a period ends the flicker after this flash
      next_flash_ns_ = UINT64_MAX;
    }
  }
  if (next_sine_sync_ns_ <= now_ns) {
    pulse_sync(now_ns);
    next_sine_sync_ns_ += sine_sync_period_ns();
  }
}

void Stimulator::flash_trigger_edge(bool rising, uint64_t now_ns) {
  if (rising || !counts_.armed) return;
  // A flash already on its way, or a flicker running, takes no new trigger.
  if (next_flash_ns_ != UINT64_MAX) return;
  next_flash_ns_ = now_ns + static_cast<uint64_t>(config_.sync_delay_us) * 1000u;
  if (flicker_period_ns_ > 0) counts_.flickering = 1;
  flicker_flashes_ = 0;
}

void Stimulator::flash(uint64_t now_ns) {
  double volts = (dac_.output(kFlashOutput1) + dac_.output(kFlashOutput2)) / kCountsPerVolt;
  double background = 0.0;
  for (uint32_t output : {kBackgroundOutput1, kBackgroundOutput2}) {
    const double v = dac_.output(output) / kCountsPerVolt - kBackgroundThresholdVolts;
    if (v > 0.0) background += v;
  }
  Flash f = {now_ns, volts * counts_.flash_us / 1000.0, background};
  if (flash_history_.size() == kFlashHistory) flash_history_.pop_front();
  flash_history_.push_back(f);
  ++counts_.flashes;
  counts_.last_flash_ns = now_ns;
  counts_.last_flash_vms = f.volt_ms;
  pulse_sync(now_ns);
}

void Stimulator::pulse_sync(uint64_t now_ns) {
  if (no_sync_) return;
  gpio_.set_sync_level(false);
  ++counts_.sync_pulses;
  // A pulse lasts at most half the time to the next one, so that the line
  // is seen high in between.
  uint64_t pulse = static_cast<uint64_t>(config_.sync_pulse_us) * 1000u;
  uint64_t period = UINT64_MAX;
  if (counts_.flickering && flicker_period_ns_ > 0) period = flicker_period_ns_;
  if (sine_electrode_ >= 0 && sine_sync_period_ns() < period) period = sine_sync_period_ns();
  if (period != UINT64_MAX && pulse > period / 2) pulse = period / 2;
  sync_release_ns_ = now_ns + pulse;
}

uint64_t Stimulator::sine_sync_period_ns() const {
  // Whole sine periods, at least one.
  double cycles = floor(config_.sine_sync_ms * config_.sine_hz / 1000.0 + 0.5);
  if (cycles < 1.0) cycles = 1.0;
  return static_cast<uint64_t>(llround(cycles * 1e9 / config_.sine_hz));
}

void Stimulator::start_sine(int electrode, uint64_t now_ns) {
  sine_electrode_ = electrode;
  counts_.sine_electrode = electrode;
  sine_start_ns_ = now_ns;
  next_sine_sync_ns_ = now_ns + sine_sync_period_ns();
}

void Stimulator::stop_sine() {
  sine_electrode_ = -1;
  counts_.sine_electrode = -1;
  next_sine_sync_ns_ = UINT64_MAX;
}

double Stimulator::sine_peak_to_peak_uv(double ohms) const {
  double uv = (ohms - config_.ohms_offset) / config_.ohms_per_uv;
  return uv > 0.0 ? uv : 0.0;
}

// ---- Test side -----------------------------------------------------------------

void Stimulator::set_config(const sim_stim_config& config) {
  sim_stim_config c = config;
  if (!(c.sine_hz > 0.0)) c.sine_hz = config_.sine_hz;
  if (c.sine_sync_ms == 0) c.sine_sync_ms = config_.sine_sync_ms;
  if (c.ohms_per_uv == 0.0) c.ohms_per_uv = config_.ohms_per_uv;
  config_ = c;
}

void Stimulator::set_table(const double* entries) {
  for (uint32_t i = 0; i < SIM_STIM_TABLE_ENTRIES; ++i) table_[i] = entries[i];
}

void Stimulator::get_table(double* out) const {
  for (uint32_t i = 0; i < SIM_STIM_TABLE_ENTRIES; ++i) out[i] = table_[i];
}

sim_stim_state Stimulator::state(uint64_t now_ns) const {
  sim_stim_state s = counts_;
  s.partial = static_cast<uint32_t>(record_.size());
  s.clock_filetime = clock_now(now_ns);
  return s;
}

uint32_t Stimulator::records(sim_stim_record* out, uint32_t max) const {
  uint32_t n = 0;
  for (auto it = record_log_.begin(); out && n < max && it != record_log_.end(); ++it) out[n++] = *it;
  return static_cast<uint32_t>(record_log_.size());
}

uint32_t Stimulator::received(uint8_t* out, uint32_t max) const {
  uint32_t n = 0;
  for (auto it = received_log_.begin(); out && n < max && it != received_log_.end(); ++it) out[n++] = *it;
  return static_cast<uint32_t>(received_log_.size());
}

void Stimulator::clear_logs() {
  record_log_.clear();
  received_log_.clear();
}

void Stimulator::set_fault(int fault, int64_t param) {
  const int64_t hour_us = 3600000000ll;
  switch (fault) {
    case SIM_FAULT_STIM_REPLY_LATE:
      if (param > 0) reply_late_ns_ = static_cast<uint64_t>(param < hour_us ? param : hour_us) * 1000u;
      break;
    case SIM_FAULT_STIM_REPLY_SHORT:
      if (param > 0) reply_short_ = param < 1000 ? static_cast<uint32_t>(param) : 1000u;
      break;
    case SIM_FAULT_STIM_SILENT: silent_ = true; break;
    case SIM_FAULT_STIM_NO_SYNC: no_sync_ = true; break;
    default: break;
  }
}

void Stimulator::clear_fault(int fault) {
  switch (fault) {
    case SIM_FAULT_STIM_REPLY_LATE: reply_late_ns_ = 0; break;
    case SIM_FAULT_STIM_REPLY_SHORT: reply_short_ = 0; break;
    case SIM_FAULT_STIM_SILENT: silent_ = false; break;
    case SIM_FAULT_STIM_NO_SYNC: no_sync_ = false; break;
    default: break;
  }
}

}  // namespace simunit
