// The four calibration procedures driven from the stimulator's keypad on
// the simulated unit: each reading prompted, the value typed and confirmed,
// the fit shown, and ACCEPT sending exactly the fitted entries (read back
// from what the simulated stimulator received and now holds); REJECT and
// "exit calibration" send nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/menus/setup_calibration_run.h"
#include "handheld/ui/menus/tests/setup_fixture.h"
#include "handheld/ui/menus/setup_keypad.h"
#include "handheld/ui/menus/setup_menus.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/ui/frame/timers.h"
#include "handheld/engine/acquisition/value_digits.h"

namespace {

using Captions = std::array<std::wstring, 4>;

// The 'L' record that sends a table entry: 'L', link index, 8, the double's
// bytes, little-endian.
std::string entry_record(int entry, double value) {
  std::string r = "L";
  r += static_cast<char>(entry + 1);
  r += static_cast<char>(8);
  uint8_t bytes[8];
  std::memcpy(bytes, &value, 8);
  for (uint8_t b : bytes) r += static_cast<char>(b);
  return r;
}

std::vector<std::string> only_entry_records(const std::vector<std::string>& records) {
  std::vector<std::string> found;
  for (const std::string& r : records) {
    if (r.size() == 11 && r[0] == 'L' && r[1] != 0) found.push_back(r);
  }
  return found;
}

std::vector<double> stimulator_table() {
  std::vector<double> table(SIM_STIM_TABLE_ENTRIES);
  sim_stim_get_table(table.data());
  return table;
}

struct line {
  double slope, intercept;
};
line least_squares(const std::vector<double>& x, const std::vector<double>& y) {
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  const double n = static_cast<double>(x.size());
  for (size_t i = 0; i < x.size(); ++i) {
    sx += x[i];
    sy += y[i];
    sxx += x[i] * x[i];
    sxy += x[i] * y[i];
  }
  const double d = n * sxx - sx * sx;
  return {(n * sxy - sx * sy) / d, (sxx * sy - sxy * sx) / d};
}

class Calibration : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    kill_timer(TIMER_STATUS);  // no battery reading changes the board options meanwhile
    board_options = 0;
  }
  // A key of the stimulator's keypad under a caption
  // (KEY_UPPER_LEFT..KEY_LOWER_RIGHT).
  void key(int control, int quietMs = 150) {
    static const uint8_t bytes[4] = {'1', '3', '2', '4'};  // upper left, lower left, upper right, lower right
    post_stimulator_byte(bytes[control - KEY_UPPER_LEFT]);
    pump_until_idle(quietMs);
  }
  static int field(int i) { return static_cast<int>(std::wcstol(page_text(KEYPAD_FIRST_DIGIT + i).c_str(), nullptr, 10)); }
  // Types a value on the keypad with UP and TAB, from the first field round
  // to it again.
  void type_value(double value) {
    ASSERT_EQ(top_page(), keypad_window());
    const valueDigits target = value_to_digits(value);
    for (int f = 0; f < KEYPAD_FIELDS; ++f) {
      const int wanted = f < 4 ? target.digit[f] : target.exponent;
      const int ups = ((wanted - field(f)) % 10 + 10) % 10;
      for (int u = 0; u < ups; ++u) key(KEY_UPPER_LEFT, 20);
      key(KEY_UPPER_RIGHT, 20);
    }
    ASSERT_DOUBLE_EQ(keypad_value(), value);
  }
  static std::wstring prompt() { return page_text(KEYPAD_PROMPT); }
  template <typename... Args>
  static std::wstring text(const wchar_t* format, Args... args) {
    wchar_t t[200];
    std::swprintf(t, 200, format, args...);
    return t;
  }
};

