// Register access of the analog-to-digital converter (RREG, WREG) and the
// digital-to-analog converter's 16-bit word.
//
// The converter register number is masked to 4 bits, so that no register
// number can turn the command byte into another command (0x40 would make a
// read into a write, 0xE0 into a self-calibration).
#include "hwlib/hwlib_exports.h"
#include "hwlib/spi_steps.h"

namespace {

const uint8_t RREG = 0x10;
const uint8_t WREG = 0x50;
const uint8_t REGISTER_CLOCK_OUT = 0xAA;

uint8_t command_with_register(uint8_t command, uint8_t reg) {
  return static_cast<uint8_t>(command | (reg & 0x0F));
}

}  // namespace

extern "C" {

// Time-outs return 224 to 228, which are also possible register contents;
// callers only display the result.
uint32_t get_1255_reg(uint8_t reg) {
  uint32_t status;
  if (!tx_idle_within(2, &status)) return 224;
  if (!drain_within(5, &status)) return 228;
  send(command_with_register(RREG, reg));
  send(0x00);  // one register
  if (!tx_idle_within(2, &status)) return 225;
  uint8_t byte;
  if (!receive_within(2, &byte)) return 226;
  if (!receive_within(2, &byte)) return 227;
  spin(200);
  send(REGISTER_CLOCK_OUT);
  if (!receive_within(2, &byte)) return 228;
  return byte;
}

uint32_t put_1255_reg(uint8_t reg, uint32_t value) {
  uint32_t status;
  if (!tx_not_full_within(5, &status)) return 0;
  send(command_with_register(WREG, reg));
  send(0x00);  // one register
  send(static_cast<uint8_t>(value & 0xFF));
  if (!tx_idle_within(5, &status)) return 0;
  // The three echoes, read without looking at the status.
  (void)spi_read(SPI_DATA);
  (void)spi_read(SPI_DATA);
  (void)spi_read(SPI_DATA);
  spin(200);
  return 1;
}

// The word on the bus: the 4-bit command, then the 12-bit value, most
// significant bit first.
uint32_t put_5722(uint8_t command, uint16_t value) {
  uint32_t status;
  if (!tx_not_full_within(5, &status)) return 0;
  send(static_cast<uint8_t>((command << 4) | ((value >> 8) & 0x0F)));
  send(static_cast<uint8_t>(value & 0xFF));
  if (!tx_idle_within(5, &status)) return 0;
  (void)spi_read(SPI_DATA);
  (void)spi_read(SPI_DATA);
  spin(120);
  return 1;
}

}  // extern "C"
