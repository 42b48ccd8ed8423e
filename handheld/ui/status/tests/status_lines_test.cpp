// The status lines with an injected battery and card, and the card's room.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handheld/ui/status/card_room.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/engine/protocols/interpreter_screen.h"
#include "platform/unit/sim_unit.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/ui/frame/timers.h"
#include "handheld/engine/storage/unit_time.h"

namespace {

struct rowRecorder : interpreterScreen {
  std::vector<std::wstring> rows;
  void row_text(int colour, int row, int column, const wchar_t* text) override {
    rows.push_back(std::to_wstring(colour) + L"," + std::to_wstring(row) + L"," + std::to_wstring(column) + L":" + text);
  }
};

class VanduStatus : public VanduTest {
 protected:
  void TearDown() override {
    set_free_space_probe(nullptr);
    set_interpreter_screen(nullptr);
    channels.a_on = 1;
    channels.b_on = 0;
    VanduTest::TearDown();
  }
  void free_space(int64_t bytes) {
    set_free_space_probe([bytes](int64_t& free, unsigned long&) {
      free = bytes;
      return true;
    });
  }
};

TEST(BatteryClass, ThresholdsBelongToFair) {
  struct Case {
    double volts;
    int cls;
  } cases[] = {{3.71, 2}, {3.7, 1}, {3.6, 1}, {3.5, 1}, {3.49, 0}, {0.0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    EXPECT_EQ(battery_class_of(c.volts), c.cls);
  }
}

TEST_F(VanduStatus, TheBatteryLineShowsVoltsAndTheBoardsOptions) {
  sim_adc_set_constant(2, battery_counts(3.45));
  sim_adc_set_options(8 | 4);
  show_battery_line();
  EXPECT_EQ(page_text(STATUS_BATTERY), L"\nBATTERY : 3.45 volts \nDual Dome Fill-in ");
  EXPECT_EQ(battery_class.load(), 0);
  EXPECT_EQ(page_text(STATUS_SERIAL), L"Serial #1234567") << "the table came from the stimulator";
  // Logged once a run, by the first battery line after the boot record.
  const std::string log = log_text();
  EXPECT_NE(log.find("Batt "), std::string::npos);
  EXPECT_EQ(log.find("Batt "), log.rfind("Batt "));
}

TEST_F(VanduStatus, AnUnsetClockIsShownAsSuch) {
  set_unit_time_filetime(0);
  show_time_line(nullptr);
  EXPECT_EQ(page_text(STATUS_TIME), L"*** TIME IS NOT SET ***");
}

TEST_F(VanduStatus, TheCardsRoomDecidesWhetherATestMayRun) {
  channels.b_on = 1;  // both channels: two records a test
  struct Case {
    int64_t free;
    bool showRoom;
    bool answer;
    const char* message;
  } cases[] = {
      {42 * TEST_RECORD_BYTES, true, true, nullptr},       // room for 20 by the first estimate
      {22 * TEST_RECORD_BYTES, false, true, nullptr},      // less, but not asked to show it
      {22 * TEST_RECORD_BYTES, true, true, "has room for only\n10 more tests."},
      {1 * TEST_RECORD_BYTES, false, false, "IS FULL."},
      {0, false, false, "IS FULL."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.free);
    clear_remote_transcript();
    free_space(c.free);
    EXPECT_EQ(check_card_space(c.showRoom), c.answer);
    const std::string line = remote_transcript();
    if (c.message == nullptr) {
      EXPECT_EQ(line.find("Compact Flash"), std::string::npos);
    } else {
      EXPECT_NE(line.find(c.message), std::string::npos) << line;
    }
  }
}

TEST_F(VanduStatus, UnreadableSpaceNeverBlocksATest) {
  set_free_space_probe([](int64_t&, unsigned long& error) {
    error = 21;
    return false;
  });
  EXPECT_TRUE(check_card_space(true));
  EXPECT_EQ(show_tests_remaining(), 0);
  EXPECT_NE(remote_transcript().find("[### UNABLE TO GET DISK FREE SPACE ###\n[error 21]]"), std::string::npos);
}

TEST_F(VanduStatus, TestsRemainingOnTheGraph) {
  rowRecorder screen;
  set_interpreter_screen(&screen);
  free_space(10 * TEST_RECORD_BYTES + 5);
  EXPECT_EQ(show_tests_remaining(), 10);
  free_space(TEST_RECORD_BYTES - 1);
  EXPECT_EQ(show_tests_remaining(), 0);
  free_space(-5);  // a reading below zero is no room
  EXPECT_EQ(show_tests_remaining(), 0);
  EXPECT_EQ(screen.rows,
            (std::vector<std::wstring>{L"5,-1,19:CF:   10 rem.", L"5,-1,19:CF:  ---- rem.", L"5,-1,19:CF:  ---- rem."}));
}

}  // namespace
