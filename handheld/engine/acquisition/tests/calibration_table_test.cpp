// The calibration table: the start-up exchange with the simulated
// stimulator, the defaults, the packed serial number and the constants'
// lines.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "handheld/engine/storage/calibration_lines.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"

namespace {

using bytes = std::vector<uint8_t>;

const double kDefaults[CALIBRATION_ENTRIES] = {
    4.8e-05, -0.06, 5e-05, 0.8, 15.25, -90.0, 0.00045, -1930.0, 0.00045, -1930.0,
    15.25, -90.0, 15.25, -90.0, 15.25, -90.0, 0, 0, 0, 0,
    0, 0, 0.09, 4.2e-05, 1.9e-10, 0.09, 4.2e-05, 1.9e-10, 5e-05, 0.8,
};

bytes double_bytes(double v) {
  bytes b(8);
  memcpy(b.data(), &v, 8);
  return b;
}

std::vector<sim_stim_record> stimulator_records() {
  std::vector<sim_stim_record> records(sim_stim_records(nullptr, 0));
  records.resize(sim_stim_records(records.data(), static_cast<uint32_t>(records.size())));
  return records;
}

class CalibrationExchange : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    reset_calibration_table();
    set_unit_serial("");
    open_stimulator();
  }
  void TearDown() override {
    reset_calibration_table();
    set_unit_serial("");
    SimulatedUnit::TearDown();
  }

  // The unit's side of start-up up to the table: "V", the version, the
  // table request (as the main dialog sends it), and the table message.
  void request_table() {
    send_8051_byte(COMMAND_VERSION);
    ASSERT_EQ('v', next_stimulator_message());
    {
      std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
      for (uint8_t b : TABLE_REQUEST) send_8051_byte(b);
    }
    ASSERT_EQ('l', next_stimulator_message());
  }
};

TEST_F(CalibrationExchange, StartUpTakesTheStimulatorsTableAndAsksForTheClock) {
  double table[CALIBRATION_ENTRIES];
  sim_stim_get_table(table);
  table[5] = -91.5;
  sim_stim_set_table(table);

  request_table();
  EXPECT_EQ(CALIBRATION_TAKEN, take_calibration_message());
  EXPECT_EQ('t', next_stimulator_message());
  EXPECT_EQ((bytes{'V', 'l', 0x01, 0xF0, 't'}), sent_to_stimulator());
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) EXPECT_EQ(table[e], calibration_table[e].load()) << e;
  EXPECT_EQ("1234567", unit_serial());
  EXPECT_EQ(1, calibration_received.load());
}

TEST_F(CalibrationExchange, AStimulatorWithoutATableGetsTheDefaults) {
  calibration_table[17] = 3.5;
  unit_serial_to_table("7654321");
  const double serial_entry = calibration_table[UNIT_SERIAL_ENTRY];
  // Only the first eight bytes count: the rest need not be zero.
  double table[CALIBRATION_ENTRIES];
  for (double& v : table) v = 1.25;
  table[0] = 0.0;
  sim_stim_set_table(table);

  engine_message_capture shown;
  request_table();
  sent_to_stimulator();
  EXPECT_EQ(CALIBRATION_DEFAULTS, take_calibration_message());
  ASSERT_EQ(1u, shown.messages().size());
  EXPECT_EQ(1, shown.messages()[0].first);
  EXPECT_EQ("---\n DEFAULT CALIBRATION\nVALUES LOADED\n---", shown.messages()[0].second);

  // 30 'L' frames, link indices 1 to 30, and no clock request.
  const std::vector<sim_stim_record> records = stimulator_records();
  ASSERT_EQ(30u, records.size());
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) {
    SCOPED_TRACE(e);
    const double expected = e == 17 ? 3.5 : e == UNIT_SERIAL_ENTRY ? serial_entry : kDefaults[e];
    EXPECT_EQ(expected, calibration_table[e].load());
    bytes frame = {'L', static_cast<uint8_t>(e + 1), 8};
    const bytes value = double_bytes(expected);
    frame.insert(frame.end(), value.begin(), value.end());
    EXPECT_EQ(11u, records[e].length);
    EXPECT_EQ(frame, bytes(records[e].bytes, records[e].bytes + 11));
  }
  double stored[CALIBRATION_ENTRIES];
  sim_stim_get_table(stored);
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) EXPECT_EQ(calibration_table[e].load(), stored[e]) << e;
  EXPECT_EQ(0, calibration_received.load());
  EXPECT_EQ(-1, next_stimulator_message(200));
}

