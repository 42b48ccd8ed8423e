// The timers through their handler: idle shutdown, the warning's grace
// period, the status refresh and the auto-calibration marker.
#include <gtest/gtest.h>

#include <fstream>

#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/menus/menu_stack.h"
#include "platform/unit/sim_unit.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/frame/timers.h"

namespace {

class VanduTimers : public VanduTest {
 protected:
  void TearDown() override {
    set_shutdown_minutes(12);
    VanduTest::TearDown();
  }
  // The idle limit reached: the confirmation stands, the warning runs.
  void reach_idle_limit() {
    set_shutdown_minutes(2);
    timer_handler(TIMER_IDLE);
    pump_until_idle(50);
    ASSERT_EQ(shown_menu(), MENU_MAIN) << "one idle minute is not the limit";
    timer_handler(TIMER_IDLE);
    pump_until_idle(100);
    ASSERT_EQ(shown_menu(), MENU_SHUTDOWN_CONFIRM);
    ASSERT_FALSE(timer_running(TIMER_IDLE));
    ASSERT_TRUE(timer_running(TIMER_WARNING));
  }
};

TEST_F(VanduTimers, IdleMinutesReachingTheLimitShutTheUnitDown) {
  reach_idle_limit();
  timer_handler(TIMER_WARNING);
  pump_until_idle(100);
  EXPECT_NE(remote_transcript().find("-- I'M OUTA HERE\r\n"), std::string::npos);
  EXPECT_NE(log_text().find("Timeout Shutdown, ETI = "), std::string::npos);
  EXPECT_EQ(quit_flag.load(), 1);
}

TEST_F(VanduTimers, AStimulatorByteDuringTheWarningKeepsTheUnitOn) {
  reach_idle_limit();
  post_stimulator_byte('3');  // the confirmation's blank key: nothing but the byte
  pump_until_idle(50);
  timer_handler(TIMER_WARNING);
  pump_until_idle(100);
  EXPECT_EQ(quit_flag.load(), 0);
  EXPECT_FALSE(timer_running(TIMER_WARNING));
  EXPECT_EQ(shown_menu(), MENU_SHUTDOWN_CONFIRM) << "the page stays until CANCEL";
  EXPECT_EQ(remote_transcript().find("-- I'M OUTA HERE"), std::string::npos);
}

TEST_F(VanduTimers, TheStatusRefreshRewritesTheBatteryEverySixthSecond) {
  timer_handler(TIMER_STATUS);
  ASSERT_NE(status_page(), nullptr);
  EXPECT_NE(page_text(STATUS_BATTERY).find(L"BATTERY : 3.90 volts"), std::wstring::npos);
  sim_adc_set_constant(2, battery_counts(3.6));
  status_ticks = 0;
  for (int second = 1; second <= 5; ++second) timer_handler(TIMER_STATUS);
  EXPECT_NE(page_text(STATUS_BATTERY).find(L"3.90"), std::wstring::npos);
  timer_handler(TIMER_STATUS);
  EXPECT_NE(page_text(STATUS_BATTERY).find(L"3.60"), std::wstring::npos);
  EXPECT_EQ(battery_class.load(), 1);
  EXPECT_EQ(status_ticks.load(), 0);
  EXPECT_EQ(page_text(STATUS_TIME).find(L"*** TIME IS NOT SET ***"), std::wstring::npos);
}

TEST_F(VanduTimers, TheAutoCalibrationMarkerAsksForItsPage) {
  std::filesystem::create_directories(card_ / "CAL");
  std::ofstream(card_ / "CAL" / "IN") << "";
  timer_handler(TIMER_STATUS);
  pump_until_idle(100);
  EXPECT_EQ(shown_menu(), MENU_CALIBRATION_MESSAGE);
  EXPECT_NE(page_text(1093).find(L"-- AUTO CALIBRATION MODE  --"), std::wstring::npos);
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"Back");
}

TEST_F(VanduTimers, UnknownAndZeroIdsDoNothing) {
  const int menu = shown_menu();
  timer_handler(0);
  timer_handler(999);
  pump_until_idle(50);
  EXPECT_EQ(shown_menu(), menu);
  EXPECT_EQ(quit_flag.load(), 0);
}

}  // namespace
