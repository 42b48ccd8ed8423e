// Choosing what to run: the eye label, the session and test lists from the
// card, the custom test editor with the numeric value entry, and the
// checks that follow the choice of a program.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <memory>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/pages/custom_test_page.h"
#include "handheld/ui/pages/eye_label_page.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/ui/pages/program_lists_page.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/ui/menus/tests/road_fixture.h"
#include "handheld/ui/menus/road_state.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/pages/value_entry_page.h"

namespace {

class RoadProtocol : public RoadTest {
 protected:
  // The id page taken as it opens: on to the eye label (no program yet).
  void enter_id() {
    press(KEY_UPPER_LEFT);   // "Acquire Data"
    press(KEY_LOWER_RIGHT);  // "OK"
  }
  std::vector<std::wstring> list_rows() {
    std::vector<std::wstring> rows;
    HWND page = top_page();
    const LRESULT count = SendDlgItemMessageW(page, LIST_BOX, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t text[128] = {};
      SendDlgItemMessageW(page, LIST_BOX, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      rows.push_back(text);
    }
    return rows;
  }
  int list_selection() { return static_cast<int>(SendDlgItemMessageW(top_page(), LIST_BOX, LB_GETCURSEL, 0, 0)); }
};

TEST_F(RoadProtocol, TheEyeLabelComesFirstAndNextAppliesIt) {
  write_program(L"ALPHA.SES", session_program("ALPHA SESSION", {"FLASH1"}, 1000));
  channels.b_on = 1;
  enter_id();
  ASSERT_EQ(shown_menu(), MENU_EYE_LABEL);
  EXPECT_EQ(page_text(EYE_LINE_LEAVE).rfind(L"**** LEAVE : ", 0), 0u);
  press(KEY_LOWER_LEFT);
  press(KEY_LOWER_LEFT);
  EXPECT_EQ(page_text(EYE_LINE_OD), L"***** SELECT A(OD) *****");
  EXPECT_EQ(page_text(EYE_LINE_NONE), L"SELECT A(No Eye Label)");
  press(KEY_LOWER_RIGHT);  // NEXT: B is switched off, the warning shows and the page stays
  EXPECT_EQ(channels.eye_a.load(), kEyeOD);
  EXPECT_EQ(channels.b_on.load(), 0);
  EXPECT_NE(remote_transcript().find("CHANGED FROM AB TO A."), std::string::npos);
  press(KEY_LOWER_RIGHT);  // the message's "Back"
  EXPECT_EQ(shown_menu(), MENU_EYE_LABEL);
  press(KEY_LOWER_RIGHT);  // NEXT again: on to the sessions
  EXPECT_EQ(shown_menu(), MENU_SESSION_LIST);
}

TEST_F(RoadProtocol, TheSessionListReadsTheCardAndChoosingASessionReadiesTheRun) {
  write_program(L"ALPHA.SES", session_program("ALPHA SESSION", {"FLASH1"}, 1000));
  write_program(L"BETA.SES", session_program("BETA SESSION", {"FLASH1"}, 1000));
  write_program(L"TESTS\\GAMMA.SES", session_program("GAMMA SESSION", {"FLASH1"}, 1000));
  enter_id();
  press(KEY_LOWER_RIGHT);  // NEXT on the eye label
  ASSERT_EQ(shown_menu(), MENU_SESSION_LIST);
  EXPECT_EQ(list_rows(), (std::vector<std::wstring>{L"GO TO TEST LIST -->", L"ALPHA", L"BETA", L"GAMMA"}));
  EXPECT_EQ(page_text(LIST_STATUS), L"'SELECT' to list TESTs");
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"");
  press(KEY_UPPER_LEFT);  // UP on entry 0: the last session
  EXPECT_EQ(list_selection(), 3);
  EXPECT_EQ(page_text(LIST_TITLE), L"GAMMA SESSION");
  EXPECT_EQ(page_text(LIST_STATUS), L"'SELECT' to select a SESSION");
  press(KEY_UPPER_RIGHT);  // SELECT
  EXPECT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  EXPECT_TRUE(road.programChosen);
  EXPECT_TRUE(road.sessionSelected);
  EXPECT_EQ(chosen_program_name(), L"GAMMA");
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Run Protocol");
  EXPECT_EQ(key_caption(KEY_LOWER_LEFT), L"Electrodes");
  EXPECT_EQ(key_caption(KEY_UPPER_RIGHT), L"Select Protocol");
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"Back");
  ASSERT_TRUE(plotter_exists());
  EXPECT_EQ(plotter_title_buffer(), L"GAMMA");
  EXPECT_NE(plotter_row_text(-3).find(L"READY"), std::wstring::npos);
}