TEST_F(Calibration, FlashPointsAreTakenFittedAndAcceptedOnTheStimulator) {
  const double c[3] = {calibration_table[22], calibration_table[23], calibration_table[24]};
  open(MENU_FLASH_CALIBRATION, PAGE_FLASH_CALIBRATION);
  EXPECT_EQ(captions(), (Captions{L"FLASH", L"", L"", L""}));
  EXPECT_EQ(prompt(), L"PRESS 'FLASH' WHEN\nYOU ARE READY TO\nTAKE A READING");
  EXPECT_EQ(stimulator_records().front()[0], 'f') << "the first point's flash prepared";
  key(KEY_LOWER_RIGHT);  // a blank key does nothing
  EXPECT_EQ(shown_menu(), MENU_FLASH_CALIBRATION);

  const int nominal[5] = {10000, 20000, 15000, 30000, 25000};
  std::vector<double> measured, volts;
  for (int p = 0; p < 5; ++p) {
    sim_stim_state before{}, after{};
    sim_stim_get_state(&before);
    key(KEY_UPPER_LEFT);  // "FLASH"
    sim_stim_get_state(&after);
    EXPECT_EQ(after.flashes, before.flashes + 1) << "point " << p + 1;
    EXPECT_EQ(captions(), (Captions{L"UP", L"DOWN", L"TAB", L"DONE"}));
    EXPECT_EQ(prompt(), text(L"RECORD THE MEASURED FLASH\nINTENSITY IN mcd.s/m^2\n\n(point %d of %d)", p + 1, 5));
    const double m = nominal[p] * 1.1;
    if (p == 2) {  // a wrong value first: NO takes the point again
      type_value(9000);
      key(KEY_LOWER_RIGHT);
      key(KEY_UPPER_RIGHT);  // "NO"
      EXPECT_EQ(captions()[0], L"FLASH");
      key(KEY_UPPER_LEFT);
    }
    type_value(m);
    key(KEY_LOWER_RIGHT);  // "DONE"
    EXPECT_EQ(captions(), (Captions{L"YES", L"", L"NO", L"exit calibration"}));
    EXPECT_EQ(prompt(), text(L"IS\n%lg mcd.s/m^2\nCORRECT?\n\n(%d)", m, nominal[p]));
    key(KEY_UPPER_LEFT);  // "YES"
    measured.push_back(m);
    volts.push_back(c[0] + c[1] * nominal[p] + c[2] * nominal[p] * nominal[p]);
  }
  EXPECT_EQ(captions(), (Captions{L"ACCEPT", L"", L"REJECT", L""}));
  EXPECT_EQ(plotter_title_buffer(), L"FLASH INTENSITY CALIBRATION");
  EXPECT_EQ(plotter_row_text(-3).substr(0, 4), L"C0: ");
  save_screen("calibration-flash-fit");
  EXPECT_TRUE(only_entry_records(stimulator_records()).empty()) << "nothing stored before ACCEPT";

  key(KEY_UPPER_LEFT);  // "ACCEPT"
  EXPECT_EQ(shown_menu(), MENU_MAIN) << "back where the procedure was opened";
  // The points lie on the old quadratic at measured / 1.1.
  EXPECT_NEAR(calibration_table[22], c[0], 1e-6);
  EXPECT_NEAR(calibration_table[23] / (c[1] / 1.1), 1.0, 1e-4);
  EXPECT_NEAR(calibration_table[24] / (c[2] / 1.21), 1.0, 1e-3);
  const line fit = least_squares(measured, volts);
  EXPECT_NEAR(calibration_table[0] / fit.slope, 1.0, 1e-9);
  EXPECT_NEAR(calibration_table[1] - fit.intercept, 0.0, 1e-9);
  const std::vector<std::string> expected = {
      entry_record(0, calibration_table[0]),   entry_record(1, calibration_table[1]),
      entry_record(22, calibration_table[22]), entry_record(23, calibration_table[23]),
      entry_record(24, calibration_table[24])};
  EXPECT_EQ(only_entry_records(stimulator_records()), expected);
  const std::vector<double> held = stimulator_table();
  for (int e : {0, 1, 22, 23, 24}) EXPECT_EQ(held[e], calibration_table[e].load()) << e;

  const std::string log = log_text();
  EXPECT_NE(log.find("FLASH CALIBRATION STARTED"), std::string::npos);
  EXPECT_NE(log.find("Flash data point: x = 11000 mcds/m^2, y = "), std::string::npos) << log;
  EXPECT_NE(log.find("FLASH (dome 1) CALIBRATION ACCEPTED, "), std::string::npos);
}

