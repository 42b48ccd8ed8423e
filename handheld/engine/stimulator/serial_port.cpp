#include "handheld/engine/stimulator/serial_port.h"

#include <wctype.h>

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "handheld/engine/stimulator/serial_port_device.h"

namespace {

std::wstring upper_name(const wchar_t* name) {
  std::wstring s;
  for (; *name; ++name) s.push_back(static_cast<wchar_t>(towupper(static_cast<wint_t>(*name))));
  return s;
}

std::mutex& registry_lock() {
  static std::mutex lock;
  return lock;
}

std::map<std::wstring, std::shared_ptr<serial_endpoint>>& registry() {
  static std::map<std::wstring, std::shared_ptr<serial_endpoint>> endpoints;
  return endpoints;
}

std::shared_ptr<serial_endpoint> endpoint_for(const wchar_t* name) {
  std::lock_guard<std::mutex> hold(registry_lock());
  auto it = registry().find(upper_name(name));
  return it == registry().end() ? nullptr : it->second;
}

}  // namespace

void register_serial_endpoint(const wchar_t* name, std::shared_ptr<serial_endpoint> endpoint) {
  if (name == nullptr) return;
  std::lock_guard<std::mutex> hold(registry_lock());
  if (endpoint) {
    registry()[upper_name(name)] = std::move(endpoint);
  } else {
    registry().erase(upper_name(name));
  }
}

serialPort* open_serial_port(const wchar_t* name, uint32_t baud) {
  if (name == nullptr) name = L"";
  serialPort* port = new serialPort;
  port->endpoint = endpoint_for(name);
  if (port->endpoint) return port;
  if (open_device_port(port, name, baud)) return port;
  delete port;
  return nullptr;
}

size_t serial_write(serialPort* port, const uint8_t* bytes, size_t n) {
  if (port == nullptr || bytes == nullptr || n == 0) return 0;
  if (port->endpoint) return port->endpoint->write(bytes, n);
  return write_device_port(port, bytes, n);
}

int serial_read(serialPort* port, uint8_t* out, size_t max) {
  if (port == nullptr || out == nullptr || max == 0) return 0;
  if (port->cancelled.exchange(false)) return 0;
  int n = port->endpoint ? port->endpoint->read(out, max, port->cancelled) : read_device_port(port, out, max);
  // The cancel that ended this read is used up; one that came with bytes
  // ends the next read.
  if (n == 0) port->cancelled = false;
  return n;
}

void serial_cancel_reads(serialPort* port) {
  if (port == nullptr) return;
  port->cancelled = true;
  if (!port->endpoint) cancel_device_read(port);
}

void close_serial_port(serialPort* port) {
  if (port == nullptr) return;
  if (!port->endpoint) close_device_port(port);
  delete port;
}
