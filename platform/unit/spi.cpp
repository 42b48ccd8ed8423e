#include "platform/unit/spi.h"

namespace simunit {

namespace {
constexpr uint32_t kDataWord = 3;
constexpr uint32_t kStatusWord = 5;
}  // namespace

void Spi::reset() {
  for (uint32_t& w : setup_) w = 0;
  tx_.clear();
  rx_.clear();
  shifting_ = false;
  shift_byte_ = 0;
  shift_done_ns_ = 0;
  stopped_ = false;
  stop_pending_ = false;
  stop_countdown_ = 0;
  flood_ = false;
  withhold_ = false;
  withhold_countdown_ = 0;
  withhold_from_ = false;
  withhold_from_countdown_ = 0;
}

uint32_t Spi::status() const {
  uint32_t s = 0;
  // A stopped shifter never reports idle, even with nothing queued.
  if (!stopped_ && !shifting_ && tx_.empty()) s |= SIM_SPI_TX_IDLE;
  if (!tx_.full()) s |= SIM_SPI_TX_NOT_FULL;
  if (flood_ || !rx_.empty()) s |= SIM_SPI_RX_NOT_EMPTY;
  return s;
}

uint32_t Spi::read(uint32_t word) {
  if (word == kStatusWord) return status();
  if (word != kDataWord) return setup_[word];
  // A flooded receive FIFO hands out 0xFF and keeps what it really holds.
  if (flood_) return 0xFF;
  // Reading an empty FIFO does not wait: the controller returns 0.
  if (rx_.empty()) return 0;
  return rx_.pop();
}

void Spi::write(uint32_t word, uint32_t value, uint64_t now_ns) {
  if (word == kStatusWord) return;  // read-only
  if (word != kDataWord) {
    setup_[word] = value;
    return;
  }
  if (tx_.full()) {
    ++counters_.tx_overflows;
    return;
  }
  tx_.push(static_cast<uint8_t>(value & 0xFF));
  if (!shifting_ && !stopped_) start_shift(now_ns);
}

void Spi::start_shift(uint64_t now_ns) {
  shift_byte_ = tx_.pop();
  shifting_ = true;
  shift_done_ns_ = now_ns + SIM_SPI_BYTE_NS;
}

uint64_t Spi::next_event_ns() const {
  return (shifting_ && !stopped_) ? shift_done_ns_ : kNever;
}

uint8_t Spi::finish_shift(uint64_t now_ns) {
  uint8_t sent = shift_byte_;
  shifting_ = false;
  if (stop_pending_ && --stop_countdown_ == 0) {
    // The last byte let through is done: what is still queued stays queued.
    stop_pending_ = false;
    stopped_ = true;
  }
  if (!stopped_ && !tx_.empty()) start_shift(now_ns);  // back to back, no gap
  return sent;
}

// Both withholding faults count every reply offered, whichever takes it.
bool Spi::withheld_now() {
  bool withheld = false;
  if (withhold_) {
    if (withhold_countdown_ == 0) {
      withhold_ = false;  // the fault takes one byte and is gone
      withheld = true;
    } else {
      --withhold_countdown_;
    }
  }
  if (withhold_from_) {
    if (withhold_from_countdown_ == 0) {
      withheld = true;  // and every later one, until cleared
    } else {
      --withhold_from_countdown_;
    }
  }
  return withheld;
}

bool Spi::receive(uint8_t reply) {
  if (withheld_now()) return true;
  if (rx_.full()) {
    ++counters_.rx_overruns;
    return false;
  }
  rx_.push(reply);
  return false;
}

void Spi::stop_after(uint32_t bytes, uint64_t now_ns) {
  if (bytes == 0) {
    stop_pending_ = false;
    stopped_ = true;  // a byte caught in the shifter stays there
    return;
  }
  // A shifter already stopped runs again for those bytes.
  restart(now_ns);
  stop_pending_ = true;
  stop_countdown_ = bytes;
}

void Spi::restart(uint64_t now_ns) {
  stop_pending_ = false;
  if (!stopped_) return;
  stopped_ = false;
  // A byte caught in the shifter is shifted anew from now.
  if (shifting_) {
    shift_done_ns_ = now_ns + SIM_SPI_BYTE_NS;
  } else if (!tx_.empty()) {
    start_shift(now_ns);
  }
}

void Spi::withhold_reply(uint32_t replies_from_now) {
  withhold_ = true;
  withhold_countdown_ = replies_from_now;
}

void Spi::withhold_replies_from(uint32_t replies_from_now) {
  withhold_from_ = true;
  withhold_from_countdown_ = replies_from_now;
}

}  // namespace simunit
