#include "platform/unit/tests/sim_bus.h"

#include <gtest/gtest.h>

namespace {
constexpr uint32_t kCsWord = 1;
constexpr uint32_t kDacCs = 1u << 1;
constexpr uint32_t kFlash = 1u << 2;
constexpr uint32_t kAdcCs = 1u << 3;

int32_t sign_extend(uint32_t v) { return static_cast<int32_t>(v << 8) >> 8; }
}  // namespace

SimBus::SimBus() {
  sim_reset();
  spi = sim_map_block(SIM_SPI_BASE, SIM_SPI_WORDS * 4);
  gpio = sim_map_block(SIM_GPIO_BASE, SIM_GPIO_WORDS * 4);
}

void SimBus::select(Select s) {
  uint32_t word = kFlash;
  if (s == Select::None || s == Select::Dac) word |= kAdcCs;
  if (s == Select::None || s == Select::Adc) word |= kDacCs;
  sim_reg_write(gpio, kCsWord, word);
}

int SimBus::xfer(uint8_t mosi) {
  send(mosi);
  uint64_t end = sim_now_ns() + 100000;
  while (sim_now_ns() < end) {
    if (status() & SIM_SPI_RX_NOT_EMPTY) return static_cast<int>(sim_reg_read(spi, 3) & 0xFF);
  }
  return -1;
}

bool SimBus::wait_tx_idle() {
  uint64_t end = sim_now_ns() + 1000000;
  while (sim_now_ns() < end) {
    if (status() & SIM_SPI_TX_IDLE) return true;
  }
  return false;
}

void SimBus::drain() {
  for (int i = 0; i < 64 && (status() & SIM_SPI_RX_NOT_EMPTY); ++i) sim_reg_read(spi, 3);
}

bool SimBus::wait_data_ready(bool low, uint64_t timeout_ns) {
  uint64_t end = sim_now_ns() + timeout_ns;
  while (sim_now_ns() < end) {
    if (data_ready_low() == low) return true;
  }
  return false;
}

void SimBus::command(uint8_t cmd) { EXPECT_EQ(xfer(cmd), 0x00) << "command " << int(cmd); }

void SimBus::wreg(uint8_t reg, const std::vector<uint8_t>& values) {
  command(static_cast<uint8_t>(0x50 | reg));
  command(static_cast<uint8_t>(values.size() - 1));
  for (uint8_t v : values) command(v);
}

std::vector<uint8_t> SimBus::rreg(uint8_t reg, uint32_t count) {
  command(static_cast<uint8_t>(0x10 | reg));
  command(static_cast<uint8_t>(count - 1));
  std::vector<uint8_t> out;
  for (uint32_t i = 0; i < count; ++i) {
    int b = xfer(0xAA);
    EXPECT_GE(b, 0);
    out.push_back(static_cast<uint8_t>(b));
  }
  return out;
}

int32_t SimBus::rdata() {
  command(0x01);
  uint32_t v = 0;
  for (int i = 0; i < 3; ++i) {
    int b = xfer(0x20);
    if (b < 0) return INT32_MIN;
    v = (v << 8) | static_cast<uint32_t>(b);
  }
  return sign_extend(v);
}

int32_t SimBus::continuous_sample() {
  uint32_t v = 0;
  for (int i = 0; i < 3; ++i) {
    int b = xfer(0xBB);
    if (b < 0) return INT32_MIN;
    v = (v << 8) | static_cast<uint32_t>(b);
  }
  return sign_extend(v);
}

sim_counters counters() {
  sim_counters c = {};
  sim_get_counters(&c);
  return c;
}

std::vector<sim_bus_byte> bus_log() {
  std::vector<sim_bus_byte> log(sim_bus_log(nullptr, 0));
  log.resize(sim_bus_log(log.data(), static_cast<uint32_t>(log.size())));
  return log;
}
