#include "handheld/engine/stimulator/stimulator_link.h"

#include <string.h>

#include <atomic>

#include "platform/ce/unit_clock.h"

namespace {

std::atomic<serialPort*> com2{nullptr};

}  // namespace

std::recursive_mutex& stimulator_lock() {
  static std::recursive_mutex lock;
  return lock;
}

serialPort* open_8051_uart() {
  serialPort* port = open_serial_port(L"COM2:", STIMULATOR_BAUD);
  std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
  close_serial_port(com2.exchange(port));
  return port;
}

serialPort* stimulator_port() { return com2; }

void close_8051_uart() {
  std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
  close_serial_port(com2.exchange(nullptr));
}

void send_8051(const uint8_t* bytes, size_t n) {
  if (bytes == nullptr || n == 0) return;
  std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
  serial_write(com2, bytes, n);
  unit_sleep_ms(static_cast<uint32_t>(n));
}

void send_8051_byte(uint8_t byte) { send_8051(&byte, 1); }

void send_8051_string(const char* text) {
  if (text == nullptr) return;
  send_8051(reinterpret_cast<const uint8_t*>(text), strlen(text));
}
