// The steps the converter exchanges are built from: bounded waits on the SPI
// status and the data-ready line, sending and receiving one byte, settling
// pauses and sign extension.
//
// Every wait keeps its own start tick, so a wait running on another thread
// never restarts this one's time-out. A limit of N ms gives up at the first
// tick more than N past the start: at least N and at most N+1 ms at a 1 ms
// tick.
#ifndef HWLIB_SPI_STEPS_H
#define HWLIB_SPI_STEPS_H

#include <stdint.h>

#include "hwlib/registers.h"

// The mask of one bit; empty for a bit number of 32 or more.
inline uint32_t bit_mask(uint32_t bit) { return bit < 32 ? 1u << bit : 0u; }

// Reads a register word until done(word) holds or more than limit_ms has
// passed since start. *last receives the last word read.
template <class Read, class Done>
bool poll_until(uint32_t start, uint32_t limit_ms, Read read, Done done, uint32_t* last) {
  for (;;) {
    const uint32_t word = read();
    *last = word;
    if (done(word)) return true;
    if (tick_ms() - start > limit_ms) return false;
  }
}

inline uint32_t read_status() { return spi_read(SPI_STATUS); }
inline uint32_t read_data_ready_word() { return gpio_read(GPIO_DATA_READY); }

// Waits until every bit of mask is set in the SPI status word.
inline bool status_set_within(uint32_t mask, uint32_t limit_ms, uint32_t* status) {
  return poll_until(tick_ms(), limit_ms, read_status,
                    [mask](uint32_t s) { return (s & mask) == mask; }, status);
}

// TX idle: the transmit FIFO is empty and the last byte shifted out.
inline bool tx_idle_within(uint32_t limit_ms, uint32_t* status) {
  return status_set_within(SPI_TX_IDLE, limit_ms, status);
}

inline bool tx_not_full_within(uint32_t limit_ms, uint32_t* status) {
  return status_set_within(SPI_TX_NOT_FULL, limit_ms, status);
}

// Drain: reads and discards received bytes until the receive FIFO is empty;
// gives up when the limit passes with bytes still arriving.
inline bool drain_since(uint32_t start, uint32_t limit_ms, uint32_t* status) {
  for (;;) {
    *status = read_status();
    if ((*status & SPI_RX_NOT_EMPTY) == 0) return true;
    (void)spi_read(SPI_DATA);
    if (tick_ms() - start > limit_ms) return false;
  }
}

inline bool drain_within(uint32_t limit_ms, uint32_t* status) {
  return drain_since(tick_ms(), limit_ms, status);
}

// Receive: waits for a received byte and takes it.
inline bool receive_within(uint32_t limit_ms, uint8_t* byte) {
  uint32_t status;
  if (!status_set_within(SPI_RX_NOT_EMPTY, limit_ms, &status)) return false;
  *byte = static_cast<uint8_t>(spi_read(SPI_DATA) & 0xFF);
  return true;
}

// Data-ready low (a conversion is ready), measured from a given start tick.
inline bool data_ready_low_since(uint32_t start, uint32_t limit_ms, uint32_t* gpio12) {
  return poll_until(start, limit_ms, read_data_ready_word,
                    [](uint32_t w) { return (w & GPIO_DATA_READY_BIT) == 0; }, gpio12);
}

inline bool data_ready_high_since(uint32_t start, uint32_t limit_ms, uint32_t* gpio12) {
  return poll_until(start, limit_ms, read_data_ready_word,
                    [](uint32_t w) { return (w & GPIO_DATA_READY_BIT) != 0; }, gpio12);
}

inline bool data_ready_low_within(uint32_t limit_ms, uint32_t* gpio12) {
  return data_ready_low_since(tick_ms(), limit_ms, gpio12);
}

// Transmits one byte.
inline void send(uint8_t byte) { spi_write(SPI_DATA, byte); }

// Settling pause: a fixed number of empty iterations.
inline void spin(uint32_t iterations) {
  for (volatile uint32_t i = 0; i < iterations; i = i + 1) {
  }
}

// A 24-bit two's-complement value, sign-extended from bit 23.
inline int32_t sign_extend_24(uint32_t value) {
  return static_cast<int32_t>((value & 0xFFFFFFu) ^ 0x800000u) - 0x800000;
}

#endif