TEST_F(RoadProtocol, WithoutSessionsTheTestListStaysReachable) {
  write_program(L"TESTS\\FLASH1.TES", flash_test_program("FLASH ONE", 3));
  write_program(L"USERTEST.TES", flash_test_program("user lower case", 3));
  enter_id();
  press(KEY_LOWER_RIGHT);
  EXPECT_NE(remote_transcript().find("*** NO SESSION FILES FOUND ***"), std::string::npos);
  press(KEY_LOWER_RIGHT);  // the message's "Back"
  ASSERT_EQ(shown_menu(), MENU_SESSION_LIST);
  EXPECT_EQ(list_rows(), std::vector<std::wstring>{L"GO TO TEST LIST -->"});
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"") << "no way back without a protocol";
  press(KEY_LOWER_RIGHT);  // the blank key does nothing
  EXPECT_EQ(remote_transcript().find("*** NO PROTOCOL HAS BEEN SELECTED ***"), std::string::npos);
  ASSERT_EQ(shown_menu(), MENU_SESSION_LIST);
  press(KEY_UPPER_RIGHT);  // SELECT on entry 0
  ASSERT_EQ(shown_menu(), MENU_TEST_LIST);
  EXPECT_EQ(list_rows(), (std::vector<std::wstring>{L"USERTEST", L"FLASH1"}));
  EXPECT_EQ(page_text(LIST_TITLE), L"user lower case");
  EXPECT_EQ(page_text(LIST_STATUS), L"'SELECT' to select a TEST") << "only capitals make a custom test";
  press(KEY_UPPER_RIGHT);
  EXPECT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  EXPECT_EQ(chosen_program_name(), L"USERTEST");
  EXPECT_FALSE(road.sessionSelected);
}

TEST_F(RoadProtocol, TheCustomEditorWritesBackToTheSameFile) {
  write_program(L"TESTS\\CUSTOM.TES", flash_test_program("USER TEST", 3));
  enter_id();
  press(KEY_LOWER_RIGHT);
  press(KEY_LOWER_RIGHT);  // the message's "Back"
  press(KEY_UPPER_RIGHT);  // to the tests
  EXPECT_EQ(page_text(LIST_STATUS), L"'SELECT' to EDIT test");
  press(KEY_UPPER_RIGHT);
  ASSERT_EQ(shown_menu(), MENU_CUSTOM_TEST);
  EXPECT_EQ(page_text(LIST_TITLE), L"USER TEST");
  EXPECT_EQ(page_text(LIST_STATUS), L"'EDIT' to change a VALUE");
  std::vector<std::wstring> rows = list_rows();
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows[0], L"intensity [MCDS] : 3000");
  EXPECT_EQ(rows[5], L"| mSec between flashes : 1000");
  EXPECT_EQ(rows[6], L"| flash frequency [Hz] :   1.00");
  EXPECT_EQ(rows[8], L"flashes per test  : 3");

  // The frequency row: 4 Hz sets 250 ms between flashes.
  for (int i = 0; i < 6; ++i) press(KEY_LOWER_LEFT);
  press(KEY_UPPER_RIGHT);  // EDIT
  ASSERT_EQ(shown_menu(), MENU_VALUE_ENTRY);
  EXPECT_EQ(page_text(VALUE_CAPTION), L"flash frequency");
  EXPECT_EQ(page_text(VALUE_UNIT), L"Hz");
  EXPECT_EQ(page_text(VALUE_TEXT), L"1");
  for (int i = 0; i < 3; ++i) press(KEY_UPPER_LEFT);  // leading 1 -> 4
  EXPECT_EQ(page_text(VALUE_TEXT), L"4");
  press(KEY_LOWER_RIGHT);  // done
  ASSERT_EQ(shown_menu(), MENU_CUSTOM_TEST);
  rows = list_rows();
  EXPECT_EQ(rows[5], L"| mSec between flashes : 250");
  EXPECT_EQ(rows[6], L"| flash frequency [Hz] :   4.00");

  // A frequency of 0 has no interval: the old one stays.
  press(KEY_UPPER_RIGHT);
  press(KEY_LOWER_LEFT);  // leading 4 -> 3 .. 0
  press(KEY_LOWER_LEFT);
  press(KEY_LOWER_LEFT);
  press(KEY_LOWER_LEFT);
  EXPECT_EQ(page_text(VALUE_TEXT), L"0");
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(list_rows()[5], L"| mSec between flashes : 250");

  press(KEY_LOWER_RIGHT);  // "Back": the program is built and written back
  EXPECT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  EXPECT_TRUE(road.customRun);
  programRecord stored;
  ASSERT_TRUE(read_program_file(L"Storage Card\\TESTS\\CUSTOM.TES", stored));
  EXPECT_EQ(memcmp(&stored, &preview(), sizeof stored), 0) << "the file reads back as the program built";
  EXPECT_EQ(stored.Steps[0].Opcode, OPCODE_TEST);
  EXPECT_STREQ(stored.Texts[0], "USER TEST");
  EXPECT_FALSE(std::filesystem::exists(card_ / "CUSTOM.TES")) << "no second file in the root";
}

