// The stimulator's start-up replies on the simulated stimulator: what the
// unit keeps from each and what it sends next.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/tests/card_fixture.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "hwlib/hwlib_exports.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/storage/test_folders.h"
#include "handheld/engine/storage/unit_time.h"

namespace {

const uint64_t kMarch1At9 = 133537572000000000ull;  // 2024-03-01 09:00:00

class StartupReplies : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    set_up_test_card(folder_);
    flash_8051_mode = FLASH_MODE_IDLE;
    version_received = 0;
    calibration_received = 0;
    set_unit_time_filetime(0);
    reset_calibration_table();
    open_stimulator();
  }
  void TearDown() override {
    set_unit_time_filetime(0);
    tear_down_test_card();
    SimulatedUnit::TearDown();
  }
  // Sends a request and waits for the reply's id.
  int ask(const std::vector<uint8_t>& request) {
    send_8051(request.data(), request.size());
    sent_to_stimulator();
    return next_stimulator_message();
  }
};

TEST_F(StartupReplies, TheWholeExchangeKeepsVersionTableSerialAndClock) {
  ASSERT_EQ(ask({'V'}), 'v');
  ASSERT_TRUE(take_version_reply());
  EXPECT_EQ(stimulator_version().major, 3);
  EXPECT_EQ(stimulator_version().minor, 10);
  EXPECT_EQ(version_received.load(), 1);
  EXPECT_EQ(flash_8051_mode.load(), FLASH_MODE_TABLE);
  EXPECT_EQ(sent_to_stimulator(), (std::vector<uint8_t>{'l', 0x01, 0xF0}));
  EXPECT_NE(0u, get_gpio_reg(12) & (1u << 2)) << "power hold not raised";

  ASSERT_EQ(next_stimulator_message(), 'l');
  EXPECT_EQ(take_table_reply(), TABLE_TAKEN);
  EXPECT_EQ(unit_serial(), "1234567");
  EXPECT_EQ(calibration_received.load(), 1);
  EXPECT_EQ(flash_8051_mode.load(), FLASH_MODE_IDLE);
  EXPECT_EQ(sent_to_stimulator(), (std::vector<uint8_t>{'t'}));

  ASSERT_EQ(next_stimulator_message(), 't');
  EXPECT_TRUE(take_clock_reply());
  EXPECT_EQ(clock_set.load(), 1);
  const unitTime now = unit_local_time();
  EXPECT_EQ(now.year, 2024);
  EXPECT_EQ(now.month, 3);
  EXPECT_EQ(now.day, 1);
  EXPECT_EQ(now.hour, 9);
  EXPECT_FALSE(current_test_folder().empty());
}

TEST_F(StartupReplies, TwoVersionRepliesAskForOneTable) {
  // The start-up request and the first paint's request are both answered
  // before the table comes.
  ASSERT_EQ(ask({'V'}), 'v');
  ASSERT_TRUE(take_version_reply());
  ASSERT_TRUE(take_version_reply());
  EXPECT_EQ(sent_to_stimulator(), (std::vector<uint8_t>{'l', 0x01, 0xF0}));
  ASSERT_EQ(next_stimulator_message(), 'l');
  EXPECT_EQ(take_table_reply(), TABLE_TAKEN);
  EXPECT_EQ(next_stimulator_message(), 't');
  EXPECT_EQ(next_stimulator_message(300), -1) << "no second table";
}

TEST_F(StartupReplies, AnEmptyTableLoadsTheDefaultsAndAsksNoClock) {
  const double zeros[30] = {};
  sim_stim_set_table(zeros);
  engine_message_capture shown;
  flash_8051_mode = FLASH_MODE_TABLE;
  ASSERT_EQ(ask({'l', 0x01, 0xF0}), 'l');
  EXPECT_EQ(take_table_reply(), TABLE_DEFAULTS);
  EXPECT_EQ(flash_8051_mode.load(), FLASH_MODE_IDLE);
  EXPECT_EQ(calibration_received.load(), 0);
  ASSERT_EQ(shown.messages().size(), 1u);
  EXPECT_EQ(shown.messages()[0].first, 1);
  EXPECT_EQ(shown.messages()[0].second, "---\n DEFAULT CALIBRATION\nVALUES LOADED\n---");
  // The defaults go back to the stimulator; no clock request.
  const std::vector<uint8_t> sent = sent_to_stimulator();
  EXPECT_FALSE(sent.empty());
  EXPECT_EQ(sent[0], 'L');
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 't'), 0);
}

