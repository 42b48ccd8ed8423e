// The process attach: the register blocks mapped.
#include "hwlib/attach.h"

#include "hwlib/block_map.h"
#include "hwlib/registers.h"

namespace {

void clear_gpio_bits(uint32_t word, uint32_t mask) { gpio_write(word, gpio_read(word) & ~mask); }

}  // namespace

int hwlib_attach(void) {
  spi_regs = map_block(SPI_PHYSICAL, SPI_BYTES);
  if (spi_regs == nullptr) return 0;

  gpio_regs = map_block(GPIO_PHYSICAL, GPIO_BYTES);
  if (gpio_regs == nullptr) return 0;
  clear_gpio_bits(13, 0x01);
  clear_gpio_bits(22, 0x01);

  uart3_regs = map_block(UART3_PHYSICAL, UART3_BYTES);
  if (uart3_regs == nullptr) return 0;
  uart3_write(3, uart3_read(3) & ~0x03u);
  return 1;
}
