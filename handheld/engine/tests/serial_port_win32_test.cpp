// The platform's serial devices: a port that cannot be opened.
#include <gtest/gtest.h>

#include "modal_capture.h"
#include "serial_port.h"

TEST(SerialPortWin32, AnUnopenablePortShowsItsMessageAndGivesNoReader) {
  modal_capture boxes;
  EXPECT_EQ(open_serial_port(L"COM97:", 9600), nullptr);
  ASSERT_EQ(boxes.records().size(), 1u);
  EXPECT_EQ(boxes.records()[0].text, "*** UNABLE TO OPEN UART CHANNEL ***");
  EXPECT_EQ(boxes.records()[0].caption, "CreateFile");
}
