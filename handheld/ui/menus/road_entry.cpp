#include "handheld/ui/menus/road_entry.h"

#include <memory>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/menus/frame_menus.h"
#include "handheld/ui/pages/id_entry_page.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/ui/menus/road_state.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"
#include "handheld/ui/frame/timers.h"

namespace {

// The page code the entry was opened with (48 patient, 49 serial).
int entryMode = PAGE_PATIENT_ENTRY;
// The run counter follows the stored tests once a patient was entered.
bool runCounterLoaded = false;

void close_status_page() {
  if (status_page() != nullptr) pop_dialog();
}

// The run counter of a patient's next test: after the latest stored one.
int run_counter_of_patient(int patient) {
  auto record = std::make_unique<testFileRecord>();
  return load_protocol_test(patient, *record) ? record->N + 1 : 0;
}

void take_patient_entry() {
  const int patient = id_entry().fields[0];
  if (patient != protocol_number.load()) deselect_program();
  if (patient != protocol_number.load() || !runCounterLoaded) {
    protocol_number = patient;
    run_count = run_counter_of_patient(patient);
    runCounterLoaded = true;
  }
  set_entered_test_id(entered_id_text().c_str());
  open_menu(MENU_PROTOCOL_PAGE, PAGE_DEFAULT, true);
}

void take_serial_entry() {
  if (serial_entry_is_digits()) {
    const std::string serial = entered_serial_text();
    store_unit_serial(serial.c_str());
    go_back(PAGE_DEFAULT);
    return;
  }
  set_message_layout(MESSAGE_ERROR, 3, MESSAGE_TEXT_CONTROL);
  format_message_text("*** SERIAL NUMBER DIGITS ***\n\n*** MUST BE 0..9 ONLY    ***");
  push_dialog(messageDialogProc, IDD_MESSAGE_SIX_LINES);
  open_menu(MENU_CALIBRATION_MESSAGE, PAGE_DEFAULT);
}

}  // namespace

int road_main_menu(int command, LPARAM value) {
  switch (command) {
    case KEY_UPPER_LEFT:  // "Acquire Data"
      kill_timer(TIMER_STATUS);
      close_status_page();
      open_menu(MENU_ID_ENTRY, PAGE_PATIENT_ENTRY);
      return 1;
    case KEY_LOWER_LEFT:  // "File Info"
      kill_timer(TIMER_STATUS);
      close_status_page();
      open_menu(MENU_FILE_LIST, PAGE_DEFAULT);
      return 1;
    case KEY_UPPER_RIGHT:  // "System Setup"
      kill_timer(TIMER_STATUS);
      close_status_page();
      open_menu(MENU_SYSTEM_SETUP, PAGE_DEFAULT);
      return 1;
    default:
      return main_menu(command, value);
  }
}

int id_entry_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_CLOSE_MESSAGE) {
      pop_dialog();
    } else if (value == PAGE_PATIENT_ENTRY || value == PAGE_SERIAL_ENTRY) {
      entryMode = static_cast<int>(value);
      set_key_caption(main_dialog, 4, L"OK");
      HWND page = push_dialog(idEntryProc, ID_ENTRY_DIALOG);
      if (page == nullptr) return 1;
      if (value == PAGE_PATIENT_ENTRY) {
        open_patient_entry(page, protocol_number.load());
      } else {
        open_serial_entry(page, unit_serial());
      }
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:
    case KEY_LOWER_LEFT:
    case KEY_UPPER_RIGHT:
    case KEY_LOWER_RIGHT:
      return post_key_to_page(command);
    case MAIN_INTERNAL_COMMAND:
      if (value != ENTRY_DONE) return 0;
      if (entryMode == PAGE_SERIAL_ENTRY) {
        take_serial_entry();
      } else {
        take_patient_entry();
      }
      return 1;
    default:
      return 0;
  }
}

int entry_message_menu(int command, LPARAM) {
  if (command == KEY_LOWER_RIGHT) {
    go_back(PAGE_CLOSE_MESSAGE);
    return 1;
  }
  return is_page_shown(command) ? 1 : 0;
}

void install_road_entry_menus() {
  reset_road_state();
  entryMode = PAGE_PATIENT_ENTRY;
  runCounterLoaded = false;
  set_menu_handler(MENU_MAIN, road_main_menu);
  set_menu_handler(MENU_ID_ENTRY, id_entry_menu);
  set_menu_handler(MENU_CALIBRATION_MESSAGE, entry_message_menu);
}