TEST_F(CalibrationExchange, ATableMessageWithoutAll240BytesIsRefused) {
  const bytes payload(100, 0x11);
  sim_stim_send_message('l', payload.data(), static_cast<uint32_t>(payload.size()), 0);
  ASSERT_EQ('l', next_stimulator_message());
  EXPECT_EQ(CALIBRATION_REFUSED, take_calibration_message());
  EXPECT_EQ(14.90119, calibration_table[10].load());
  EXPECT_EQ(0.0, calibration_table[0].load());
  EXPECT_TRUE(sent_to_stimulator().empty());
  EXPECT_NE(std::string::npos, log_text().find("CALIBRATION MESSAGE 'l' OF 100 BYTES, NOT 240: TABLE KEPT"));
}

TEST_F(CalibrationExchange, TheSerialNumberPageAcceptsDigitsAndBlanksOnly) {
  engine_message_capture shown;
  EXPECT_TRUE(store_unit_serial("0012345"));
  EXPECT_EQ("0012345", unit_serial());
  bytes frame = {'L', 20, 8, 0, 0, 1, 2, 3, 4, 0, 105};
  EXPECT_EQ(frame, sent_to_stimulator());

  EXPECT_FALSE(store_unit_serial("12A4567"));
  EXPECT_EQ("0012345", unit_serial());
  EXPECT_TRUE(sent_to_stimulator().empty());
  ASSERT_EQ(1u, shown.messages().size());
  EXPECT_EQ("*** SERIAL NUMBER DIGITS ***\n\n*** MUST BE 0..9 ONLY    ***", shown.messages()[0].second);
}

TEST(CalibrationTable, SerialNumberPacking) {
  struct Case {
    const char* text;
    bytes packed;
    const char* unpacked;
  } cases[] = {
      {"1234567", {1, 2, 3, 4, 5, 6, 0, 107}, "1234567"},
      {"123456 ", {1, 2, 3, 4, 5, 6, 0, 0}, "123456"},  // a blank seventh: none
      {"123", {1, 2, 3, 10, 10, 10, 0, 0}, "123   "},
      {"AZ?x b9", {11, 36, 37, 10, 10, 10, 0, 109}, "AZ?   9"},  // lower case: blanks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    unit_serial_to_table(c.text);
    EXPECT_EQ(c.packed, double_bytes(calibration_table[UNIT_SERIAL_ENTRY]));
    char out[8];
    unit_serial_from_table(out);
    EXPECT_STREQ(c.unpacked, out);
  }
  // Bytes outside the alphabet unpack as '?'.
  bytes odd = {40, 1, 2, 3, 4, 5, 0, 250};
  double v;
  memcpy(&v, odd.data(), 8);
  calibration_table[UNIT_SERIAL_ENTRY] = v;
  char out[8];
  unit_serial_from_table(out);
  EXPECT_STREQ("?12345?", out);
  EXPECT_EQ(10, entry_char_index('a'));
  EXPECT_EQ(38 - 1, entry_char_index('?'));
  reset_calibration_table();
}

TEST(CalibrationTable, BeforeTheStimulatorsCopyOnlyTheImpedanceLinesAreSet) {
  reset_calibration_table();
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) {
    const double expected = e >= 10 && e <= 15 ? (e % 2 == 0 ? 14.90119 : -200.2468) : 0.0;
    EXPECT_EQ(expected, calibration_table[e].load()) << e;
  }
  EXPECT_EQ(22, flash_quadratic_entry(0, 0));
  EXPECT_EQ(27, flash_quadratic_entry(1, 2));
  EXPECT_EQ(2, background_slope_entry(0));
  EXPECT_EQ(29, background_intercept_entry(1));
}

TEST(CalibrationTable, ConstantLinesShowTheirEntries) {
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) calibration_table[e] = kDefaults[e];
  calibrationLine lines[CALIBRATION_LINE_COUNT];
  calibration_constant_lines(lines);
  EXPECT_EQ(5, lines[0].y);
  EXPECT_STREQ("FLSH:  4.8e-05     -0.06", lines[0].text);
  EXPECT_EQ(20, lines[1].y);
  EXPECT_STREQ("F1C0:     0.09", lines[1].text);
  EXPECT_EQ(65, lines[4].y);
  EXPECT_STREQ("BKG1:      0.8     5e-05", lines[4].text);  // intercept first
  EXPECT_STREQ("DATA_A:  0.00045     -1930", lines[5].text);
  EXPECT_EQ(245, lines[14].y);
  EXPECT_STREQ("BKG2:      0.8     5e-05", lines[14].text);
  reset_calibration_table();
}

}  // namespace
