#include "handheld/engine/tests/hw_recorder.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <mutex>
#include <string>

#include "hwlib/hwlib_exports.h"

namespace {

std::mutex log_lock;
std::string calls;

void record(const char* format, unsigned a = 0, unsigned b = 0, unsigned c = 0, unsigned d = 0) {
  char line[96];
  snprintf(line, sizeof line, format, a, b, c, d);
  std::lock_guard<std::mutex> hold(log_lock);
  calls += line;
  calls += '\n';
}

}  // namespace

extern "C" {

RECORDER_API uint32_t recorder_log(char* out, uint32_t capacity) {
  std::lock_guard<std::mutex> hold(log_lock);
  if (out != nullptr && capacity > 0) {
    size_t n = calls.size() < capacity - 1 ? calls.size() : capacity - 1;
    memcpy(out, calls.data(), n);
    out[n] = '\0';
  }
  return static_cast<uint32_t>(calls.size());
}

RECORDER_API void recorder_clear(void) {
  std::lock_guard<std::mutex> hold(log_lock);
  calls.clear();
}

#ifndef HWLIB_RECORDER_NO_VERSION
const wchar_t* version(void) {
  record("version()");
  return L" recorder";
}
#endif

uint32_t spi_setup(uint32_t a, uint32_t b, uint32_t c) {
  record("spi_setup(%u,%u,%u)", a, b, c);
  return 1;
}
uint32_t get_spi_reg(uint8_t word) {
  record("get_spi_reg(%u)", word);
  return 0x94;
}
void put_spi_reg(uint8_t word, uint32_t value) { record("put_spi_reg(%u,0x%02X)", word, value); }
uint32_t wait_while_spi_bit(uint8_t word, uint8_t bit, uint8_t state, uint32_t timeout_ms) {
  record("wait_while_spi_bit(%u,%u,%u,%u)", word, bit, state, timeout_ms);
  return 1;
}
uint32_t wait_till_xmit_fifo_empty(void) {
  record("wait_till_xmit_fifo_empty()");
  return 1;
}
uint32_t get_1255_samples(int32_t*, uint32_t count) {
  record("get_1255_samples(%u)", count);
  return count;
}
uint32_t get_1255_data(int32_t* value) {
  record("get_1255_data()");
  *value = 0;
  return 3;
}
uint32_t get_dual_data(int32_t* input0, int32_t* input1) {
  record("get_dual_data()");
  *input0 = *input1 = 0;
  return 3;
}
uint32_t get_1255_reg(uint8_t reg) {
  record("get_1255_reg(%u)", reg);
  return 0;
}
uint32_t put_1255_reg(uint8_t reg, uint32_t value) {
  record("put_1255_reg(%u,0x%02X)", reg, value);
  return 1;
}
uint32_t put_5722(uint8_t command, uint16_t value) {
  record("put_5722(%u,%u)", command, value);
  return 1;
}
uint32_t get_gpio_reg(uint8_t word) {
  record("get_gpio_reg(%u)", word);
  return 0;
}
void put_gpio_reg(uint8_t word, uint32_t value) { record("put_gpio_reg(%u,0x%X)", word, value); }
void put_gpio_bit(uint8_t word, uint8_t bit, uint8_t state) { record("put_gpio_bit(%u,%u,%u)", word, bit, state); }
uint32_t wait_while_gpio_bit(uint8_t word, uint8_t bit, uint8_t state, uint32_t timeout_ms) {
  record("wait_while_gpio_bit(%u,%u,%u,%u)", word, bit, state, timeout_ms);
  return 1;
}
uint32_t get_uart3_reg(uint8_t word) {
  record("get_uart3_reg(%u)", word);
  return 0;
}

}  // extern "C"

void (*recorder_entry(const wchar_t* name))() {
  struct entry {
    const wchar_t* name;
    void (*address)();
  };
  typedef void (*plain)();
  static const entry entries[] = {
#ifndef HWLIB_RECORDER_NO_VERSION
      {L"version", reinterpret_cast<plain>(&version)},
#endif
      {L"spi_setup", reinterpret_cast<plain>(&spi_setup)},
      {L"get_spi_reg", reinterpret_cast<plain>(&get_spi_reg)},
      {L"put_spi_reg", reinterpret_cast<plain>(&put_spi_reg)},
      {L"wait_while_spi_bit", reinterpret_cast<plain>(&wait_while_spi_bit)},
      {L"wait_till_xmit_fifo_empty", reinterpret_cast<plain>(&wait_till_xmit_fifo_empty)},
      {L"get_1255_samples", reinterpret_cast<plain>(&get_1255_samples)},
      {L"get_1255_data", reinterpret_cast<plain>(&get_1255_data)},
      {L"get_dual_data", reinterpret_cast<plain>(&get_dual_data)},
      {L"get_1255_reg", reinterpret_cast<plain>(&get_1255_reg)},
      {L"put_1255_reg", reinterpret_cast<plain>(&put_1255_reg)},
      {L"put_5722", reinterpret_cast<plain>(&put_5722)},
      {L"get_gpio_reg", reinterpret_cast<plain>(&get_gpio_reg)},
      {L"put_gpio_reg", reinterpret_cast<plain>(&put_gpio_reg)},
      {L"put_gpio_bit", reinterpret_cast<plain>(&put_gpio_bit)},
      {L"wait_while_gpio_bit", reinterpret_cast<plain>(&wait_while_gpio_bit)},
      {L"get_uart3_reg", reinterpret_cast<plain>(&get_uart3_reg)},
  };
  for (const entry& e : entries) {
    if (wcscmp(e.name, name) == 0) return e.address;
  }
  return nullptr;
}
