// The technician's menus: system set-up, the parameter editor, the
// calibration values file and its other page, the calibration entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/pages/date_time_page.h"
#include "platform/ce/card_path.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/menus/setup_calibration_values.h"
#include "handheld/ui/menus/tests/setup_fixture.h"
#include "handheld/ui/menus/setup_keypad.h"
#include "handheld/ui/menus/setup_menus.h"
#include "handheld/ui/menus/setup_parameters.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/frame/timers.h"

namespace {

using Captions = std::array<std::wstring, 4>;
using SetupMenus = SetupTest;

// What the stimulator holds for a backlight level: the counts in effect and
// the ones stored.
sim_stim_state stimulator_state() {
  sim_stim_state state{};
  sim_stim_get_state(&state);
  return state;
}

// Each of the 46 menus opened without a page-shown command carries the
// captions of the menu table.
TEST_F(SetupMenus, EveryMenuShowsItsCaptions) {
  const struct {
    int menu;
    Captions captions;
  } table[] = {
      {0, {L"Acquire Data", L"File Info", L"System Setup", L"Quit"}},
      {1, {L"", L"", L"", L""}},
      {2, {L"Set Time", L"Calibration", L"Restore Defaults", L"Back"}},
      {3, {L"Repeat Protocol", L"Discard Test", L"", L"Next"}},
      {4, {L"UP", L"DOWN", L"SELECT", L"Back"}},
      {5, {L"", L"", L"", L""}},
      {6, {L"Flash Int", L"Background Int", L"Data/impedance", L"Back"}},
      {7, {L"UP", L"DOWN", L"SELECT", L""}},
      {8, {L"UP", L"DOWN", L"EDIT", L"Back"}},
      {9, {L"Up", L"Down", L"Tab", L"Back"}},
      {10, {L"Restore", L"", L"", L"Do Not Restore"}},
      {11, {L"UP", L"DOWN", L"TAB", L"DONE"}},
      {12, {L"Data", L"Cal Values", L"Impedance", L"Back"}},
      {13, {L"Impedance test", L"Baseline test", L"Pod Channel", L"Back"}},
      {14, {L"UP", L"DOWN", L"TAB", L"Save"}},
      {15, {L"Yes", L"", L"No", L"Back"}},
      {16, {L"", L"", L"", L""}},
      {17, {L"", L"", L"", L"Back"}},
      {18, {L"UP", L"DOWN", L"TAB", L"Back"}},
      {19, {L"CANCEL", L" ", L"SHUTDOWN", L""}},
      {20, {L"Pause", L"", L"", L"Stop/Back"}},
      {21, {L"UP", L"DOWN", L"SELECT", L"Back"}},
      {22, {L"DELETE", L"", L"", L"Back"}},
      {23, {L"LEFT", L"Modify", L"Right", L"Back"}},
      {24, {L"Expand", L"Contract", L"", L"Back"}},
      {25, {L"Flash", L"", L"", L""}},
      {26, {L"On", L"", L"", L""}},
      {27, {L"", L"System Parms", L"", L"Back"}},
      {28, {L"Up", L"Down", L"Tab", L"Back"}},
      {29, {L"CHANNEL A", L"", L"CHANNEL B", L""}},
      {30, {L"CHAN A EYE", L"CHAN A REF", L"CHAN B EYE", L"CHAN B REF"}},
      {31, {L"To Disk", L"From Disk", L"Other", L"Back"}},
      {32, {L"Set Defaults", L"Reset 8051", L"Enter Serial #", L"Back"}},
      {33, {L"", L"", L"", L""}},
      {34, {L"UP", L"DOWN", L"TAB", L"DONE"}},
      {35, {L"", L"", L"", L"Back"}},
      {36, {L"UP", L"DOWN", L"", L"NEXT"}},
      {37, {L"Up", L"Down", L"Select", L"Back"}},
      {38, {L"Up", L"Down", L"Tab", L"OK"}},
      {39, {L"Accept", L"", L"Reject", L""}},
      {40, {L"YES", L"", L"NO", L""}},
      {41, {L"", L"", L"", L"OK"}},
      {42, {L"Pause", L"", L"+ impedance", L"Back"}},
      {43, {L"Auto", L"Manual", L"Channel", L"Back"}},
      {44, {L"Dome 1", L"", L"Dome 2", L""}},
      {45, {L"", L"Electrodes", L"System Parms", L"Back"}},
  };
  ASSERT_EQ(sizeof table / sizeof table[0], 46u);
  for (const auto& row : table) {
    open(row.menu, PAGE_NONE);
    EXPECT_EQ(shown_menu(), row.menu);
    EXPECT_EQ(captions(), row.captions) << "menu " << row.menu;
  }
}

// "Set Time" opens the date and time page; its keys step the fields and
// "Save" sets the clock and returns to the set-up page.
TEST_F(SetupMenus, SetTimeStepsTheDatePageAndSaves) {
  open(MENU_SYSTEM_SETUP);
  press(KEY_UPPER_LEFT);  // "Set Time"
  ASSERT_EQ(shown_menu(), MENU_SET_TIME);
  EXPECT_EQ(captions(), (Captions{L"UP", L"DOWN", L"TAB", L"Save"}));
  const int month = std::stoi(page_text(DATE_MONTH));
  press(KEY_UPPER_LEFT);  // UP on the month
  EXPECT_EQ(std::stoi(page_text(DATE_MONTH)), month % 12 + 1);
  press(KEY_LOWER_LEFT);  // DOWN: back to the month it was
  EXPECT_EQ(std::stoi(page_text(DATE_MONTH)), month);
  press(KEY_UPPER_RIGHT);  // TAB to the day
  sent_to_stimulator();
  press(KEY_LOWER_RIGHT);  // "Save"
  EXPECT_EQ(shown_menu(), MENU_SYSTEM_SETUP) << messages().size();
  EXPECT_EQ(unit_local_time().month, month);
  const std::vector<uint8_t> sent = sent_to_stimulator();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0], 'S');
  EXPECT_NE(log_text().find("(time_change "), std::string::npos);
}