// The second dome chosen first; the background line of that dome fitted
// and sent as entries 28 and 29.
TEST_F(Calibration, BackgroundOfTheSecondDome) {
  board_options = BOARD_DUAL_DOME;
  open(MENU_BACKGROUND_CALIBRATION, PAGE_BACKGROUND_CALIBRATION);
  EXPECT_EQ(shown_menu(), MENU_DOME);
  key(KEY_UPPER_RIGHT);  // "Dome 2"
  EXPECT_EQ(shown_menu(), MENU_BACKGROUND_CALIBRATION);
  EXPECT_EQ(captions(), (Captions{L"On", L"", L"", L""}));
  EXPECT_EQ(prompt(), L"1) ZERO PHOTOMETER.\n\n2) THEN PRESS 'ON'.");
  const double slope = calibration_table[28], intercept = calibration_table[29];
  const int nominal[5] = {20000, 30000, 8000, 25000, 14000};
  std::vector<double> measured, volts;
  for (int p = 0; p < 5; ++p) {
    key(KEY_UPPER_LEFT);  // "On"
    EXPECT_GT(sim_dac_output(2), 0u) << "the background on";
    const double m = nominal[p] / 2.0;
    type_value(m);
    key(KEY_LOWER_RIGHT);
    EXPECT_EQ(sim_dac_output(2), 0u) << "off while confirming";
    EXPECT_EQ(prompt(), text(L"IS\n%lg mcd/m^2\nCORRECT?\n\n(%d)", m, nominal[p]));
    key(KEY_UPPER_LEFT);
    measured.push_back(m);
    volts.push_back(slope * nominal[p] + intercept);
  }
  EXPECT_EQ(plotter_title_buffer(), L"BACKGROUND INTENSITY CALIBRATION");
  key(KEY_UPPER_LEFT);  // "ACCEPT"
  const line fit = least_squares(measured, volts);
  EXPECT_NEAR(calibration_table[28] / fit.slope, 1.0, 1e-9);
  EXPECT_NEAR(calibration_table[28], 2 * slope, 1e-12);
  EXPECT_NEAR(calibration_table[29], intercept, 1e-9);
  EXPECT_EQ(only_entry_records(stimulator_records()),
            (std::vector<std::string>{entry_record(28, calibration_table[28]), entry_record(29, calibration_table[29])}));
  EXPECT_NE(log_text().find("BACKGROUND (dome 2) CALIBRATION ACCEPTED "), std::string::npos);
}

// REJECT and "exit calibration" leave the table and send no entry.
TEST_F(Calibration, RejectAndExitSendNothing) {
  const std::vector<double> before = stimulator_table();
  open(MENU_BACKGROUND_CALIBRATION, PAGE_BACKGROUND_CALIBRATION);
  for (int p = 0; p < 5; ++p) {
    key(KEY_UPPER_LEFT);
    type_value(1000.0 * (p + 1));
    key(KEY_LOWER_RIGHT);
    key(KEY_UPPER_LEFT);
  }
  EXPECT_EQ(captions(), (Captions{L"ACCEPT", L"", L"REJECT", L""}));
  key(KEY_UPPER_RIGHT);  // "REJECT"
  EXPECT_EQ(shown_menu(), MENU_MAIN);

  open(MENU_FLASH_CALIBRATION, PAGE_FLASH_CALIBRATION);
  key(KEY_UPPER_LEFT);
  type_value(12000);
  key(KEY_LOWER_RIGHT);
  key(KEY_LOWER_RIGHT);  // "exit calibration"
  EXPECT_EQ(shown_menu(), MENU_MAIN);
  EXPECT_TRUE(only_entry_records(stimulator_records()).empty());
  EXPECT_EQ(stimulator_table(), before);
}

