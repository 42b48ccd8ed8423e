#include "platform/unit/board.h"

#include <memory>

#include "platform/unit/signal_source.h"

namespace simunit {

namespace {

struct BlockInfo {
  uint64_t base;
  uint32_t words;
};
// The handles given out by map_block: stable for the life of the process.
const BlockInfo kBlocks[] = {
    {SIM_SPI_BASE, SIM_SPI_WORDS},
    {SIM_GPIO_BASE, SIM_GPIO_WORDS},
    {SIM_UART3_BASE, SIM_UART3_WORDS},
};

// The clock stops here rather than wrap (some 146 years of virtual time).
constexpr uint64_t kClockLimitNs = 1ull << 62;

// A count given as a fault's parameter: negative is 0, above 32 bits the most.
uint32_t count_param(int64_t param) {
  if (param < 0) return 0;
  return param < UINT32_MAX ? static_cast<uint32_t>(param) : UINT32_MAX;
}

template <typename T>
void append_bounded(std::deque<T>& log, const T& entry, size_t capacity) {
  if (log.size() == capacity) log.pop_front();
  log.push_back(entry);
}

}  // namespace

Board::Board() : spi_(counters_), adc_(counters_), dac_(counters_) {
  gpio_.attach_flash_listener(&stimulator_);
  reset();
}

Board& the_board() {
  static Board board;
  return board;
}

void Board::reset() {
  counters_ = {};
  spi_.reset();
  gpio_.reset();
  adc_.power_on(now_ns_);
  dac_.reset();
  stimulator_.reset(now_ns_);
  electrodes_.reset(now_ns_);
  for (uint32_t& w : uart3_) w = 0;
  map_fail_ = false;
  map_fail_address_ = 0;
  bus_log_.clear();
  map_log_.clear();
}

// ---- Clock and timed events ----------------------------------------------------

void Board::advance(uint64_t ns) {
  uint64_t t = ns < kClockLimitNs - now_ns_ ? now_ns_ + ns : kClockLimitNs;
  run_until(t);
}

uint32_t Board::tick_ms() {
  advance(SIM_ACCESS_NS);
  return static_cast<uint32_t>(now_ns_ / 1000000);
}

void Board::run_until(uint64_t t) {
  // Events in time order; at equal times the converter goes first, so a
  // conversion finishing as a byte completes is seen by that byte (and one
  // made as a flash goes off does not see it yet), then the stimulator, then
  // the shifter.
  for (;;) {
    uint64_t shift = spi_.next_event_ns();
    uint64_t stimulus = stimulator_.next_event_ns();
    uint64_t next = shift < stimulus ? shift : stimulus;
    if (next > t) {
      adc_.advance_to(t);
      break;
    }
    adc_.advance_to(next);
    if (stimulus <= shift) {
      stimulator_.on_event(stimulus);
    } else {
      shift_done(shift);
    }
  }
  now_ns_ = t;
}

void Board::set_signal(uint32_t input, const sim_signal& signal) {
  adc_.set_source(input, std::make_unique<SignalSource>(signal, stimulator_, electrodes_, now_ns_));
}

void Board::shift_done(uint64_t at_ns) {
  sim_bus_byte b = {};
  b.mosi = spi_.finish_shift(at_ns);
  // The byte goes to the device whose chip select is low as it completes.
  uint32_t cs = gpio_.latch(kChipSelectWord);
  bool adc = (cs & kAdcSelectBit) == 0;
  bool dac = (cs & kDacSelectBit) == 0;
  if (adc && dac) {
    ++counters_.bus_contention;
    b.device = SIM_DEV_BOTH;
    b.miso = 0xFF;  // neither device gets the byte
  } else if (adc) {
    b.device = SIM_DEV_ADC;
    b.miso = adc_.exchange(b.mosi, at_ns);
  } else if (dac) {
    b.device = SIM_DEV_DAC;
    b.miso = dac_.exchange(b.mosi);
  } else {
    b.device = SIM_DEV_NONE;
    b.miso = 0xFF;  // nothing drives the input line: it floats high
  }
  b.withheld = spi_.receive(b.miso) ? 1 : 0;
  append_bounded(bus_log_, b, SIM_BUS_LOG_CAPACITY);
}

// ---- Register blocks -----------------------------------------------------------

void* Board::map_block(uint64_t physical_address, uint32_t bytes) {
  append_bounded(map_log_, physical_address, SIM_MAP_LOG_CAPACITY);
  if (map_fail_ && physical_address == map_fail_address_) return nullptr;
  for (const BlockInfo& b : kBlocks) {
    if (b.base != physical_address) continue;
    if (bytes < b.words * 4u) return nullptr;
    return const_cast<BlockInfo*>(&b);
  }
  return nullptr;
}

Board::Kind Board::kind_of(const void* block) const {
  if (block == &kBlocks[0]) return Kind::Spi;
  if (block == &kBlocks[1]) return Kind::Gpio;
  if (block == &kBlocks[2]) return Kind::Uart3;
  return Kind::None;
}

uint32_t Board::reg_read(void* block, uint32_t word) {
  advance(SIM_ACCESS_NS);
  Kind kind = kind_of(block);
  if (kind == Kind::None || word >= static_cast<const BlockInfo*>(block)->words) return 0;
  switch (kind) {
    case Kind::Spi: return spi_.read(word);
    case Kind::Gpio: return gpio_.read(word, adc_.data_ready_high());
    default: return uart3_[word];
  }
}

void Board::reg_write(void* block, uint32_t word, uint32_t value) {
  advance(SIM_ACCESS_NS);
  Kind kind = kind_of(block);
  if (kind == Kind::None || word >= static_cast<const BlockInfo*>(block)->words) return;
  switch (kind) {
    case Kind::Spi: spi_.write(word, value, now_ns_); break;
    case Kind::Gpio: gpio_write(word, value); break;
    default: uart3_[word] = value; break;
  }
}

void Board::gpio_write(uint32_t word, uint32_t value) {
  uint32_t before = gpio_.latch(kChipSelectWord);
  gpio_.write(word, value, now_ns_);
  if (word != kChipSelectWord) return;
  uint32_t rose = ~before & gpio_.latch(kChipSelectWord);
  if (rose & kAdcSelectBit) adc_.chip_deselected();
  if (rose & kDacSelectBit) dac_.chip_deselected();
}

// ---- Faults --------------------------------------------------------------------

void Board::set_fault(int fault, int64_t param) {
  switch (fault) {
    case SIM_FAULT_DRDY_STUCK_HIGH: adc_.set_stuck_high(true); break;
    case SIM_FAULT_DRDY_STUCK_LOW: adc_.set_stuck_low(true); break;
    case SIM_FAULT_CONVERSION_LATE:
      // A negative delay means none; longer than an hour is taken as an hour.
      if (param > 0) {
        const int64_t hour_us = 3600000000ll;
        adc_.delay_next_conversion(static_cast<uint64_t>(param < hour_us ? param : hour_us) * 1000u);
      }
      break;
    // A negative count of replies means no fault.
    case SIM_FAULT_WITHHOLD_RX_BYTE:
      if (param >= 0) spi_.withhold_reply(count_param(param));
      break;
    case SIM_FAULT_WITHHOLD_RX_FROM:
      if (param >= 0) spi_.withhold_replies_from(count_param(param));
      break;
    // A negative count of bytes stops the shifter at once, like 0.
    case SIM_FAULT_TX_NEVER_IDLE: spi_.stop_after(count_param(param), now_ns_); break;
    case SIM_FAULT_RX_FLOOD: spi_.set_flood(true); break;
    case SIM_FAULT_MAP_FAIL:
      map_fail_ = true;
      map_fail_address_ = static_cast<uint64_t>(param);
      break;
    default: stimulator_.set_fault(fault, param); break;
  }
}

void Board::clear_fault(int fault) {
  switch (fault) {
    case SIM_FAULT_DRDY_STUCK_HIGH: adc_.set_stuck_high(false); break;
    case SIM_FAULT_DRDY_STUCK_LOW: adc_.set_stuck_low(false); break;
    case SIM_FAULT_CONVERSION_LATE: adc_.delay_next_conversion(0); break;
    case SIM_FAULT_WITHHOLD_RX_BYTE: spi_.clear_withhold(); break;
    case SIM_FAULT_WITHHOLD_RX_FROM: spi_.clear_withhold_from(); break;
    case SIM_FAULT_TX_NEVER_IDLE: spi_.restart(now_ns_); break;
    case SIM_FAULT_RX_FLOOD: spi_.set_flood(false); break;
    case SIM_FAULT_MAP_FAIL: map_fail_ = false; break;
    default: stimulator_.clear_fault(fault); break;
  }
}

// ---- Logs ----------------------------------------------------------------------

uint32_t Board::bus_log(sim_bus_byte* out, uint32_t max) const {
  uint32_t n = 0;
  for (auto it = bus_log_.begin(); out && n < max && it != bus_log_.end(); ++it) out[n++] = *it;
  return static_cast<uint32_t>(bus_log_.size());
}

uint32_t Board::map_log(uint64_t* out, uint32_t max) const {
  uint32_t n = 0;
  for (auto it = map_log_.begin(); out && n < max && it != map_log_.end(); ++it) out[n++] = *it;
  return static_cast<uint32_t>(map_log_.size());
}

}  // namespace simunit
