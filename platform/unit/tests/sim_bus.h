// Drives the simulated board as the hardware library does: through register
// reads and writes only, every wait bounded on virtual time.
#ifndef PLATFORM_UNIT_TESTS_SIM_BUS_H
#define PLATFORM_UNIT_TESTS_SIM_BUS_H

#include <stdint.h>

#include <vector>

#include "platform/unit/sim_unit.h"

// Chip selects (GPIO word 1, active low).
enum class Select { None, Adc, Dac, Both };

class SimBus {
 public:
  // Resets the board and maps the SPI and GPIO blocks.
  SimBus();

  void* spi = nullptr;
  void* gpio = nullptr;

  uint32_t status() { return sim_reg_read(spi, 5); }
  void select(Select s);
  void send(uint8_t mosi) { sim_reg_write(spi, 3, mosi); }
  // Sends one byte and returns its reply, or -1 when none arrives within
  // 100 us (the receive FIFO must be empty before).
  int xfer(uint8_t mosi);
  // Waits until the transmitter is idle; false after 1 ms.
  bool wait_tx_idle();
  // Reads and drops every received byte.
  void drain();

  bool data_ready_low() { return (sim_reg_read(gpio, 12) & 1u) == 0; }
  // Waits until data-ready reads `low`; false after timeout_ns.
  bool wait_data_ready(bool low, uint64_t timeout_ns);

  // Converter commands, the converter selected; each checks every reply.
  void wreg(uint8_t reg, const std::vector<uint8_t>& values);
  std::vector<uint8_t> rreg(uint8_t reg, uint32_t count);
  void command(uint8_t cmd);
  // RDATA and the three data bytes, sign-extended; INT32_MIN on a missing byte.
  int32_t rdata();
  // One sample in continuous mode (three dummy bytes).
  int32_t continuous_sample();
};

sim_counters counters();
std::vector<sim_bus_byte> bus_log();

#endif