// Five readings of one value give no line: ACCEPT stores nothing and says
// so, and the fit stays for REJECT.
TEST_F(Calibration, AcceptWithoutALineStoresNothing) {
  const std::vector<double> before = stimulator_table();
  open(MENU_BACKGROUND_CALIBRATION, PAGE_BACKGROUND_CALIBRATION);
  for (int p = 0; p < 5; ++p) {
    key(KEY_UPPER_LEFT);
    type_value(10000);
    key(KEY_LOWER_RIGHT);
    key(KEY_UPPER_LEFT);
  }
  ASSERT_EQ(captions(), (Captions{L"ACCEPT", L"", L"REJECT", L""}));
  messages();
  key(KEY_UPPER_LEFT);  // "ACCEPT"
  const std::vector<std::string> shown = messages();
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown.back().find("*** NO FIT ***"), std::string::npos) << shown.back();
  EXPECT_TRUE(only_entry_records(stimulator_records()).empty());
  EXPECT_EQ(stimulator_table(), before);
  key(KEY_LOWER_RIGHT);  // the message's "Back"
  EXPECT_EQ(shown_menu(), MENU_BACKGROUND_CALIBRATION);
  EXPECT_EQ(captions(), (Captions{L"ACCEPT", L"", L"REJECT", L""}));
  key(KEY_UPPER_RIGHT);  // "REJECT"
  EXPECT_EQ(shown_menu(), MENU_MAIN);
}

// An impedance reading that fails (no sync pulse) is not a point: the step
// is offered again.
TEST_F(Calibration, AFailedImpedanceReadingIsTakenAgain) {
  calibration_choice.channel = 0;
  calibration_choice.electrode = 0;
  open(MENU_IMPEDANCE_CALIBRATION);
  sim_fault_set(SIM_FAULT_STIM_NO_SYNC, 0);
  messages();
  key(KEY_UPPER_LEFT);  // "Go"
  sim_fault_clear(SIM_FAULT_STIM_NO_SYNC);
  const std::vector<std::string> shown = messages();
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown.back().find("NO SYNC PULSE RECEIVED FROM 8051"), std::string::npos) << shown.back();
  key(KEY_LOWER_RIGHT);  // the message's "Back"
  EXPECT_EQ(shown_menu(), MENU_IMPEDANCE_CALIBRATION);
  EXPECT_EQ(captions(), (Captions{L"Go", L"", L"", L"Back"}));
  EXPECT_EQ(prompt().substr(0, 16), L"Step 1 of 6/Setu");
  EXPECT_EQ(calibration_run.line.count, 0);
  stimulator_records();
  key(KEY_LOWER_RIGHT);  // "Back"
  EXPECT_EQ(shown_menu(), MENU_MAIN);
  EXPECT_EQ(stimulator_records(), std::vector<std::string>{"O"});
}