TEST_F(SetupMenus, SystemSetupLeadsToTheParameterListUnlessCalibrationIsEnabled) {
  open(MENU_SYSTEM_SETUP);
  EXPECT_EQ(captions()[1], L"System Parms");
  press(KEY_LOWER_LEFT);
  EXPECT_EQ(shown_menu(), MENU_PARAMETER_LIST);
  HWND list = top_page();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(page_text(PARAMETER_LIST_TITLE), L"Select a parameter");
  const int rows = static_cast<int>(SendDlgItemMessageW(list, PARAMETER_LIST_BOX, LB_GETCOUNT, 0, 0));
  EXPECT_EQ(rows, visible_parameter_count());
  EXPECT_EQ(page_text(PARAMETER_LIST_STATUS), L"current: 0 Hz");
  save_screen("setup-parameter-list");
  // UP from the first row goes to the last, DOWN from there to the first.
  press(KEY_UPPER_LEFT);
  EXPECT_EQ(SendDlgItemMessageW(list, PARAMETER_LIST_BOX, LB_GETCURSEL, 0, 0), rows - 1);
  EXPECT_EQ(current_parameter_row(), visible_parameter_index(rows - 1));
  press(KEY_LOWER_LEFT);
  EXPECT_EQ(current_parameter_row(), PARAM_LPFREQ);
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(shown_menu(), MENU_SYSTEM_SETUP);

  ASSERT_TRUE(set_cfc_id("UNIT01c"));
  update_parameter_visibility();
  EXPECT_TRUE(calibration_enabled());
  press(KEY_LOWER_LEFT);
  EXPECT_EQ(shown_menu(), MENU_CALIBRATION_ENTRY);
}

// Board options decide the rows: the fill-in rows, the master row and the
// dataset row (by the cfc id) only when fitted.
TEST_F(SetupMenus, VisibleRowsFollowTheBoardAndTheCfcId) {
  kill_timer(TIMER_STATUS);  // no battery reading changes the options meanwhile
  board_options = 0;
  ASSERT_TRUE(set_cfc_id("UNIT01"));
  update_parameter_visibility();
  EXPECT_EQ(visible_parameter_count(), 15);
  EXPECT_EQ(visible_parameter_index(3), static_cast<int>(PARAM_NOISE));
  EXPECT_EQ(visible_parameter_index(15), 0) << "no such row";
  ASSERT_TRUE(set_cfc_id("UNIT01p"));
  update_parameter_visibility();
  EXPECT_EQ(visible_parameter_count(), 16);
  board_options = BOARD_FILL_IN | BOARD_MASTER_LINK;
  update_parameter_visibility();
  EXPECT_EQ(visible_parameter_count(), 19);
  EXPECT_EQ(visible_parameter_index(3), static_cast<int>(PARAM_FLASHFILL));
  board_options = 0;
  update_parameter_visibility();

  store_system_parameter(PARAM_SAMPLES, 1);
  EXPECT_EQ(parameter_current_text(PARAM_SAMPLES), L"current: YES");
  EXPECT_EQ(parameter_current_text(PARAM_ODOS), L"current: ON");
  EXPECT_EQ(parameter_current_text(PARAM_SHUTDOWN), L"current: 30 Min");
}

