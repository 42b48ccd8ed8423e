#include <gtest/gtest.h>

#include "message_box.h"
#include "message_capture.h"
#include "messages.h"

TEST(Messages, ErrorIsCountedAndShown) {
  message_capture capture;
  uint32_t before = error_count();
  errormessage("value %d", 5);
  EXPECT_EQ(error_count(), before + 1);
  ASSERT_EQ(capture.records().size(), 1u);
  EXPECT_EQ(capture.records()[0].caption, "*** ERROR ***");
  EXPECT_EQ(capture.records()[0].text, "value 5");
}
