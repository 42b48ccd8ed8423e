// Register access of the hardware library: the three mapped register blocks,
// the word accessors every export goes through, and the library's tick.
//
// The device builds compile the accessors to volatile 32-bit loads and
// stores on the mapped blocks; the simulated build (HWLIB_SIMULATED) hands
// each access to the simulated board. Either way a word index outside its
// block, or a block that is not mapped, reads 0 and ignores writes.
#ifndef HWLIB_REGISTERS_H
#define HWLIB_REGISTERS_H

#include <stdint.h>

#if defined(HWLIB_SIMULATED)
#include "platform/unit/sim_unit.h"
typedef void* register_block;
#else
typedef volatile uint32_t* register_block;
#endif

// Word counts of the blocks, fixed by the board.
enum : uint32_t {
  SPI_WORDS = 6,
  GPIO_WORDS = 34,
  UART3_WORDS = 11,
};

// Physical addresses and byte sizes of the blocks.
enum : uint32_t {
  SPI_PHYSICAL = 0x80000B00u,
  SPI_BYTES = SPI_WORDS * 4,
  GPIO_PHYSICAL = 0x80000E00u,
  GPIO_BYTES = GPIO_WORDS * 4,
  UART3_PHYSICAL = 0x80000800u,
  UART3_BYTES = UART3_WORDS * 4,
};

// Words and bits the library itself uses.
enum : uint32_t {
  SPI_DATA = 3,              // write: transmit the low byte; read: oldest received byte
  SPI_STATUS = 5,
  SPI_TX_IDLE = 0x80,        // transmit FIFO empty and the last byte shifted out
  SPI_TX_NOT_FULL = 0x10,
  SPI_RX_NOT_EMPTY = 0x04,
  GPIO_DATA_READY = 12,      // bit 0: the converter's data-ready line, 0 = ready
  GPIO_DATA_READY_BIT = 0x01,
};

// The mapped blocks; null until attach maps them.
extern register_block spi_regs;
extern register_block gpio_regs;
extern register_block uart3_regs;

inline uint32_t register_read(register_block block, uint32_t words, uint32_t word) {
  if (block == nullptr || word >= words) return 0;
#if defined(HWLIB_SIMULATED)
  return sim_reg_read(block, word);
#else
  return block[word];
#endif
}

inline void register_write(register_block block, uint32_t words, uint32_t word, uint32_t value) {
  if (block == nullptr || word >= words) return;
#if defined(HWLIB_SIMULATED)
  sim_reg_write(block, word, value);
#else
  block[word] = value;
#endif
}

inline uint32_t spi_read(uint32_t word) { return register_read(spi_regs, SPI_WORDS, word); }
inline void spi_write(uint32_t word, uint32_t value) { register_write(spi_regs, SPI_WORDS, word, value); }
inline uint32_t gpio_read(uint32_t word) { return register_read(gpio_regs, GPIO_WORDS, word); }
inline void gpio_write(uint32_t word, uint32_t value) { register_write(gpio_regs, GPIO_WORDS, word, value); }
inline uint32_t uart3_read(uint32_t word) { return register_read(uart3_regs, UART3_WORDS, word); }
inline void uart3_write(uint32_t word, uint32_t value) { register_write(uart3_regs, UART3_WORDS, word, value); }

// The platform's millisecond tick count.
#if defined(HWLIB_SIMULATED)
inline uint32_t tick_ms() { return sim_tick_ms(); }
#else
uint32_t tick_ms();
#endif

#endif