TEST_F(SetupMenus, ValuesOutsideTheRangeAreRefusedAndFiltersTakeZero) {
  open(MENU_PARAMETER_LIST);
  const int depth = menu_stack_depth();
  press(KEY_UPPER_RIGHT);  // "Select": [LPFREQ], 0
  ASSERT_EQ(shown_menu(), MENU_PARAMETER_EDIT);
  EXPECT_NE(page_text(KEYPAD_PROMPT).find(L"(2..10000)"), std::wstring::npos);
  messages();
  press(KEY_UPPER_LEFT);  // UP: 1 Hz
  EXPECT_EQ(keypad_value(), 1.0);
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(messages(), std::vector<std::string>{"\n*** VALUE IS ***\n*** OUT OF RANGE ***\n\n2 <= Value <= 10000"});
  EXPECT_EQ(shown_menu(), MENU_MESSAGE);
  press(KEY_LOWER_RIGHT);  // the message page's "Back"
  EXPECT_EQ(shown_menu(), MENU_PARAMETER_EDIT);
  EXPECT_EQ(captions(), (Captions{L"Up", L"Down", L"Tab", L"OK"}));
  press(KEY_LOWER_LEFT);  // DOWN: 0 switches the filter off
  press(KEY_LOWER_RIGHT);
  ASSERT_EQ(shown_menu(), MENU_PARAMETER_CONFIRM);
  EXPECT_NE(page_text(KEYPAD_PROMPT).find(L"Is\n0 Hz\ncorrect?"), std::wstring::npos);
  store_system_parameter(PARAM_LPFREQ, 300);
  press(KEY_UPPER_LEFT);  // "Accept"
  EXPECT_EQ(system_parameter(PARAM_LPFREQ), 0.0);
  EXPECT_EQ(shown_menu(), MENU_PARAMETER_LIST);
  EXPECT_EQ(page_text(PARAMETER_LIST_STATUS), L"current: 0 Hz");
  EXPECT_EQ(menu_stack_depth(), depth) << "the one list again";
}

TEST_F(SetupMenus, TheRangeBoundsAreValid) {
  // [GRAPHRANGE] 0..100 opens at 50: DOWN on the exponent gives 5, UP
  // twice on the exponent 500 (refused), and the maximum 100 is taken.
  open(MENU_PARAMETER_LIST);
  while (current_parameter_row() != PARAM_GRAPHRANGE) press(KEY_LOWER_LEFT);
  press(KEY_UPPER_RIGHT);
  ASSERT_EQ(shown_menu(), MENU_PARAMETER_EDIT);
  EXPECT_EQ(keypad_value(), 50.0);
  for (int tab = 0; tab < 4; ++tab) press(KEY_UPPER_RIGHT);
  press(KEY_UPPER_LEFT);
  EXPECT_EQ(keypad_value(), 500.0);
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(shown_menu(), MENU_MESSAGE);
  press(KEY_LOWER_RIGHT);
  for (int tab = 0; tab < 4; ++tab) press(KEY_UPPER_RIGHT);  // back to the first digit (focus kept per page)
  keypad_show_value(100);
  press(KEY_LOWER_RIGHT);
  ASSERT_EQ(shown_menu(), MENU_PARAMETER_CONFIRM);
  press(KEY_UPPER_LEFT);
  EXPECT_EQ(system_parameter(PARAM_GRAPHRANGE), 100.0);
}

