// The dialog helpers: date text, the saved-value ring, bounded scratch
// text and numbers in controls.
#include <gtest/gtest.h>

#include <string>

#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"

namespace {

TEST(DialogHelpers, TheDateOfATestFolder) {
  SYSTEMTIME date = {};
  date.wYear = 2012;
  date.wMonth = 3;
  date.wDay = 9;
  wchar_t text[16];
  EXPECT_TRUE(make_date_string(date, text, 16));
  EXPECT_STREQ(text, L"T120309");
  EXPECT_TRUE(make_date_string(date, text, 8));
  EXPECT_STREQ(text, L"T120309");
}

TEST(DialogHelpers, TheSavedValueRing) {
  push_saved_value(41);
  EXPECT_EQ(pop_saved_value(), 41);
  push_saved_value(41);
  push_saved_value(7);
  EXPECT_EQ(pop_saved_value(), 7);
  EXPECT_EQ(pop_saved_value(), 41) << "with nothing pushed since, the previous slot";
}

TEST(DialogHelpers, ScratchTextIsCutAtItsSize) {
  const std::string big(1000, 'x');
  const char* text = format_to_scratch("%s-%d", big.c_str(), 5);
  EXPECT_EQ(std::string(text).size(), SCRATCH_TEXT_CAPACITY - 1);
  EXPECT_STREQ(format_to_scratch("%d %s", 3, "tests"), "3 tests");
}

using VanduDialogHelpers = VanduTest;

TEST_F(VanduDialogHelpers, ATooSmallDateBufferIsRefused) {
  SYSTEMTIME date = {};
  date.wYear = 2012;
  date.wMonth = 3;
  date.wDay = 9;
  wchar_t text[7] = L"";
  EXPECT_FALSE(make_date_string(date, text, 7));
  EXPECT_STREQ(text, L"ERR");
  EXPECT_NE(remote_transcript().find("[*** DATESTRING WILL NOT FIT IN BUFFER SUPPLIED ***]"), std::string::npos);
}

TEST_F(VanduDialogHelpers, NumbersInAndOutOfControls) {
  HWND page = push_dialog(messageDialogProc, IDD_MESSAGE_SIX_LINES);
  ASSERT_NE(page, nullptr);
  set_item_int(page, MESSAGE_TEXT_CONTROL, -42);
  EXPECT_EQ(get_item_int(page, MESSAGE_TEXT_CONTROL), -42);
  set_item_double(page, MESSAGE_TEXT_CONTROL, 2.5e-05);
  EXPECT_DOUBLE_EQ(get_item_double(page, MESSAGE_TEXT_CONTROL), 2.5e-05);
  set_item_text_narrow(page, MESSAGE_TEXT_CONTROL, "no number");
  EXPECT_EQ(get_item_int(page, MESSAGE_TEXT_CONTROL), 0);
  EXPECT_EQ(page_text(MESSAGE_TEXT_CONTROL), L"no number");
}

}  // namespace
