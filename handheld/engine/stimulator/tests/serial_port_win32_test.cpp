// The platform's serial devices: a port that cannot be opened, and reads.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/modal/modal_capture.h"
#include "handheld/engine/stimulator/serial_port.h"
#include "handheld/engine/stimulator/serial_port_device.h"

TEST(SerialPortWin32, AnUnopenablePortShowsItsMessageAndGivesNoReader) {
  modal_capture boxes;
  EXPECT_EQ(open_serial_port(L"COM97:", 9600), nullptr);
  ASSERT_EQ(boxes.records().size(), 1u);
  EXPECT_EQ(boxes.records()[0].text, "*** UNABLE TO OPEN UART CHANNEL ***");
  EXPECT_EQ(boxes.records()[0].caption, "CreateFile");
}

// A device read that ends empty without a cancel (a port's time-out) is
// read again; only a cancel ends a read with 0. A message-mode pipe stands
// in for the port: an empty message is an empty read.
TEST(SerialPortWin32, AnEmptyDeviceReadIsReadAgain) {
  const wchar_t* name = L"\\\\.\\pipe\\erg_serial_port_empty_read";
  HANDLE server = CreateNamedPipeW(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_MESSAGE | PIPE_WAIT, 1, 64, 64, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  HANDLE client = CreateFileW(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(client, INVALID_HANDLE_VALUE);
  DWORD mode = PIPE_READMODE_MESSAGE;
  ASSERT_TRUE(SetNamedPipeHandleState(client, &mode, nullptr, nullptr));
  DWORD wrote = 0;
  ASSERT_TRUE(WriteFile(server, "", 0, &wrote, nullptr));
  ASSERT_TRUE(WriteFile(server, "A", 1, &wrote, nullptr));

  serialPort port;
  port.device = client;
  uint8_t byte = 0;
  EXPECT_EQ(serial_read(&port, &byte, 1), 1);
  EXPECT_EQ(byte, 'A');
  CloseHandle(client);
  CloseHandle(server);
}
