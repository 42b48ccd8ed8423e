// The main dialog's notices: the stimulator's keys and bytes, its framed
// messages and their time-out.
#include <gtest/gtest.h>

#include <vector>

#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/ui/status/key_log.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menu_request.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/ui/frame/timers.h"

namespace {

std::vector<int>* seen = nullptr;
int record_command(int command, LPARAM) {
  if (seen != nullptr && command >= KEY_UPPER_LEFT && command <= KEY_LOWER_RIGHT) seen->push_back(command);
  return 1;
}

using VanduNotices = VanduTest;

TEST_F(VanduNotices, StimulatorKeysPressTheSoftKeysAndAreLogged) {
  std::vector<int> commands;
  seen = &commands;
  const menuHandler previous = set_menu_handler(MENU_MAIN, record_command);
  init_key_log();
  for (uint8_t key : {'1', '2', '3', '4'}) post_stimulator_byte(key);
  pump_until_idle(100);
  set_menu_handler(MENU_MAIN, previous);
  seen = nullptr;
  EXPECT_EQ(commands, (std::vector<int>{KEY_UPPER_LEFT, KEY_UPPER_RIGHT, KEY_LOWER_LEFT, KEY_LOWER_RIGHT}));
  ASSERT_EQ(key_log_next(), 5);
  EXPECT_STREQ(key_log_entry(1).caption, L"Acquire Data");
  EXPECT_STREQ(key_log_entry(2).caption, L"System Setup");
  EXPECT_STREQ(key_log_entry(3).caption, L"File Info");
  EXPECT_STREQ(key_log_entry(4).caption, L"Quit");
}

TEST_F(VanduNotices, UnknownBytesIdsAndTypesAreShownAndAnyByteResetsTheIdleCount) {
  idle_minutes = 3;
  post_stimulator_byte(0x07);
  post_framed_message('q', {});
  PostMessageW(main_dialog, WM_USER, NOTICE_ID_TYPE, 7);
  PostMessageW(main_dialog, WM_USER, NOTICE_ID_TYPE, 'U');
  pump_until_idle(100);
  EXPECT_EQ(idle_minutes.load(), 0);
  const std::string line = remote_transcript();
  EXPECT_NE(line.find("[*** unknown character #07]\r\n"), std::string::npos);
  EXPECT_NE(line.find("[### UNKNOWN MESSAGE ID\n [71] ###]\r\n"), std::string::npos);
  EXPECT_EQ(line.find("UNKNOWN MESSAGE ID TYPE"), line.rfind("UNKNOWN MESSAGE ID TYPE")) << "reported once";
  EXPECT_NE(line.find("[### UNKNOWN MESSAGE ID TYPE ###]\r\n"), std::string::npos);
  EXPECT_EQ(shown_menu(), MENU_MESSAGE) << "the message page";
}

TEST_F(VanduNotices, AMenuChangeNeverEndsAMessageBeingReceived) {
  status_received = 0;
  // A long message, so that its time-out (length x 50 ms) does not come.
  post_stimulator_byte('U');
  post_stimulator_byte(200);
  pump_until_idle(50);
  request_menu(nullptr, PAGE_NONE, MENU_SYSTEM_SETUP, nullptr, 0, false);
  pump_until_idle(50);
  ASSERT_EQ(shown_menu(), MENU_SYSTEM_SETUP);
  EXPECT_TRUE(stimulator_message.message_mode.load());
  post_stimulator_byte('s');
  post_stimulator_byte('3');  // a key byte inside a message is data
  for (int i = 0; i < 198; ++i) post_stimulator_byte(0);
  pump_until_idle(50);
  EXPECT_EQ(status_received.load(), 1);
  EXPECT_EQ(stimulator_status.load(), '3');
  EXPECT_EQ(shown_menu(), MENU_SYSTEM_SETUP) << "the '3' pressed no key";
}

TEST_F(VanduNotices, ATableNobodyAwaitsIsReported) {
  post_framed_message('l', std::vector<uint8_t>(240, 1));
  pump_until_idle(100);
  EXPECT_NE(remote_transcript().find("[### unknown g_flash_8051_mode 3 ###]"), std::string::npos);
  EXPECT_EQ(flash_8051_mode.load(), FLASH_MODE_IDLE);
}

TEST_F(VanduNotices, AMessageTimeOutIsReportedAndKeepsTheExchangeState) {
  flash_8051_mode = FLASH_MODE_TABLE;
  // A long message, so that the window's own time-out (length x 50 ms) cannot
  // come before the test times it out itself, however slow the machine.
  post_stimulator_byte('U');
  post_stimulator_byte(200);
  post_stimulator_byte('l');
  pump_posted();
  ASSERT_TRUE(stimulator_message.message_mode.load());
  timer_handler(TIMER_MESSAGE);
  pump_posted();
  EXPECT_FALSE(stimulator_message.message_mode.load());
  EXPECT_EQ(flash_8051_mode.load(), FLASH_MODE_TABLE);
  const std::string line = remote_transcript();
  EXPECT_NE(line.find("8051 MESSAGE TIMEOUT,"), std::string::npos);
  EXPECT_NE(line.find("expected 200 chars, got 1 chars"), std::string::npos);
  EXPECT_NE(log_text().find("8051_MESSAGE_TIMEOUT"), std::string::npos);
  flash_8051_mode = FLASH_MODE_IDLE;
}

}  // namespace
