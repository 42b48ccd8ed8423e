// Conversion reads of the 24-bit analog-to-digital converter: one conversion
// (RDATA), one conversion from each of inputs 0 and 1, and a run of
// conversions in continuous mode (RDATAC ... SDATAC).
//
// Failures are result codes: a class in the top byte and, where it helps, the
// SPI status word or GPIO word 12 in the low bits.
#include "hwlib/hwlib_exports.h"
#include "hwlib/spi_steps.h"

namespace {

// Converter commands.
const uint8_t RDATA = 0x01;
const uint8_t RDATAC = 0x03;
const uint8_t SDATAC = 0x0F;
const uint8_t WREG_MUX = 0x51;  // WREG starting at the multiplexer register
const uint8_t SYNC = 0xFC;
const uint8_t WAKEUP = 0xFF;
const uint8_t CLOCK_OUT = 0x20;  // dummy byte clocking out a result byte
const uint8_t CONTINUOUS_CLOCK_OUT = 0xBB;

// Result codes.
const uint32_t DATA_OK = 3;
const uint32_t TX_NOT_IDLE = 0xF0000000u;
const uint32_t NOT_READY = 0xF1000000u;
const uint32_t NO_ECHO = 0xF3000000u;
const uint32_t NOT_DRAINED = 0xF4000000u;
const uint32_t NOT_READY_AT_END = 0xFC000000u;
const uint32_t NEXT_NOT_READY = 0xAA000000u;
const uint32_t READY_STUCK_LOW = 0xCC000000u;
const uint32_t BYTE_LATE = 0xB0000000u;  // OR (byte number << 20)

uint32_t byte_late(uint32_t number) { return BYTE_LATE | (number << 20); }

const uint32_t SPIN_SHORT = 120;
const uint32_t SPIN_LONG = 200;

// A byte of an RDATA exchange late: its number in the low bits of the class,
// 3 in the low bits of the code.
uint32_t exchange_byte_late(uint32_t number) { return byte_late(number) | 3; }

// Receives the three data bytes of a conversion, most significant first, and
// stores the sign-extended value. 0, or the code of the late byte, counting
// the first data byte as `first_number`.
uint32_t receive_conversion(uint32_t first_number, int32_t* value) {
  uint32_t raw = 0;
  for (uint32_t k = 0; k < 3; ++k) {
    uint8_t byte;
    if (!receive_within(2, &byte)) return exchange_byte_late(first_number + k);
    raw = (raw << 8) | byte;
  }
  *value = sign_extend_24(raw);
  return 0;
}

// One conversion from input 0 (mux 0x08) or input 1 (mux 0x18) into *value.
// 0 when it succeeded, else the result code.
uint32_t read_input(uint8_t mux, int32_t* value) {
  send(WREG_MUX);
  send(0x00);
  send(mux);
  spin(SPIN_SHORT);
  send(SYNC);
  spin(SPIN_SHORT);
  send(WAKEUP);

  // Four of the five echoes; the fifth is taken after RDATA.
  const uint32_t echo_numbers[4] = {1, 1, 2, 3};
  for (uint32_t number : echo_numbers) {
    uint8_t discard;
    if (!receive_within(2, &discard)) return exchange_byte_late(number);
  }

  uint32_t gpio12;
  if (!data_ready_low_within(3, &gpio12)) return NOT_READY | gpio12;

  send(RDATA);
  uint8_t discard;  // the fifth echo
  if (!receive_within(2, &discard)) return exchange_byte_late(4);

  uint32_t status;
  if (!tx_idle_within(2, &status)) return TX_NOT_IDLE | status;
  spin(SPIN_LONG);

  send(CLOCK_OUT);
  send(CLOCK_OUT);
  send(CLOCK_OUT);
  if (!receive_within(2, &discard)) return exchange_byte_late(5);  // RDATA's echo
  return receive_conversion(6, value);
}

}  // namespace

extern "C" {

uint32_t get_1255_data(int32_t* value) {
  uint32_t status;
  if (!tx_idle_within(2, &status)) return TX_NOT_IDLE | status;
  if (!drain_within(5, &status)) return NOT_DRAINED | status;
  uint32_t gpio12;
  if (!data_ready_low_within(2, &gpio12)) return NOT_READY | gpio12;

  send(RDATA);
  if (!tx_idle_within(2, &status)) return TX_NOT_IDLE | status;
  spin(SPIN_LONG);

  send(CLOCK_OUT);
  send(CLOCK_OUT);
  send(CLOCK_OUT);
  uint8_t discard;  // clocked in while RDATA was sent
  if (!receive_within(2, &discard)) return exchange_byte_late(1);
  const uint32_t result = receive_conversion(1, value);
  return result != 0 ? result : DATA_OK;
}

uint32_t get_dual_data(int32_t* input0, int32_t* input1) {
  uint32_t status;
  if (!tx_idle_within(2, &status)) return TX_NOT_IDLE | status;
  if (!drain_within(5, &status)) return NOT_DRAINED | status;
  uint32_t result = read_input(0x08, input0);
  if (result != 0) return result;
  result = read_input(0x18, input1);
  if (result != 0) return result;
  return DATA_OK;
}

uint32_t get_1255_samples(int32_t* values, uint32_t count) {
  uint32_t gpio12;
  if (!data_ready_low_within(2, &gpio12)) return NOT_READY | gpio12;

  send(RDATAC);
  uint32_t status;
  if (!status_set_within(SPI_RX_NOT_EMPTY, 2, &status)) return NO_ECHO | status;

  // The start of the drain is the reference time of the first sample.
  uint32_t reference = tick_ms();
  if (!drain_since(reference, 5, &status)) return NOT_DRAINED | status;

  uint32_t error = 0;
  uint32_t read = 0;
  while (read < count) {
    if (!data_ready_low_since(reference, 2, &gpio12)) {
      error = NEXT_NOT_READY;
      break;
    }
    uint32_t raw = 0;
    for (uint32_t k = 0; k < 3; ++k) {
      send(CONTINUOUS_CLOCK_OUT);
      uint8_t byte;
      if (!receive_within(2, &byte)) {
        error = byte_late(k + 1);
        break;
      }
      raw = (raw << 8) | byte;
    }
    if (error != 0) break;
    values[read] = sign_extend_24(raw);
    ++read;
    reference = tick_ms();
    if (!data_ready_high_since(reference, 2, &gpio12)) {
      error = READY_STUCK_LOW;
      break;
    }
  }

  if (!data_ready_low_within(2, &gpio12)) return NOT_READY_AT_END | gpio12;
  send(SDATAC);
  return error | read;
}

}  // extern "C"
