#include "handheld/ui/menus/road_protocol.h"

#include <math.h>
#include <stdio.h>

#include <string>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/hardware/board_options.h"
#include "handheld/ui/status/card_room.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/pages/custom_test_page.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/pages/eye_label_page.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/pages/program_lists_page.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/ui/menus/road_state.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"
#include "handheld/ui/pages/value_entry_page.h"

namespace {

const double BATTERY_LOW_VOLTS = 3.6;

// UP, DOWN and the select key of a list page.
int list_key(int command, WPARAM selectMessage) {
  switch (command) {
    case KEY_UPPER_LEFT:
    case KEY_LOWER_LEFT:
      return post_key_to_page(command);
    case KEY_UPPER_RIGHT:
      post_to_top_dialog(WM_USER, selectMessage, 0);
      return 1;
    default:
      return 0;
  }
}

// A program list page's commands besides the page shown: its notices that
// the next list opens and that a program is chosen, the fourth key, and
// UP, DOWN and SELECT for the page.
int list_page_command(int command, LPARAM value, void (*openNext)(), void (*chosen)(), void (*fourthKey)()) {
  if (is_internal_command(command)) {
    if (value == LIST_OPEN_NEXT) {
      openNext();
      return 1;
    }
    if (value == LIST_PROGRAM_CHOSEN) {
      chosen();
      return 1;
    }
    return 0;
  }
  if (command == KEY_LOWER_RIGHT) {
    fourthKey();
    return 1;
  }
  return list_key(command, PAGE_SELECT);
}

void show_protocol_captions() {
  set_key_captions(main_dialog, L"Run Protocol", fill_in_fitted() ? L"Aux Electrodes" : L"Electrodes",
                   L"Select Protocol", L"Back");
}

void protocol_page_shown(LPARAM pageCode) {
  if (!road.programChosen) {
    open_menu(MENU_EYE_LABEL, PAGE_EYE_LABEL);
    return;
  }
  if (!plotter_exists()) {
    set_plot_defaults(0, 200, -500, 500, show_ready_graph);
    push_dialog(graph_dialog_procedure, GRAPH_DIALOG_ID);
  }
  // A newly chosen program: the test just stored keeps its number, the
  // next one takes the next (a number never goes back onto a stored test).
  if (pageCode == PAGE_CHOSEN) count_pending_test();
  if (pageCode != PAGE_NOTHING) {
    if (!check_card_space(true)) {
      go_back(PAGE_DEFAULT);
      return;
    }
    const double volts = battery_volts();
    if (volts <= BATTERY_LOW_VOLTS) show_message(MESSAGE_INTERNAL, false, "*** BATTERY LOW ***\n\n(%4.2lf volts)", volts);
  }
  show_protocol_captions();
}

}  // namespace

void show_ready_graph(HDC) {
  erase_background_draw_axes(KEEP_COLOUR, KEEP_COLOUR);
  graph_title(5, L"%ls", chosen_program_name().c_str());
  clear_graph_strings();
  graph_string1(3, -3, 14, L"READY");
  show_filter_labels();
}

int protocol_page_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    protocol_page_shown(value);
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Run Protocol"
      clear_run_requests();
      if (!road.programChosen) {
        show_message(MESSAGE_ERROR, false, "*** NO PROTOCOL HAS BEEN SELECTED ***");
        return 1;
      }
      log_mesg("run protocol [%s]", narrow(chosen_program_name()).c_str());
      open_menu(MENU_AFTER_TEST, PAGE_RUN);
      return 1;
    case KEY_LOWER_LEFT:  // "Electrodes"
      open_menu(fill_in_fitted() ? MENU_ELECTRODES_FILL_IN : MENU_ELECTRODES_SINGLE_DOME, PAGE_DEFAULT);
      return 1;
    case KEY_UPPER_RIGHT:  // "Select Protocol"
      open_menu(MENU_EYE_LABEL, PAGE_EYE_LABEL);
      return 1;
    case KEY_LOWER_RIGHT:  // "Back"
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return 0;
  }
}

