#include "handheld/ui/menus/setup_menus.h"

#include "handheld/engine/storage/calibration_file.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/menus/frame_menus.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/menus/setup_calibration_menus.h"
#include "handheld/ui/menus/setup_calibration_run.h"
#include "handheld/ui/menus/setup_calibration_values.h"
#include "handheld/ui/pages/date_time_page.h"
#include "handheld/ui/menus/setup_keypad.h"
#include "handheld/ui/menus/setup_parameters.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/frame/unit_workers.h"

calibrationChoice calibration_choice{0, 0, 0};

namespace {

}  // namespace

bool calibration_enabled() { return parameter_listed(PARAM_DATASET); }

int system_setup_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_TIME_SET) {
      show_time_line(nullptr);
    } else if (!calibration_enabled()) {
      set_key_caption(main_dialog, 2, L"System Parms");
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Set Time"
      request_menu(main_dialog, PAGE_DEFAULT, MENU_SET_TIME, dateTimeProc, DATE_TIME_DIALOG, false);
      return 1;
    case KEY_LOWER_LEFT:  // "Calibration" or "System Parms"
      open_menu(calibration_enabled() ? MENU_CALIBRATION_ENTRY : MENU_PARAMETER_LIST, PAGE_DEFAULT, false);
      return 1;
    case KEY_UPPER_RIGHT:  // "Restore Defaults"
      open_menu(MENU_RESTORE_DEFAULTS, PAGE_DEFAULT, false);
      return 1;
    case KEY_LOWER_RIGHT:  // "Back"
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return 0;
  }
}

int date_time_menu(int command, LPARAM value) {
  switch (command) {
    case KEY_UPPER_LEFT:   // "UP"
    case KEY_LOWER_LEFT:   // "DOWN"
    case KEY_UPPER_RIGHT:  // "TAB"
      post_to_top_dialog(WM_USER, static_cast<WPARAM>(command), 0);
      return 1;
    case KEY_LOWER_RIGHT:  // "Save"
      post_to_top_dialog(WM_USER, DATE_TIME_SAVE, 0);
      return 1;
    case MAIN_INTERNAL_COMMAND:  // the page saved the clock
      if (value == PAGE_TIME_SET) go_back(PAGE_TIME_SET);
      return 1;
    default:
      return is_page_shown(command) ? 1 : 0;
  }
}

int calibration_choice_menu(int command, LPARAM) {
  switch (command) {
    case KEY_UPPER_LEFT:  // "Flash Int"
      open_menu(MENU_FLASH_CALIBRATION, PAGE_FLASH_CALIBRATION, true);
      return 1;
    case KEY_LOWER_LEFT:  // "Background Int"
      open_menu(MENU_BACKGROUND_CALIBRATION, PAGE_BACKGROUND_CALIBRATION, true);
      return 1;
    case KEY_UPPER_RIGHT:  // "Data/impedance"
      open_menu(MENU_DATA_CALIBRATION_CHOICE, PAGE_CALIBRATION, true);
      return 1;
    case KEY_LOWER_RIGHT:
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return is_page_shown(command) ? 1 : 0;
  }
}

int restore_defaults_menu(int command, LPARAM) {
  if (is_page_shown(command)) {
    push_keypad(DIGIT_ENTRY_DIALOG, 0.0,
                L"--> TO RESTORE THE\nFACTORY DEFAULTS FOR\n\nALL SYSTEM PARAMETERS\n\nPRESS \"Restore\".", L"");
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Restore"
      restore_parameter_defaults();
      return 1;
    case KEY_LOWER_RIGHT:  // "Do Not Restore"
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return 0;
  }
}

int data_calibration_choice_menu(int command, LPARAM) {
  switch (command) {
    case KEY_UPPER_LEFT:  // "Data"
      if (main_page_shown_once()) {
        open_menu(MENU_DATA_CHANNEL, PAGE_DEFAULT, true);
      } else {
        open_menu(MENU_DATA_CALIBRATION, PAGE_CALIBRATION, false);
      }
      return 1;
    case KEY_LOWER_LEFT:  // "Cal Values"
      open_menu(MENU_CALIBRATION_VALUES, PAGE_DEFAULT, false);
      return 1;
    case KEY_UPPER_RIGHT:  // "Impedance"
      open_menu(MENU_IMPEDANCE_ELECTRODE, PAGE_DEFAULT, true);
      return 1;
    case KEY_LOWER_RIGHT:
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return is_page_shown(command) ? 1 : 0;
  }
}

