// Inside the serial port layer: the port record and what each platform
// provides for a port that is not served in-process.
#ifndef HANDHELD_ENGINE_STIMULATOR_SERIAL_PORT_DEVICE_H
#define HANDHELD_ENGINE_STIMULATOR_SERIAL_PORT_DEVICE_H

#include <atomic>
#include <memory>

#include "handheld/engine/stimulator/serial_port.h"

struct serialPort {
  std::shared_ptr<serial_endpoint> endpoint;  // in-process, or null for a device
  void* device = nullptr;                     // the platform's handle
  std::atomic<bool> cancelled{false};
  std::atomic<unsigned long> reading_thread{0};  // the platform's id of a thread inside a read
};

// Opens the platform's device into port->device; false after reporting the
// failure.
bool open_device_port(serialPort* port, const wchar_t* name, uint32_t baud);
size_t write_device_port(serialPort* port, const uint8_t* bytes, size_t n);
int read_device_port(serialPort* port, uint8_t* out, size_t max);
// Wakes a thread waiting in read_device_port (port->cancelled is set).
void cancel_device_read(serialPort* port);
void close_device_port(serialPort* port);

#endif