TEST_F(StartupReplies, ATableNobodyAwaitsIsReportedAndChangesNothing) {
  engine_message_capture shown;
  ASSERT_EQ(ask({'l', 0x01, 0xF0}), 'l');
  EXPECT_EQ(take_table_reply(), TABLE_UNEXPECTED);
  EXPECT_EQ(flash_8051_mode.load(), FLASH_MODE_IDLE);
  EXPECT_EQ(calibration_received.load(), 0);
  ASSERT_EQ(shown.messages().size(), 1u);
  EXPECT_EQ(shown.messages()[0].second, "### unknown g_flash_8051_mode 3 ###");
}

TEST_F(StartupReplies, AClockOfZerosLeavesTheClockUnsetButChoosesTheFolder) {
  sim_stim_set_clock(0);
  set_unit_time_filetime(kMarch1At9);
  ASSERT_EQ(ask({'t'}), 't');
  EXPECT_FALSE(take_clock_reply());
  EXPECT_EQ(clock_set.load(), 0);
  EXPECT_FALSE(current_test_folder().empty());
}

TEST(StartupReplyParsing, VersionFields) {
  struct Case {
    const char* text;
    int n;
    bool ok;
    int major, minor;
  } cases[] = {
      {"03.010", 6, true, 3, 10},
      {"12x345", 6, true, 12, 345},
      {"ab.cde", 6, true, 0, 0},
      {"03.01", 5, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int major = 0, minor = 0;
    EXPECT_EQ(parse_version_payload(reinterpret_cast<const uint8_t*>(c.text), c.n, major, minor), c.ok);
    EXPECT_EQ(major, c.major);
    EXPECT_EQ(minor, c.minor);
  }
}

TEST(StartupReplyParsing, ClockBytesAreAFiletimeMostSignificantFirst) {
  const uint8_t bytes[8] = {0x01, 0xDA, 0x6B, 0xB2, 0x6A, 0x5E, 0x54, 0x00};
  EXPECT_EQ(clock_payload_filetime(bytes, 8), 0x01DA6BB26A5E5400ull);
  EXPECT_EQ(clock_payload_filetime(bytes, 7), 0u);
  const unitTime epoch = filetime_to_unit_time(116444736000000000ull);
  EXPECT_EQ(epoch.year, 1970);
  EXPECT_EQ(epoch.month, 1);
  EXPECT_EQ(epoch.day, 1);
  EXPECT_EQ(epoch.day_of_week, 4);  // a Thursday
  const unitTime march = filetime_to_unit_time(kMarch1At9);
  EXPECT_EQ(march.year, 2024);
  EXPECT_EQ(march.month, 3);
  EXPECT_EQ(march.day, 1);
  EXPECT_EQ(march.hour, 9);
  EXPECT_EQ(unit_time_to_filetime(march), kMarch1At9);
}

TEST(StartupReplyParsing, TheUnitKeepsTheTimeItWasGiven) {
  set_unit_time_filetime(kMarch1At9);
  EXPECT_EQ(clock_set.load(), 1);
  const int64_t drift = static_cast<int64_t>(unit_time_filetime()) - static_cast<int64_t>(kMarch1At9);
  EXPECT_GE(drift, 0);
  EXPECT_LT(drift, 10 * 10000000ll);  // within ten seconds of real time
  set_unit_time_filetime(0);
  EXPECT_EQ(clock_set.load(), 0);
}

}  // namespace
