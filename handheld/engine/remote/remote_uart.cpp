#include "handheld/engine/remote/remote_uart.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "handheld/engine/remote/remote_commands.h"
#include "handheld/engine/remote/remote_line.h"
#include "platform/ce/unit_clock.h"

namespace {

// After a failed read, in real time.
const std::chrono::milliseconds kReadRetryPause(10);

std::mutex& port_lock() {
  static std::mutex lock;
  return lock;
}

serialPort* com3 = nullptr;

void write_to_port(void* context, const char* bytes, size_t n) {
  serial_write(static_cast<serialPort*>(context), reinterpret_cast<const uint8_t*>(bytes), n);
  const size_t pause = n / 11;
  unit_sleep_ms(static_cast<uint32_t>(pause > 1 ? pause : 1));
}

serialPort* current_port() {
  std::lock_guard<std::mutex> hold(port_lock());
  return com3;
}

}  // namespace

serialPort* open_remote_uart() {
  serialPort* port = open_serial_port(L"COM3:", REMOTE_BAUD);
  std::lock_guard<std::mutex> hold(port_lock());
  remote_set_writer(port != nullptr ? remote_writer{write_to_port, port} : remote_writer{nullptr, nullptr});
  close_serial_port(com3);
  com3 = port;
  return port;
}

void close_remote_uart() {
  std::lock_guard<std::mutex> hold(port_lock());
  if (com3 == nullptr) return;
  remote_set_writer(remote_writer{nullptr, nullptr});
  close_serial_port(com3);
  com3 = nullptr;
}

void remote_line_reader() {
  serialPort* port = current_port();
  for (;;) {
    uint8_t byte;
    const int n = serial_read(port, &byte, 1);
    if (n == 0) return;
    if (n < 0) {
      std::this_thread::sleep_for(kReadRetryPause);
      continue;
    }
    take_remote_byte(byte);
  }
}

void stop_remote_line_reader() { serial_cancel_reads(current_port()); }