// The data calibration of channel A on a 130 Hz sinewave whose amplitude
// follows the attenuation: the fit gives back the front end's scale and
// offset.
TEST_F(Calibration, DataCalibrationFindsTheFrontEndsScale) {
  auto feed = [](double attenuation_db) {
    sim_signal s;
    sim_signal_defaults(0, &s);
    s.noise_uv = 0.01;
    s.hum_hz = 130.0;
    s.hum_uv = 1e6 * std::pow(10.0, -attenuation_db / 20.0) / 2;
    sim_signal_set(0, &s);
  };
  calibration_choice.channel = 0;
  open(MENU_DATA_CALIBRATION, PAGE_CALIBRATION);
  EXPECT_EQ(captions(), (Captions{L"Next", L"", L"", L""}));
  EXPECT_NE(prompt().find(L"through approximately 72Db\n to the pod channel A,"), std::wstring::npos);
  for (int step = 1; step <= 5; ++step) {
    feed(72.0 + (step - 1) * 4.0);
    key(KEY_UPPER_LEFT);  // "Next"
    ASSERT_EQ(captions(), (Captions{L"Yes", L"", L"No", L""})) << "step " << step << remote_transcript().substr(remote_transcript().size() > 600 ? remote_transcript().size() - 600 : 0);
    EXPECT_EQ(plotter_row_text(-3).find(L"Is sinewave distortion free") != std::wstring::npos, true);
    if (step == 2) {  // "No" repeats the step's set-up
      key(KEY_UPPER_RIGHT);
      EXPECT_NE(prompt().find(L"-->76Db<--"), std::wstring::npos);
      key(KEY_UPPER_LEFT);
    }
    key(KEY_UPPER_LEFT);  // "Yes"
    if (step == 1) {
      EXPECT_DOUBLE_EQ(keypad_value(), 72.0) << "the digits start at 72";
      EXPECT_EQ(captions(), (Captions{L"UP", L"DOWN", L"TAB", L"DONE"}));
      key(KEY_LOWER_RIGHT);  // "DONE"
      EXPECT_EQ(prompt(), L"Step 1/Record\n\nIS\n72 Db\nCORRECT?");
      key(KEY_UPPER_LEFT);  // "YES"
    }
  }
  ASSERT_EQ(captions(), (Captions{L"ACCEPT", L"", L"REJECT", L""}));
  EXPECT_EQ(plotter_title_buffer(), L"DATA POINT ACQUISITION");
  key(KEY_UPPER_LEFT);
  EXPECT_NEAR(calibration_table[6], 0.00045, 0.00045 * 0.01);
  EXPECT_NEAR(calibration_table[7], -1930.0, 20.0);
  EXPECT_EQ(only_entry_records(stimulator_records()),
            (std::vector<std::string>{entry_record(6, calibration_table[6]), entry_record(7, calibration_table[7])}));
  const std::string log = log_text();
  EXPECT_NE(log.find("DATA CALIBRATION STARTED."), std::string::npos);
  EXPECT_NE(log.find("ADD DATAPOINTS step 5 ("), std::string::npos);
  EXPECT_NE(log.find("DATA CALIBRATION ACCEPTED (channel A) "), std::string::npos);
}

// Six resistors on channel A's reference electrode: the fit gives back the
// simulated stimulator's ohms per microvolt.
TEST_F(Calibration, ImpedanceCalibrationOfOneElectrode) {
  for (uint32_t input : {0u, 1u}) {
    sim_signal s;
    sim_signal_defaults(input, &s);
    s.noise_uv = 0.5;
    sim_signal_set(input, &s);
  }
  calibration_choice.channel = 0;
  calibration_choice.electrode = 1;
  open(MENU_IMPEDANCE_CALIBRATION);
  EXPECT_EQ(stimulator_records().front(), "I");
  EXPECT_EQ(captions(), (Captions{L"Go", L"", L"", L"Back"}));
  const double resistors[6] = {10000, 6810, 5600, 4750, 2210, 1500};
  for (int step = 1; step <= 6; ++step) {
    EXPECT_EQ(prompt(), text(L"Step %d of 6/Setup\n\nAttach %lg ohms to\ninput being tested\nand press 'Go'.", step,
                             resistors[step - 1]));
    sim_electrode e{resistors[step - 1], 0.0, 0.0};
    sim_electrode_set(0, SIM_REFERENCE, &e);
    key(KEY_UPPER_LEFT);  // "Go"
    ASSERT_EQ(captions(), (Captions{L"", L"", L"", L"Back"})) << "step " << step;
    EXPECT_EQ(prompt().substr(0, 11), L"datapoint \n");
    key(KEY_LOWER_RIGHT);
  }
  ASSERT_EQ(captions(), (Captions{L"ACCEPT", L"", L"REJECT", L""}));
  EXPECT_EQ(plotter_title_buffer(), L"A-REF IMPEDANCE RESULTS");
  stimulator_records();
  key(KEY_UPPER_LEFT);
  EXPECT_NEAR(calibration_table[10], 15.25, 15.25 * 0.05);
  EXPECT_NEAR(calibration_table[11], -90.0, 150.0);
  const std::vector<std::string> records = stimulator_records();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.front(), "O");
  EXPECT_EQ(only_entry_records(records),
            (std::vector<std::string>{entry_record(10, calibration_table[10]), entry_record(11, calibration_table[11])}));
  EXPECT_NE(log_text().find("Channel A, reference Impedance calibration ACCEPTED s: "), std::string::npos);
}

}  // namespace
