// The calibration values page (MENU_CALIBRATION_VALUES), its other page
// (MENU_CALIBRATION_OTHER) and the calibration entry
// (MENU_CALIBRATION_ENTRY).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/message_text.h"
#include "handheld/ui/menus/setup_calibration_values.h"
#include "handheld/ui/menus/tests/setup_fixture.h"
#include "handheld/ui/menus/setup_keypad.h"
#include "handheld/engine/storage/system_parameters.h"

namespace {

using CalibrationValues = SetupTest;

std::string link_record(int index, double value) {
  std::string r{'L', static_cast<char>(index), 8};
  r.append(reinterpret_cast<const char*>(&value), 8);
  return r;
}

TEST_F(CalibrationValues, ThePageShowsTheTableLineByLine) {
  calibration_table[0] = 4.8e-05;
  calibration_table[1] = -0.06;
  calibration_table[2] = 5e-05;
  calibration_table[3] = 0.8;
  const std::vector<calibrationLine> lines = calibration_constant_lines();
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0].y, 5);
  EXPECT_EQ(lines[0].text, L"FLSH:  4.8e-05     -0.06");
  EXPECT_EQ(lines[4].y, 65);
  EXPECT_EQ(lines[4].text, L"BKG1:      0.8     5e-05") << "the intercept first";
  EXPECT_EQ(lines[14].y, 245);
}

// To Disk writes every value whole; From Disk reads them back, sends all 30
// and keeps the unit's own serial number; a file short of one value is
// refused and changes nothing.
TEST_F(CalibrationValues, TheFileRoundTripsAndAShortFileChangesNothing) {
  const double third = 1.0 / 3.0;
  calibration_table[0] = third;
  open(MENU_CALIBRATION_VALUES);
  press(KEY_UPPER_LEFT);  // "To Disk"
  const std::string serial = unit_serial();
  const std::filesystem::path file = card_ / ("Cal" + serial + ".txt");
  ASSERT_TRUE(std::filesystem::exists(file)) << serial;
  std::vector<std::string> shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "CALIBRATION SAVED\n\nto CFC.\n\n[Storage Card\\Cal" + serial + ".txt]");
  EXPECT_EQ(message_layout().kind, MESSAGE_NOTICE) << "a notice, in green";
  press(KEY_LOWER_RIGHT);  // the message page's "Back"

  double saved[CALIBRATION_ENTRIES];
  for (int i = 0; i < CALIBRATION_ENTRIES; ++i) saved[i] = calibration_table[i];
  calibration_table[0] = 7.0;
  calibration_table[5] = 8.0;
  stimulator_records();
  press(KEY_LOWER_LEFT);  // "From Disk"
  EXPECT_EQ(calibration_table[0].load(), third) << "full precision";
  for (int i = 0; i < CALIBRATION_ENTRIES; ++i) EXPECT_EQ(calibration_table[i].load(), saved[i]) << i;
  const std::vector<std::string> sent = stimulator_records();
  ASSERT_EQ(sent.size(), 30u);
  for (int i = 0; i < CALIBRATION_ENTRIES; ++i) EXPECT_EQ(sent[i], link_record(i + 1, saved[i])) << i;
  shown = messages();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), "CALIBRATION UPDATTED\n\nfrom CFC.\n\n[Storage Card\\Cal" + serial + ".txt]");
  press(KEY_LOWER_RIGHT);

  {
    std::ofstream out(file, std::ios::trunc);
    for (int i = 0; i < 29; ++i) out << "9.5\n";
  }
  press(KEY_LOWER_LEFT);
  for (int i = 0; i < CALIBRATION_ENTRIES; ++i) EXPECT_EQ(calibration_table[i].load(), saved[i]) << i;
  EXPECT_TRUE(stimulator_records().empty());
  EXPECT_FALSE(messages().empty()) << "the refusal is shown";
}

TEST_F(CalibrationValues, TheOtherPageLoadsDefaultsResetsAndOpensTheSerialEntry) {
  calibration_table[0] = 1.0;
  open(MENU_CALIBRATION_VALUES);
  press(KEY_UPPER_RIGHT);  // "Other"
  ASSERT_EQ(shown_menu(), MENU_CALIBRATION_OTHER);
  stimulator_records();
  press(KEY_UPPER_LEFT);  // "Set Defaults"
  EXPECT_EQ(calibration_table[0].load(), 4.8e-05);
  EXPECT_EQ(stimulator_records().size(), 30u);
  EXPECT_EQ(messages(), std::vector<std::string>{"Default calibration values loaded"});
  EXPECT_NE(log_text().find("DEFAULT CALIBRATION LOADED."), std::string::npos);
  press(KEY_LOWER_RIGHT);
  press(KEY_LOWER_LEFT);  // "Reset 8051"
  EXPECT_EQ(stimulator_records(), (std::vector<std::string>{"TZ"}));
  press(KEY_UPPER_RIGHT);  // "Enter Serial #"
  EXPECT_EQ(shown_menu(), MENU_ID_ENTRY);
}

TEST_F(CalibrationValues, CalibrationEntryWarnsThenStarts) {
  open(MENU_CALIBRATION_ENTRY);
  EXPECT_EQ(captions(), (std::array<std::wstring, 4>{L"Yes", L"System Parms", L"No", L"Back"}));
  EXPECT_EQ(page_text(KEYPAD_PROMPT),
            L"!!! WARNING !!!\nCALIBRATION IS TO BE\nPERFORMED BY QUALIFIED\nFACTORY PERSONNEL ONLY.\n\n Proceed?");
  stimulator_records();
  press(KEY_UPPER_LEFT);
  EXPECT_EQ(stimulator_records(), (std::vector<std::string>{"TS"}));
  EXPECT_NE(log_text().find("CALIBRATION STARTED"), std::string::npos);
  EXPECT_EQ(shown_menu(), MENU_CALIBRATION_CHOICE);
  press(KEY_LOWER_RIGHT);

  std::filesystem::create_directories(card_ / "CAL");
  std::ofstream(card_ / "CAL" / "IN") << "";
  open(MENU_CALIBRATION_ENTRY);
  // The remote-control side, woken for the auto calibration, may cover the
  // keypad with its own page.
  wchar_t prompt[64] = {};
  GetDlgItemTextW(keypad_window(), KEYPAD_PROMPT, prompt, 64);
  EXPECT_STREQ(prompt, L"--- Auto Calibration mode ---");
}

}  // namespace
