// The board's SPI controller: set-up words, the transmit FIFO feeding a
// one-byte shifter, the receive FIFO and the status word.
#ifndef PLATFORM_UNIT_SPI_H
#define PLATFORM_UNIT_SPI_H

#include <stdint.h>

#include "platform/unit/byte_fifo.h"
#include "platform/unit/sim_unit.h"

namespace simunit {

constexpr uint64_t kNever = UINT64_MAX;

class Spi {
 public:
  explicit Spi(sim_counters& counters) : counters_(counters) {}

  void reset();  // power-on: words 0, FIFOs empty, shifter idle, no faults

  uint32_t read(uint32_t word);  // word 3 pops a received byte
  void write(uint32_t word, uint32_t value, uint64_t now_ns);

  // When the byte in the shifter is done (kNever while idle or stopped).
  uint64_t next_event_ns() const;
  // Completes the byte in the shifter at now_ns and starts the next one;
  // returns the byte sent.
  uint8_t finish_shift(uint64_t now_ns);
  // Offers the reply to a shifted byte to the receive FIFO; returns true when
  // a fault withheld it.
  bool receive(uint8_t reply);

  // Faults.
  // Lets `bytes` more bytes finish shifting (the one in the shifter
  // included), then stops the shifter; 0 stops it at once.
  void stop_after(uint32_t bytes, uint64_t now_ns);
  void restart(uint64_t now_ns);
  void set_flood(bool flood) { flood_ = flood; }
  // Withholds the n-th reply from now (0 = the next), that one only.
  void withhold_reply(uint32_t replies_from_now);
  void clear_withhold() { withhold_ = false; }
  // Withholds every reply from the n-th from now on, until cleared.
  void withhold_replies_from(uint32_t replies_from_now);
  void clear_withhold_from() { withhold_from_ = false; }

 private:
  void start_shift(uint64_t now_ns);
  uint32_t status() const;
  bool withheld_now();

  sim_counters& counters_;
  uint32_t setup_[SIM_SPI_WORDS] = {};  // words 0, 1, 2 and 4 are plain storage
  ByteFifo<SIM_FIFO_DEPTH> tx_;
  ByteFifo<SIM_FIFO_DEPTH> rx_;
  bool shifting_ = false;
  uint8_t shift_byte_ = 0;
  uint64_t shift_done_ns_ = 0;
  bool stopped_ = false;
  bool stop_pending_ = false;       // stop once stop_countdown_ more bytes are done
  uint32_t stop_countdown_ = 0;
  bool flood_ = false;
  bool withhold_ = false;
  uint32_t withhold_countdown_ = 0;
  bool withhold_from_ = false;
  uint32_t withhold_from_countdown_ = 0;
};

}  // namespace simunit

#endif
