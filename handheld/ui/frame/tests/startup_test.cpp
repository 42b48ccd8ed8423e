// Vandu's start-up on the simulated unit, its loop and its end.
#include <gtest/gtest.h>

#include <algorithm>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/menus/menu_stack.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/ui/frame/timers.h"
#include "handheld/engine/storage/unit_time.h"

namespace {

bool power_held() { return (hardware.get_gpio_reg(12) & (1u << 2)) != 0; }

using VanduStartUp = VanduTest;

TEST_F(VanduStartUp, ComesUpWithTheMainMenuAfterTheStimulatorExchange) {
  const std::string line = remote_transcript();
  EXPECT_EQ(line.find("*** DLL INSTALLATION FAILED ***"), std::string::npos);
  EXPECT_EQ(line.find("*************************"), std::string::npos) << "no start-up failure";
  ASSERT_NE(line.find("-- WE'RE UP\r\n"), std::string::npos);

  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Acquire Data");
  EXPECT_EQ(key_caption(KEY_LOWER_LEFT), L"File Info");
  EXPECT_EQ(key_caption(KEY_UPPER_RIGHT), L"System Setup");
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"Quit");
  EXPECT_EQ(shown_menu(), MENU_MAIN) << line;
  ASSERT_NE(top_page(), nullptr);
  timer_handler(TIMER_STATUS);  // the first refresh draws the page whole
  EXPECT_EQ(page_text(STATUS_VERSION), L"S/W VERSION  3.744 ");
  EXPECT_EQ(page_text(STATUS_STIMULATOR), L"uC S/W VERSION  3.010");

  // Version, table with the serial number, clock, power hold.
  EXPECT_EQ(stimulator_version().minor, 10);
  EXPECT_EQ(unit_serial(), "1234567");
  EXPECT_EQ(calibration_received.load(), 1);
  EXPECT_EQ(clock_set.load(), 1);
  EXPECT_EQ(unit_local_time().year, 2024);
  EXPECT_TRUE(power_held());
  EXPECT_TRUE(timer_running(TIMER_IDLE));
  EXPECT_TRUE(timer_running(TIMER_STATUS));
}

TEST_F(VanduStartUp, TheStimulatorIsAskedInTheExchangesOrder) {
  // A fresh exchange, as the first paint makes it: "v", then the table
  // request, then the clock request.
  sent_to_stimulator();
  sim_stim_clear_logs();
  post_stimulator_byte('1');  // nothing of the exchange: the key goes to the menu
  stimulator_sends('v', {'0', '3', '.', '0', '1', '0'});
  ASSERT_TRUE(pump_until([] { return flash_8051_mode.load() == FLASH_MODE_TABLE; }));
  ASSERT_TRUE(pump_until([] { return flash_8051_mode.load() == FLASH_MODE_IDLE; }));
  pump_until_idle();
  const std::vector<uint8_t> sent = sent_to_stimulator();
  const std::vector<uint8_t> expected = {'l', 0x01, 0xF0, 't'};
  EXPECT_TRUE(std::search(sent.begin(), sent.end(), expected.begin(), expected.end()) != sent.end());
}

TEST_F(VanduStartUp, OnlyTheFirstPaintAsksForTheVersion) {
  sent_to_stimulator();
  RedrawWindow(main_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pump_until_idle();
  const std::vector<uint8_t> sent = sent_to_stimulator();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 'v'), 0);
}

TEST_F(VanduStartUp, TheExitSequenceReleasesThePowerHoldThenSaysGoodbye) {
  ASSERT_TRUE(power_held());
  sent_to_stimulator();
  exit_sequence();
  EXPECT_FALSE(power_held());
  EXPECT_EQ(sent_to_stimulator(), std::vector<uint8_t>{'X'});
  sim_stim_state state{};
  sim_stim_get_state(&state);
  EXPECT_EQ(state.exited, 1);
}

TEST_F(VanduStartUp, ShutsDownThroughItsKeys) {
  HWND status = status_page();
  ASSERT_NE(status, nullptr);
  post_stimulator_byte('4');  // "Quit"
  pump_until_idle();
  EXPECT_FALSE(IsWindowVisible(status)) << "the status page waits hidden under the warning";
  EXPECT_EQ(shown_menu(), MENU_SHUTDOWN_CONFIRM);
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"CANCEL");
  EXPECT_EQ(key_caption(KEY_UPPER_RIGHT), L"SHUTDOWN");
  EXPECT_FALSE(timer_running(TIMER_STATUS));
  ASSERT_NE(top_page(), nullptr);
  EXPECT_EQ(status_page(), nullptr) << "the warning stands over the status page";
  EXPECT_TRUE(IsWindowVisible(top_page()));

  post_stimulator_byte('2');  // the key under "SHUTDOWN"
  pump_until_idle();
  EXPECT_NE(remote_transcript().find("-- WE'RE DOWN.\r\n"), std::string::npos);
  EXPECT_EQ(quit_flag.load(), 1);
  EXPECT_NE(log_text().find("Manual Shutdown, ETI [00:00:"), std::string::npos);
}

TEST_F(VanduStartUp, CancelGoesBackToTheMainMenu) {
  touch_key(KEY_LOWER_RIGHT);
  pump_until_idle();
  ASSERT_EQ(shown_menu(), MENU_SHUTDOWN_CONFIRM);
  touch_key(KEY_UPPER_LEFT);  // "CANCEL"
  pump_until_idle();
  EXPECT_EQ(shown_menu(), MENU_MAIN);
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"Quit");
  EXPECT_TRUE(timer_running(TIMER_IDLE));
  ASSERT_NE(status_page(), nullptr);
  EXPECT_TRUE(IsWindowVisible(status_page()));
  EXPECT_EQ(quit_flag.load(), 0);
}

TEST_F(VanduStartUp, ATimerForAPageGoesToTheTimerHandler) {
  HWND page = top_page();
  ASSERT_NE(page, nullptr);
  status_page_drawn = false;
  PostMessageW(page, WM_TIMER, TIMER_STATUS, 0);
  pump_until_idle(50);
  EXPECT_TRUE(status_page_drawn.load());
}

TEST_F(VanduStartUp, TheKeysShowTheirColours) {
  pump_until_idle();
  const std::vector<uint32_t> screen = screen_pixels();
  RECT key;
  struct Probe {
    int control;
    uint32_t rgb;
  } probes[] = {{KEY_UPPER_LEFT, 0xFF0000}, {KEY_LOWER_LEFT, 0x00FF00}, {KEY_UPPER_RIGHT, 0xFFFF00}, {KEY_LOWER_RIGHT, 0x0000FF}};
  for (const Probe& p : probes) {
    SCOPED_TRACE(p.control);
    HWND button = GetDlgItem(main_dialog, p.control);
    ASSERT_NE(button, nullptr);
    GetWindowRect(button, &key);
    POINT corner = {key.left + 4, key.top + 3};
    ScreenToClient(main_window, &corner);
    ASSERT_GE(corner.x, 0);
    ASSERT_LT(corner.y, SCREEN_HEIGHT);
    EXPECT_EQ(screen[static_cast<size_t>(corner.y) * SCREEN_WIDTH + corner.x], p.rgb);
  }
}

}  // namespace
