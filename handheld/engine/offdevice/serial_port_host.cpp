// The host build has no serial devices: only in-process ports open.
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/stimulator/serial_port_device.h"

bool open_device_port(serialPort*, const wchar_t*, uint32_t) {
  engine_show_message(0, "*** UNABLE TO OPEN UART CHANNEL ***");
  return false;
}

size_t write_device_port(serialPort*, const uint8_t*, size_t) { return 0; }

int read_device_port(serialPort*, uint8_t*, size_t) { return -1; }

void cancel_device_read(serialPort*) {}

void close_device_port(serialPort*) {}