int calibration_entry_menu(int command, LPARAM) {
  if (is_page_shown(command)) {
    set_key_captions(main_dialog, L"Yes", L"System Parms", L"No", L"Back");
    calibration_run.mode = CAL_ENTRY;
    push_keypad(CALIBRATION_DIALOG, 0.0, L"", L"");
    if (!card_matches(L"Storage Card\\CAL\\IN").empty()) {
      pulse_remote_event();
      calibration_printf(L"--- Auto Calibration mode ---");
    } else {
      calibration_printf(
          L"!!! WARNING !!!\nCALIBRATION IS TO BE\nPERFORMED BY QUALIFIED\nFACTORY PERSONNEL ONLY.\n\n Proceed?");
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Yes"
      status_received = 0;
      send_8051_string("TS");
      log_mesg("CALIBRATION STARTED");
      open_menu(MENU_CALIBRATION_CHOICE, PAGE_DEFAULT, true);
      return 1;
    case KEY_LOWER_LEFT:  // "System Parms"
      open_menu(MENU_PARAMETER_LIST, PAGE_DEFAULT, true);
      return 1;
    case KEY_UPPER_RIGHT:  // "No"
    case KEY_LOWER_RIGHT:  // "Back"
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return 0;
  }
}

int data_channel_menu(int command, LPARAM) {
  if (command == KEY_UPPER_LEFT || command == KEY_UPPER_RIGHT) {  // "CHANNEL A", "CHANNEL B"
    calibration_choice.channel = command == KEY_UPPER_LEFT ? 0 : 1;
    open_menu(MENU_DATA_CALIBRATION, PAGE_CALIBRATION, true);
    return 1;
  }
  return 1;  // the blank keys do nothing
}

int impedance_electrode_menu(int command, LPARAM) {
  const bool second = main_page_shown_once();
  if (is_page_shown(command)) {
    if (!second) set_key_captions(main_dialog, L"CHAN A EYE", L"CHAN A REF", L"", L"");
    return 1;
  }
  int channel = 0, electrode = 0;
  switch (command) {
    case KEY_UPPER_LEFT: channel = 0; electrode = 0; break;   // "CHAN A EYE"
    case KEY_LOWER_LEFT: channel = 0; electrode = 1; break;   // "CHAN A REF"
    case KEY_UPPER_RIGHT: channel = 1; electrode = 0; break;  // "CHAN B EYE"
    case KEY_LOWER_RIGHT: channel = 1; electrode = 1; break;  // "CHAN B REF"
    default: return 0;
  }
  if (channel == 1 && !second) return 1;
  calibration_choice.channel = channel;
  calibration_choice.electrode = electrode;
  open_menu(MENU_IMPEDANCE_CALIBRATION, PAGE_DEFAULT, true);
  return 1;
}

int calibration_values_menu(int command, LPARAM) {
  if (is_page_shown(command)) {
    show_calibration_constants(main_dialog, false);
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "To Disk"
      save_calibration_file();
      return 1;
    case KEY_LOWER_LEFT:  // "From Disk"
      if (load_calibration_file()) show_calibration_constants(main_dialog, false);
      return 1;
    case KEY_UPPER_RIGHT:  // "Other"
      open_menu(MENU_CALIBRATION_OTHER, PAGE_DEFAULT, true);
      return 1;
    case KEY_LOWER_RIGHT:  // "Back"
      show_calibration_constants(main_dialog, true);
      go_back(PAGE_NOTHING);
      return 1;
    default:
      return 0;
  }
}

int calibration_other_menu(int command, LPARAM) {
  switch (command) {
    case KEY_UPPER_LEFT:  // "Set Defaults"
      load_default_calibration();
      show_calibration_constants(main_dialog, false);
      log_mesg("DEFAULT CALIBRATION LOADED.");
      show_message(MESSAGE_NOTICE, false, "Default calibration values loaded");
      return 1;
    case KEY_LOWER_LEFT:  // "Reset 8051"
      send_8051_string("TZ");
      return 1;
    case KEY_UPPER_RIGHT:  // "Enter Serial #"
      show_calibration_constants(main_dialog, true);
      open_menu(MENU_ID_ENTRY, PAGE_SERIAL_ENTRY, true);
      return 1;
    case KEY_LOWER_RIGHT:  // "Back"
      show_calibration_constants(main_dialog, true);
      go_back(PAGE_NOTHING);
      return 1;
    default:
      return is_page_shown(command) ? 1 : 0;
  }
}

int dome_menu(int command, LPARAM) {
  switch (command) {
    case KEY_UPPER_LEFT:  // "Dome 1"
    case KEY_UPPER_RIGHT:  // "Dome 2"
      calibration_choice.dome = command == KEY_UPPER_LEFT ? 0 : 1;
      go_back(PAGE_NOTHING);
      return 1;
    case KEY_LOWER_RIGHT:
      return 0;
    default:
      return 1;
  }
}

int fill_in_electrodes_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_FROM_ELECTRODES) go_back(PAGE_DEFAULT);
    return 1;
  }
  switch (command) {
    case KEY_LOWER_LEFT:  // "Electrodes"
      open_menu(MENU_ELECTRODES_SINGLE_DOME, PAGE_DEFAULT, true);
      return 1;
    case KEY_UPPER_RIGHT:  // "System Parms"
      open_menu(MENU_PARAMETER_LIST, PAGE_DEFAULT, false);
      return 1;
    case KEY_LOWER_RIGHT:
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return 0;
  }
}

void install_setup_menus() {
  install_calibration_menus();
  calibration_choice = calibrationChoice{0, 0, 0};
  set_menu_handler(MENU_SYSTEM_SETUP, system_setup_menu);
  set_menu_handler(MENU_SET_TIME, date_time_menu);
  set_menu_handler(MENU_CALIBRATION_CHOICE, calibration_choice_menu);
  set_menu_handler(MENU_RESTORE_DEFAULTS, restore_defaults_menu);
  set_menu_handler(MENU_DATA_CALIBRATION_CHOICE, data_calibration_choice_menu);
  set_menu_handler(MENU_CALIBRATION_ENTRY, calibration_entry_menu);
  set_menu_handler(MENU_DATA_CHANNEL, data_channel_menu);
  set_menu_handler(MENU_IMPEDANCE_ELECTRODE, impedance_electrode_menu);
  set_menu_handler(MENU_CALIBRATION_VALUES, calibration_values_menu);
  set_menu_handler(MENU_CALIBRATION_OTHER, calibration_other_menu);
  set_menu_handler(MENU_DOME, dome_menu);
  set_menu_handler(MENU_ELECTRODES_FILL_IN, fill_in_electrodes_menu);
}