TEST_F(RoadProtocol, ValuesSplitIntoTheirFields) {
  struct row {
    double value;
    int leading, tenths, exponent;
  };
  const row rows[] = {{250, 2, 5, 2},    {0, 0, 0, 0},     {-250, -2, 5, 2}, {1500000, 1, 5, 6},
                      {0.3, 3, 0, -1},   {1000, 1, 0, 3},  {9.99, 9, 9, 0},  {-0.05, -5, 0, -2}};
  for (const row& r : rows) {
    const valueFields f = split_value(r.value);
    EXPECT_EQ(f.leading, r.leading) << r.value;
    EXPECT_EQ(f.tenths, r.tenths) << r.value;
    EXPECT_EQ(f.exponent, r.exponent) << r.value;
  }
}

TEST_F(RoadProtocol, TheValueEntryKeepsLargeIntegersAndAnswersNoWithNothing) {
  int target = 1500000;
  edit_integer_value(&target, L"big", nullptr, nullptr);
  pump_until_idle(150);
  ASSERT_EQ(shown_menu(), MENU_VALUE_ENTRY);
  EXPECT_EQ(page_text(VALUE_TEXT), L"1.5e+06");
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(target, 1500000) << "scanned as a double and rounded";

  edit_integer_value(&target, L"sign", nullptr, nullptr);
  pump_until_idle(150);
  press(KEY_UPPER_RIGHT);  // TAB to the tenths
  press(KEY_LOWER_LEFT);   // 5 -> 4
  EXPECT_EQ(page_text(VALUE_TEXT), L"1.4e+06");
  press(KEY_UPPER_RIGHT);
  press(KEY_UPPER_RIGHT);  // the update switch
  press(KEY_UPPER_LEFT);
  EXPECT_EQ(page_text(VALUE_UPDATE), L"NO");
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(target, 1500000) << "NO leaves the target";

  target = 0;
  edit_integer_value(&target, L"negative", nullptr, nullptr);
  pump_until_idle(150);
  press(KEY_LOWER_LEFT);  // leading 0 -> -1
  EXPECT_EQ(page_text(VALUE_LEADING), L"-1");
  EXPECT_EQ(page_text(VALUE_TEXT), L"-1");
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(target, -1);
}

TEST_F(RoadProtocol, AProgramForOtherVersionsIsRefusedAndAFilterIsAskedFor) {
  programRecord old = flash_test_program("OLD TEST", 3);
  push_step(old, OPCODE_VERSION, (3000u << 16) | 2000u, 0);  // versions 2.000 to 3.000
  write_program(L"OLD.TES", old);
  programRecord filtered = flash_test_program("FILTERED", 3);
  const float ten = 10.0f;
  uint32_t bits = 0;
  memcpy(&bits, &ten, sizeof bits);
  push_step(filtered, OPCODE_FILTER, bits, 0);
  write_program(L"PFILTER.TES", filtered);

  enter_id();
  press(KEY_LOWER_RIGHT);
  press(KEY_LOWER_RIGHT);  // the message's "Back"
  press(KEY_UPPER_RIGHT);  // to the tests: OLD first
  press(KEY_UPPER_RIGHT);
  ASSERT_EQ(shown_menu(), MENU_VERSION_NOTICE);
  EXPECT_NE(page_text(1093).find(L"--  2.000 to  3.000 --"), std::wstring::npos);
  EXPECT_NE(page_text(1093).find(L"-- it has version  3.744  --"), std::wstring::npos);
  EXPECT_FALSE(road.programChosen) << "a program this unit cannot run stays unchosen";
  press(KEY_LOWER_RIGHT);  // OK: back on the session list
  ASSERT_EQ(shown_menu(), MENU_SESSION_LIST);
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"");

  press(KEY_UPPER_RIGHT);  // to the tests again
  press(KEY_LOWER_LEFT);  // PFILTER
  press(KEY_UPPER_RIGHT);
  ASSERT_EQ(shown_menu(), MENU_FILTER_QUESTION);
  EXPECT_NE(page_text(1093).find(L"-- 1: 10 (ND = 1) filter --"), std::wstring::npos);
  press(KEY_UPPER_LEFT);  // YES
  EXPECT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  EXPECT_FLOAT_EQ(program_scan_result().FilterValue, static_cast<float>(pow(10.0, system_parameter(PARAM_ND1))));
}

}  // namespace
