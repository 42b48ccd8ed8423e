// The start of the road: "Acquire Data" opens the patient number and test
// id entry over the main menu; its keys step the number and the
// characters; done takes the id and goes on to the protocol page. The
// same page takes the unit's serial number.
#include <gtest/gtest.h>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/pages/id_entry_page.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/menus/tests/road_fixture.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/engine/storage/test_folders.h"

namespace {

using RoadEntry = RoadTest;

std::wstring id_characters() {
  std::wstring text;
  for (int control = 1058; control <= 1067; ++control) text += page_text(control);
  return text;
}

TEST_F(RoadEntry, AcquireDataOpensTheIdEntryForANewPatient) {
  ASSERT_NE(status_page(), nullptr);
  press(KEY_UPPER_LEFT);
  EXPECT_EQ(shown_menu(), MENU_ID_ENTRY);
  EXPECT_EQ(status_page(), nullptr) << "the status page closes";
  EXPECT_EQ(page_text(ID_NUMBER_CAPTION), L"Patient Number");
  EXPECT_EQ(page_text(ID_TEXT_CAPTION), L"Test Id");
  EXPECT_EQ(page_text(ID_STATE_LINE), L"- New -");
  EXPECT_EQ(page_text(ID_PATIENT_NUMBER), L"1");
  EXPECT_EQ(id_characters(), std::wstring(10, L' '));
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Up");
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"OK");
}

TEST_F(RoadEntry, ThePatientNumberWrapsAndFindsEachPatientsLatestId) {
  store_patient_test(99, 0, "AB");
  press(KEY_UPPER_LEFT);
  press(KEY_LOWER_LEFT);  // DOWN on 1
  EXPECT_EQ(page_text(ID_PATIENT_NUMBER), L"99");
  EXPECT_EQ(page_text(ID_STATE_LINE), L"- -");
  EXPECT_EQ(id_characters(), L"AB00000000") << "a stored id fills its characters, then '0'";
  press(KEY_UPPER_LEFT);  // UP on 99
  EXPECT_EQ(page_text(ID_PATIENT_NUMBER), L"1");
  EXPECT_EQ(page_text(ID_STATE_LINE), L"- New -");
  EXPECT_EQ(id_characters(), std::wstring(10, L' '));
}

TEST_F(RoadEntry, TabStepsThroughTheCharactersAndDoneTakesTheId) {
  press(KEY_UPPER_LEFT);
  press(KEY_UPPER_LEFT);   // patient 2
  EXPECT_EQ(page_text(ID_PATIENT_NUMBER), L"2");
  press(KEY_UPPER_RIGHT);  // TAB to the first character
  press(KEY_UPPER_LEFT);   // blank -> 'A'
  press(KEY_UPPER_RIGHT);
  press(KEY_LOWER_LEFT);   // blank -> '9'
  press(KEY_LOWER_LEFT);   // '9' -> '8'
  EXPECT_EQ(id_characters(), L"A8        ");
  for (int i = 0; i < 9; ++i) press(KEY_UPPER_RIGHT);
  EXPECT_EQ(id_entry().current, 0) << "TAB from the tenth character returns to the patient number";

  press(KEY_LOWER_RIGHT);  // OK
  EXPECT_EQ(shown_menu(), MENU_EYE_LABEL) << "the protocol page replaces the entry and, with no program, asks for the eye label";
  EXPECT_EQ(entered_id_text(), L"A8        ");
  EXPECT_EQ(protocol_number.load(), 2);
  EXPECT_EQ(menu_stack_depth(), 4) << "main menu, protocol page, eye label and its page";
}

TEST_F(RoadEntry, TheSerialNumberTakesDigitsOnly) {
  set_unit_serial("1234567");
  show_menu(main_dialog, PAGE_SERIAL_ENTRY, MENU_ID_ENTRY, nullptr, 0, false);
  pump_until_idle(150);
  EXPECT_EQ(page_text(ID_TEXT_CAPTION), L"Serial Number");
  EXPECT_EQ(page_text(ID_PATIENT_NUMBER), L"1");
  EXPECT_EQ(id_characters(), L"234567    ");

  press(KEY_UPPER_RIGHT);  // TAB to position 1
  for (int i = 0; i < 9; ++i) press(KEY_UPPER_LEFT);  // '2' .. past the blank to 'A'
  EXPECT_EQ(page_text(1058), L"A");
  press(KEY_LOWER_RIGHT);  // OK
  EXPECT_EQ(shown_menu(), MENU_CALIBRATION_MESSAGE);
  EXPECT_EQ(page_text(1093), L"*** SERIAL NUMBER DIGITS ***\n\n*** MUST BE 0..9 ONLY    ***");
  EXPECT_EQ(unit_serial(), "1234567") << "nothing changes";
  press(KEY_LOWER_RIGHT);  // Back: the message closes, the entry stays
  EXPECT_EQ(shown_menu(), MENU_ID_ENTRY);
  EXPECT_EQ(page_text(ID_TEXT_CAPTION), L"Serial Number");

  press(KEY_LOWER_LEFT);  // 'A' -> the blank
  press(KEY_LOWER_LEFT);  // -> '9'
  sent_to_stimulator();
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(unit_serial(), "1934567");
  const std::vector<uint8_t> sent = sent_to_stimulator();
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[0], 'L');
  EXPECT_EQ(sent[1], 20) << "the packed serial goes to the stimulator as constant 20";
  EXPECT_EQ(shown_menu(), MENU_MAIN);
}

}  // namespace
