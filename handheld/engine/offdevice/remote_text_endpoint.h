// "COM3:" off the device: a text endpoint in place of the service terminal.
// Tests type into it and read what the unit wrote; a person can reach it
// from a terminal over a local TCP connection (README.md, "The
// remote-control line off the device").
#ifndef HANDHELD_ENGINE_OFFDEVICE_REMOTE_TEXT_ENDPOINT_H
#define HANDHELD_ENGINE_OFFDEVICE_REMOTE_TEXT_ENDPOINT_H

#include <stdint.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "handheld/engine/stimulator/serial_port.h"

class remote_text_endpoint final : public serial_endpoint {
 public:
  // The unit's side.
  size_t write(const uint8_t* bytes, size_t n) override;
  int read(uint8_t* out, size_t max, const std::atomic<bool>& cancelled) override;

  // The terminal's side: bytes typed (they reach the unit's next reads).
  void type(const std::string& bytes);
  // Drops what was typed and not yet read: a new terminal starts with
  // nothing of the last one's queued.
  void forget_typed();
  // Everything the unit wrote, the oldest dropped beyond OUTPUT_LIMIT bytes.
  std::string output() const;
  void clear_output();
  // Waits (real time) until the output holds text, at most timeout_ms; true
  // when it does.
  bool wait_for_output(const std::string& text, int timeout_ms) const;
  // Waits until the unit has read every byte typed, at most timeout_ms.
  bool wait_until_read(int timeout_ms) const;

  // Called with every write of the unit (the terminal connection's feed);
  // null for none.
  void set_output_listener(std::function<void(const std::string&)> listener);

  static const size_t OUTPUT_LIMIT = 1u << 20;

 private:
  mutable std::mutex lock_;
  mutable std::condition_variable changed_;
  std::deque<uint8_t> typed_;
  std::string output_;
  std::function<void(const std::string&)> listener_;
};

// A terminal connection to an endpoint: listens on 127.0.0.1 at a TCP port
// and serves one connection at a time. What the terminal sends is typed
// into the endpoint, its line ends (CR LF, or LF alone) as the carriage
// return the line reader expects and DEL as a backspace; what the unit
// writes goes to the terminal; a new connection starts with nothing queued
// of the one before. Windows build only; elsewhere start() fails.
class remote_terminal_bridge {
 public:
  remote_terminal_bridge();
  ~remote_terminal_bridge();
  remote_terminal_bridge(const remote_terminal_bridge&) = delete;
  remote_terminal_bridge& operator=(const remote_terminal_bridge&) = delete;

  // False when the port cannot be listened on (reported on the log).
  bool start(std::shared_ptr<remote_text_endpoint> endpoint, uint16_t port);
  // Closes the connection and stops listening.
  void stop();

  struct state;  // the connection's sockets and thread

 private:
  // Shared: a write of the unit that has taken the connection's listener
  // keeps the state alive until its send is done.
  std::shared_ptr<state> state_;
};

// Registers a new text endpoint as "COM3:" (ports opened on "COM3:" from
// now on use it) and returns it. When the environment variable
// ERG_REMOTE_LINE_PORT names a TCP port, a terminal can connect to it on
// 127.0.0.1 (Windows build).
std::shared_ptr<remote_text_endpoint> use_remote_text_endpoint();

#endif
