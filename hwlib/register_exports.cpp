// Register-level exports: SPI set-up, SPI, GPIO and UART word access, and the
// bounded waits on a register bit.
#include "hwlib/hwlib_exports.h"
#include "hwlib/spi_steps.h"

namespace {

// A set-up value of this or more leaves its word alone.
const uint32_t kSetupLimit = 1000000;

// Waits while (word AND mask) equals state. 1 when that ends, 0 on time-out.
template <class Read>
uint32_t wait_while_masked(Read read, uint8_t bit, uint8_t state, uint32_t timeout_ms) {
  const uint32_t mask = bit_mask(bit);
  uint32_t last;
  return poll_until(tick_ms(), timeout_ms, read,
                    [mask, state](uint32_t w) { return (w & mask) != state; }, &last)
             ? 1u
             : 0u;
}

}  // namespace

extern "C" {

uint32_t spi_setup(uint32_t a, uint32_t b, uint32_t c) {
  if (a < kSetupLimit) spi_write(0, a);
  if (b < kSetupLimit) spi_write(1, b);
  if (c < kSetupLimit) spi_write(4, c);
  return 1;
}

uint32_t get_spi_reg(uint8_t word) { return spi_read(word); }

void put_spi_reg(uint8_t word, uint32_t value) { spi_write(word, value); }

uint32_t get_gpio_reg(uint8_t word) { return gpio_read(word); }

void put_gpio_reg(uint8_t word, uint32_t value) { gpio_write(word, value); }

void put_gpio_bit(uint8_t word, uint8_t bit, uint8_t state) {
  const uint32_t mask = bit_mask(bit);
  if (mask == 0) return;
  const uint32_t value = gpio_read(word);
  gpio_write(word, state != 0 ? (value | mask) : (value & ~mask));
}

uint32_t get_uart3_reg(uint8_t word) { return uart3_read(word); }

uint32_t wait_while_spi_bit(uint8_t word, uint8_t bit, uint8_t state, uint32_t timeout_ms) {
  return wait_while_masked([word] { return spi_read(word); }, bit, state, timeout_ms);
}

uint32_t wait_while_gpio_bit(uint8_t word, uint8_t bit, uint8_t state, uint32_t timeout_ms) {
  return wait_while_masked([word] { return gpio_read(word); }, bit, state, timeout_ms);
}

uint32_t wait_till_xmit_fifo_empty(void) {
  uint32_t status;
  return tx_idle_within(10, &status) ? 1u : 0u;
}

}  // extern "C"
