// Ports served in-process: the registry, reads, writes and cancelled reads,
// and "COM2:" on the simulated stimulator.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>

#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/tests/fake_serial_endpoint.h"
#include "handheld/engine/stimulator/serial_port.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/offdevice/simulated_stimulator_port.h"

namespace {

using bytes = std::vector<uint8_t>;

bytes read_some(serialPort* port) {
  uint8_t buffer[300];
  int n = serial_read(port, buffer, sizeof buffer);
  return n > 0 ? bytes(buffer, buffer + n) : bytes();
}

}  // namespace

TEST(SerialPort, RegisteredNamesOpenOntoTheirEndpoint) {
  auto line = std::make_shared<fake_serial_endpoint>();
  register_serial_endpoint(L"COM5:", line);
  serialPort* port = open_serial_port(L"com5:", 9600);
  ASSERT_NE(port, nullptr);
  const uint8_t out[] = {'a', 'b', 0xF0};
  EXPECT_EQ(serial_write(port, out, 3), 3u);
  EXPECT_EQ(line->written(), (bytes{'a', 'b', 0xF0}));
  line->feed({1, 2, 3});
  EXPECT_EQ(read_some(port), (bytes{1, 2, 3}));

  // Removing the name leaves the open port on its line; new opens fail.
  register_serial_endpoint(L"COM5:", nullptr);
  line->feed({4});
  EXPECT_EQ(read_some(port), bytes{4});
  close_serial_port(port);

  // A null port reads and writes nothing.
  EXPECT_EQ(serial_write(nullptr, out, 3), 0u);
  uint8_t b;
  EXPECT_EQ(serial_read(nullptr, &b, 1), 0);
}

TEST(SerialPort, CancellingEndsAWaitingReadOnce) {
  auto line = std::make_shared<fake_serial_endpoint>();
  register_serial_endpoint(L"COM5:", line);
  serialPort* port = open_serial_port(L"COM5:", 115200);
  ASSERT_NE(port, nullptr);
  auto waiting = std::async(std::launch::async, [port] {
    uint8_t b;
    return serial_read(port, &b, 1);
  });
  EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  serial_cancel_reads(port);
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(waiting.get(), 0);
  // The cancel is used up: the next read takes what arrives. A cancel with
  // no read waiting ends the next read at once.
  line->feed({9});
  uint8_t b = 0;
  EXPECT_EQ(serial_read(port, &b, 1), 1);
  EXPECT_EQ(b, 9);
  serial_cancel_reads(port);
  line->feed({8});
  EXPECT_EQ(serial_read(port, &b, 1), 0);
  EXPECT_EQ(serial_read(port, &b, 1), 1);
  EXPECT_EQ(b, 8);
  // A failing line reports the failure.
  close_serial_port(port);
  port = open_serial_port(L"COM5:", 115200);
  line->failing = true;
  EXPECT_EQ(serial_read(port, &b, 1), -1);
  close_serial_port(port);
  register_serial_endpoint(L"COM5:", nullptr);
}

TEST(SerialPort, Com2TalksToTheSimulatedStimulatorOnVirtualTime) {
  sim_reset();
  use_simulated_stimulator_port();
  serialPort* port = open_serial_port(L"COM2:", 9600);
  ASSERT_NE(port, nullptr);
  const uint8_t v = 'V';
  serial_write(port, &v, 1);
  EXPECT_EQ(read_some(port), (bytes{'U', 7, 'v', '0', '3', '.', '0', '1', '0'}));

  // A late reply is not there until its virtual time has come; the waiting
  // read does not move the clock itself.
  sim_fault_set(SIM_FAULT_STIM_REPLY_LATE, 5000);
  serial_write(port, &v, 1);
  uint64_t sent = sim_now_ns();
  auto waiting = std::async(std::launch::async, [port] { return read_some(port); });
  EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  EXPECT_EQ(sim_now_ns(), sent);
  sim_advance_ns(5000000);
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(waiting.get().size(), 9u);
  close_serial_port(port);
  register_serial_endpoint(L"COM2:", nullptr);
}

#ifndef _WIN32
TEST(SerialPort, WithoutAnEndpointTheHostBuildCannotOpen) {
  static std::string shown;
  set_show_message_handler([](int kind, const char* text) { shown = std::to_string(kind) + text; });
  EXPECT_EQ(open_serial_port(L"COM4:", 9600), nullptr);
  EXPECT_EQ(shown, "0*** UNABLE TO OPEN UART CHANNEL ***");
  set_show_message_handler(nullptr);
}
#endif