TEST_F(SetupMenus, TheBacklightIsPreviewedAcceptedOrPutBack) {
  set_backlight(90);  // the board's level, which the list takes
  open(MENU_PARAMETER_LIST);
  while (current_parameter_row() != PARAM_BACKLIGHT) press(KEY_LOWER_LEFT);
  press(KEY_UPPER_RIGHT);
  ASSERT_EQ(keypad_value(), 90.0);
  press(KEY_LOWER_LEFT);  // DOWN: 80
  save_screen("setup-keypad");
  sim_stim_clear_logs();
  press(KEY_LOWER_RIGHT);
  const uint32_t preview = stimulator_state().backlight[1];
  EXPECT_EQ(stimulator_records().size(), 1u) << "one 'B' record";
  EXPECT_EQ(preview, static_cast<uint32_t>(half_counts(backlight_percent_to_counts(80))));
  press(KEY_UPPER_RIGHT);  // "Reject": 90 again
  EXPECT_EQ(stimulator_state().backlight[1], static_cast<uint32_t>(half_counts(backlight_percent_to_counts(90))));
  EXPECT_EQ(system_parameter(PARAM_BACKLIGHT), 90.0);

  press(KEY_UPPER_RIGHT);
  press(KEY_LOWER_LEFT);
  press(KEY_LOWER_RIGHT);
  press(KEY_UPPER_LEFT);  // "Accept": 80 in effect and stored
  EXPECT_EQ(system_parameter(PARAM_BACKLIGHT), 80.0);
  EXPECT_EQ(stimulator_state().stored_backlight[1], preview);
}

TEST(BacklightReply, LevelsFromTheBoardsCount) {
  const struct {
    unsigned raw;
    double level;
  } table[] = {{0, 100}, {65536 - 2000, 75}, {65536 - 8000, 0}, {1, 0}, {65536 - 1999, 75}};
  for (const auto& row : table) {
    uint8_t message[9] = {'b', 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(row.raw >> 8), static_cast<uint8_t>(row.raw)};
    double level = -1;
    ASSERT_TRUE(backlight_of_reply(message, 9, level));
    EXPECT_EQ(level, row.level) << row.raw;
  }
  const uint8_t shortReply[5] = {'b', 1, 2, 3, 4};
  double level = 42;
  EXPECT_FALSE(backlight_of_reply(shortReply, 5, level));
  EXPECT_EQ(level, 42);
}

TEST_F(SetupMenus, TheListTakesTheBoardsBacklightAndSetsMasterOrSlaveOnClose) {
  sim_adc_set_options(BOARD_MASTER_LINK);
  board_options = BOARD_MASTER_LINK;
  update_parameter_visibility();
  store_system_parameter(PARAM_MASTER, 0);
  sim_stim_clear_logs();
  open(MENU_PARAMETER_LIST);
  EXPECT_EQ(stimulator_records().front(), "b") << "the list asks for the backlight";
  // The board's backlight (its 'b' reply) is the parameter's value now.
  EXPECT_EQ(system_parameter(PARAM_BACKLIGHT),
            static_cast<double>(static_cast<int>(counts_to_backlight_percent(
                2 * static_cast<double>(stimulator_state().backlight[1])))));
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(is_slave.load(), 1);
  EXPECT_EQ(is_master.load(), 0);
  hardware.put_gpio_bit(13, 1, 1);
  open(MENU_PARAMETER_LIST);
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(hardware.get_gpio_reg(13) & 2u, 0u) << "the sync output cleared";

  store_system_parameter(PARAM_MASTER, 1);
  open(MENU_PARAMETER_LIST);
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(is_master.load(), 1);
  EXPECT_EQ(is_slave.load(), 0);
  sim_adc_set_options(0);
  board_options = 0;
}

TEST_F(SetupMenus, RestoringTheDefaultsRecomputesWhatFollowsAndStoresTheBacklight) {
  store_system_parameter(PARAM_FLASHFILL, 25);
  store_system_parameter(PARAM_SHUTDOWN, 7);
  store_system_parameter(PARAM_BACKLIGHT, 40);
  open(MENU_SYSTEM_SETUP);
  press(KEY_UPPER_RIGHT);  // "Restore Defaults"
  EXPECT_EQ(shown_menu(), MENU_RESTORE_DEFAULTS);
  EXPECT_NE(page_text(KEYPAD_PROMPT).find(L"PRESS \"Restore\"."), std::wstring::npos);
  sim_stim_clear_logs();
  press(KEY_UPPER_LEFT);
  EXPECT_EQ(system_parameter(PARAM_FLASHFILL), 0.0);
  EXPECT_EQ(flash_fill.load(), 0.0);
  EXPECT_EQ(flash_share.load(), 1.0);
  EXPECT_EQ(shutdown_minutes(), 30.0);
  EXPECT_EQ(system_parameter(PARAM_BACKLIGHT), 90.0);
  const uint32_t counts = static_cast<uint32_t>(half_counts(backlight_percent_to_counts(90)));
  EXPECT_EQ(stimulator_state().backlight[1], counts);
  EXPECT_EQ(stimulator_state().stored_backlight[1], counts);
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(shown_menu(), MENU_SYSTEM_SETUP);
}

}  // namespace
