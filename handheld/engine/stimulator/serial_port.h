// Serial ports of the unit: "COM2:" (the stimulator, 9600 baud) and "COM3:"
// (the remote-control line, 115200 baud), both 8 data bits, no parity, one
// stop bit, every time-out 0 (a read waits until a byte arrives).
//
// A port name can be served in-process: a registered serial_endpoint takes
// the port's writes and feeds its reads. The simulated unit's stimulator is
// such an endpoint on "COM2:" (simulated_stimulator_port.h); the remote-
// control line registers its own on "COM3:". A name with no endpoint opens
// the platform's serial device (CreateFileW on the Windows build).
#ifndef HANDHELD_ENGINE_STIMULATOR_SERIAL_PORT_H
#define HANDHELD_ENGINE_STIMULATOR_SERIAL_PORT_H

#include <stddef.h>
#include <stdint.h>

#include <atomic>
#include <memory>

// The far end of an in-process serial line.
class serial_endpoint {
 public:
  virtual ~serial_endpoint() = default;
  // Takes n bytes written to the port; returns how many it took.
  virtual size_t write(const uint8_t* bytes, size_t n) = 0;
  // Moves up to max bytes that have arrived into out and returns how many
  // (at least 1). While none has arrived it waits, looking at `cancelled` at
  // least every few milliseconds, and returns 0 once it is set. -1 when the
  // line has failed.
  virtual int read(uint8_t* out, size_t max, const std::atomic<bool>& cancelled) = 0;
};

// Serves a port name in-process from now on (ports opened before keep what
// they had). A null endpoint removes the name. Names compare without regard
// to case.
void register_serial_endpoint(const wchar_t* name, std::shared_ptr<serial_endpoint> endpoint);

struct serialPort;

// Opens a port for reading and writing, not shared, existing only, and sets
// its line and time-outs. On failure shows the message box "*** UNABLE TO
// OPEN UART CHANNEL ***" (caption "CreateFile") and returns null.
serialPort* open_serial_port(const wchar_t* name, uint32_t baud);

// Writes n bytes; returns how many were written (0 for a null port).
size_t serial_write(serialPort* port, const uint8_t* bytes, size_t n);
// Reads up to max bytes, waiting until at least one arrives. Returns the
// count; 0 when nothing was read (the read was cancelled, or a null port);
// -1 when the read failed.
int serial_read(serialPort* port, uint8_t* out, size_t max);
// Ends the read waiting on another thread with 0; when none is waiting, the
// next read to begin returns 0 at once instead.
void serial_cancel_reads(serialPort* port);
// Closes the port. No read or write may be in progress or follow.
void close_serial_port(serialPort* port);

#endif