int eye_label_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_EYE_LABEL) {
      if (system_parameter(PARAM_ODOS) != 0) {
        eye_choice = 0;
        push_dialog(eyeLabelProc, EYE_LABEL_DIALOG);
      } else {
        open_menu(MENU_SESSION_LIST, PAGE_DEFAULT, true);
      }
    } else if (value == PAGE_CLOSE_MESSAGE) {
      open_menu(MENU_SESSION_LIST, PAGE_DEFAULT, true);
    } else if (value != PAGE_BACK_FROM_MESSAGE) {
      go_back(PAGE_NOTHING);
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:
    case KEY_LOWER_LEFT:
      return post_key_to_page(command);
    case KEY_UPPER_RIGHT:
      return 1;
    case KEY_LOWER_RIGHT: {  // "NEXT"
      if (eye_choice != 0) {
        channels.eye_a = eye_choice;
        channels.eye_b = kEyeNone;
        if (channels.b_on.load() != 0) {
          const bool both = channels.a_on.load() != 0;
          channels.b_on = 0;
          channels.a_on = 1;
          channels.current = 0;
          show_message(MESSAGE_WARNING, false,
                       both ? "\n\nWARNING:\n\nPOD CHANNEL SELECTION\n\nCHANGED FROM AB TO A."
                            : "\n\nWARNING:\n\nPOD CHANNEL SELECTION\n\nCHANGED FROM B TO A.");
          return 1;
        }
      }
      open_menu(MENU_SESSION_LIST, PAGE_DEFAULT, true);
      return 1;
    }
    default:
      return 0;
  }
}

int session_list_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_NOTHING) {
      set_key_captions(main_dialog, L"UP", L"DOWN", L"SELECT", road.programChosen ? L"Back" : L"");
    } else if (value == PAGE_CHOSEN) {
      if (scan_program(chosen_program())) check_program_versions();
    } else if (!dialog_is_active(sessionListProc)) {
      push_dialog(sessionListProc, LIST_DIALOG);
      if (road.programChosen) set_key_caption(main_dialog, 4, L"Back");
      // After a custom run the test list (with the custom test) comes first.
      if (road.customRun) open_menu(MENU_TEST_LIST, PAGE_DEFAULT);
    }
    return 1;
  }
  return list_page_command(
      command, value, [] { open_menu(MENU_TEST_LIST, PAGE_DEFAULT); },
      [] {
        if (scan_program(chosen_program())) check_program_versions();
      },
      [] {
        if (road.programChosen) {
          go_back(PAGE_NOTHING);
        } else {
          show_message(MESSAGE_ERROR, false,
                       "*** NO PROTOCOL HAS BEEN SELECTED ***\n\nSelect a protocol\nbefore proceeding.");
        }
      });
}

int test_list_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_CHOSEN) {
      go_back(PAGE_CHOSEN);
    } else if (!dialog_is_active(testListProc)) {
      push_dialog(testListProc, LIST_DIALOG);
    }
    return 1;
  }
  return list_page_command(
      command, value,
      [] {
        road.customEditFresh = true;
        open_menu(MENU_CUSTOM_TEST, PAGE_DEFAULT);
      },
      [] { go_back(PAGE_CHOSEN); }, [] { go_back(PAGE_NOTHING); });
}

int custom_test_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (!dialog_is_active(customTestProc)) push_dialog(customTestProc, LIST_DIALOG);
    return 1;
  }
  return list_page_command(
      command, value, [] { open_menu(MENU_CUSTOM_TEST, PAGE_DEFAULT); }, [] { go_back(PAGE_CHOSEN); },
      [] {
        send_to_top_dialog(WM_USER, PAGE_KEY_DONE, 0);
        if (road.programChosen) go_back(PAGE_CHOSEN);
      });
}

int value_entry_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (!dialog_is_active(valueEntryProc)) push_dialog(valueEntryProc, VALUE_ENTRY_DIALOG);
    return 1;
  }
  if (is_internal_command(command)) {
    if (value != VALUE_PAGE_DONE) return 0;
    go_back(PAGE_VALUE_STORED);
    return 1;
  }
  switch (command) {
    case KEY_UPPER_RIGHT:
    case KEY_LOWER_RIGHT:
      return post_key_to_page(command);
    default:
      return list_key(command, 0);
  }
}

void check_program_versions() {
  const programScanResult scan = program_scan_result();
  const int version = kProgramMajor * 1000 + kProgramMinor;
  const int maximum = scan.RequiredMajor;
  const int minimum = scan.RequiredMinor;
  const bool limited = maximum != 0 || minimum != 0;
  if (limited && ((maximum != 0 && version > maximum) || (minimum != 0 && version < minimum))) {
    road.versionMismatch = true;
    // A program this unit cannot run is not left chosen.
    deselect_program();
    open_menu(MENU_VERSION_NOTICE, PAGE_DEFAULT);
    return;
  }
  road.versionMismatch = false;
  if (scan.FlickerIncompatible) {
    deselect_program();
    open_menu(MENU_VERSION_NOTICE, PAGE_DEFAULT);
    return;
  }
  if (scan.FilterSet) {
    open_menu(MENU_FILTER_QUESTION, PAGE_DEFAULT, true);
    return;
  }
  go_back(PAGE_CHOSEN);
}

namespace {

systemParameterIndex filter_parameter(double factor, int& number) {
  if (factor > 5 && factor < 15) {
    number = 1;
    return PARAM_ND1;
  }
  if (factor > 500 && factor < 1500) {
    number = 3;
    return PARAM_ND3;
  }
  number = 2;
  return PARAM_ND2;
}

}  // namespace

int filter_question_menu(int command, LPARAM) {
  const double factor = program_scan_result().FilterValue;
  int number = 2;
  const systemParameterIndex parameter = filter_parameter(factor, number);
  if (is_page_shown(command)) {
    set_message_layout(3, 3, MESSAGE_TEXT_CONTROL);
    format_message_text(
        "-- This protocol calls for a  --                                              "
        "-- 1:%3g (ND = %1.0f) filter --                                              "
        "-- (Sys Parm ND%1.0f = %5.3f) --                                          \n\n"
        "-- Is this filter installed?  --",
        factor, static_cast<double>(number), static_cast<double>(number), system_parameter(parameter));
    push_dialog(messageDialogProc, IDD_MESSAGE_SIX_LINES);
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "YES"
      set_scan_filter_value(static_cast<float>(pow(10.0, system_parameter(parameter))));
      go_back(PAGE_CHOSEN);
      return 1;
    case KEY_UPPER_RIGHT:  // "NO"
      set_scan_filter_value(1.0f);
      go_back(PAGE_CHOSEN);
      return 1;
    default:
      return 1;
  }
}

int version_notice_menu(int command, LPARAM) {
  if (is_page_shown(command)) {
    set_message_layout(MESSAGE_ERROR, 3, MESSAGE_TEXT_CONTROL);
    const programScanResult scan = program_scan_result();
    const int own = kProgramMajor * 1000 + kProgramMinor;
    if (road.versionMismatch) {
      const int low = scan.RequiredMinor != 0 ? scan.RequiredMinor : own;
      const int high = scan.RequiredMajor != 0 ? scan.RequiredMajor : own;
      format_message_text(
          "-- This protocol calls for   --                                                  "
          "-- S/W versions              --                                                \n"
          "-- %2i.%3.3i to %2i.%3.3i --                                                  "
          "-- it has version %2i.%3.3i  --                                                  "
          "-- installed.                --",
          low / 1000, low % 1000, high / 1000, high % 1000, kProgramMajor, kProgramMinor);
      log_mesg("*** Application Version Incompatability (%d..%d) ***", scan.RequiredMinor, scan.RequiredMajor);
    } else {
      const stimulatorVersionNumber stimulator = stimulator_version();
      format_message_text(
          "-- This protocol calls for   --                                              "
          "-- microcode version 3.      --                                            \n"
          "-- This unit (#%s) --                                              "
          "-- has uC version %2i.%3.3i  --",
          unit_serial().c_str(), stimulator.major, stimulator.minor);
      log_mesg("*** Microcode Version Incompatability (%2i.%3.3i) ***", stimulator.major, stimulator.minor);
    }
    push_dialog(messageDialogProc, IDD_MESSAGE_SIX_LINES);
    return 1;
  }
  if (command == KEY_LOWER_RIGHT) go_back(PAGE_NOTHING);
  return 1;
}

void install_road_protocol_menus() {
  reset_program_lists();
  reset_custom_test_page();
  eye_choice = 0;
  set_menu_handler(MENU_PROTOCOL_PAGE, protocol_page_menu);
  set_menu_handler(MENU_EYE_LABEL, eye_label_menu);
  set_menu_handler(MENU_SESSION_LIST, session_list_menu);
  set_menu_handler(MENU_TEST_LIST, test_list_menu);
  set_menu_handler(MENU_CUSTOM_TEST, custom_test_menu);
  set_menu_handler(MENU_VALUE_ENTRY, value_entry_menu);
  set_menu_handler(MENU_FILTER_QUESTION, filter_question_menu);
  set_menu_handler(MENU_VERSION_NOTICE, version_notice_menu);
}
