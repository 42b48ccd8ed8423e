#include "handheld/ui/menus/setup_calibration_menus.h"

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/menus/setup_calibration_graphs.h"
#include "handheld/ui/menus/setup_calibration_run.h"
#include "handheld/ui/menus/setup_keypad.h"
#include "handheld/ui/menus/setup_menus.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/acquisition/stimulus.h"

namespace {

const int FLASH_POINTS = 5;
const int BACKGROUND_POINTS = 5;
const int DATA_STEPS = 5;
const int IMPEDANCE_STEPS = 6;

calibrationRun& run = calibration_run;

// The flash or background procedure waits for the dome choice.
bool awaiting_dome = false;

void to_keypad(WPARAM code) { post_to_top_dialog(WM_USER, code, 0); }

void entry_captions(const wchar_t* done) { set_key_captions(main_dialog, L"UP", L"DOWN", L"TAB", done); }

void confirm_captions() { set_key_captions(main_dialog, L"YES", L"", L"NO", L"exit calibration"); }

// The keys of a value being typed: UP, DOWN and TAB to the keypad.
bool entry_key(int command) { return command != KEY_LOWER_RIGHT && post_key_to_page(command) != 0; }

// The graph over the keypad, which is hidden meanwhile (it is wider than
// the graph).
void show_graph(double x_min, double x_max, double y_min, double y_max, plotPaintCallback painter) {
  if (keypad_window() != nullptr) ShowWindow(keypad_window(), SW_HIDE);
  set_plot_defaults(x_min, x_max, y_min, y_max, painter);
  push_dialog(graph_dialog_procedure, GRAPH_DIALOG_ID);
}

void close_graph() {
  pop_dialog();
  if (keypad_window() != nullptr) ShowWindow(keypad_window(), SW_SHOW);
}

// MAIN_INTERNAL_COMMAND with CALIBRATION_POINTS_TAKEN: every point is in; the fit is shown.
void show_fit() {
  show_graph(0, 200, -500, 500, calibration_fit_painter(run.mode));
  run.state = CAL_FIT_SHOWN;
  set_key_captions(main_dialog, L"ACCEPT", L"", L"REJECT", L"");
}

// ACCEPT or REJECT on the fit. An ACCEPT that stores nothing (no fit)
// stays, its message shown.
int fit_key(int command) {
  if (command == KEY_UPPER_LEFT) {
    if (accept_calibration()) go_back(PAGE_DEFAULT);
    return 1;
  }
  if (command == KEY_UPPER_RIGHT) {
    if (run.mode == CAL_IMPEDANCE) send_8051_byte(COMMAND_IMPEDANCE_END);
    go_back(PAGE_DEFAULT);
    return 1;
  }
  return 0;
}

// ---- Flash and background: a dome first on a unit with two ----

bool needs_dome_choice() { return dual_dome_fitted() || fill_in_fitted(); }

// Page shown: the procedure starts (after the dome choice where there is
// one); true when it starts now.
bool starts_now(LPARAM value, int startPage) {
  if (value == startPage) {
    calibration_choice.dome = 0;
    if (needs_dome_choice()) {
      awaiting_dome = true;
      open_menu(MENU_DOME, PAGE_DEFAULT);
      return false;
    }
    return true;
  }
  if (value == PAGE_NOTHING && awaiting_dome) {
    awaiting_dome = false;
    return true;
  }
  return false;
}

void flash_prompt() {
  run.state = CAL_WAIT_READING;
  set_key_captions(main_dialog, L"FLASH", L"", L"", L"");
  calibration_printf(L"PRESS 'FLASH' WHEN\nYOU ARE READY TO\nTAKE A READING");
}

void start_flash_calibration() {
  log_mesg("FLASH CALIBRATION STARTED");
  begin_calibration(CAL_FLASH, FLASH_POINTS);
  push_keypad(CALIBRATION_DIALOG, 0.0, L"", L"mcd.s/m^2");
  calibration_heading(L"FLASH INTENSITY");
  flash_prompt();
}

void background_prompt() {
  run.state = CAL_WAIT_READING;
  set_key_captions(main_dialog, L"On", L"", L"", L"");
  calibration_printf(L"1) ZERO PHOTOMETER.\n\n2) THEN PRESS 'ON'.");
}

void start_background_calibration() {
  log_mesg("BACKGROUND CALIBRATION STARTED.");
  const int slope = background_slope_entry(calibration_choice.dome);
  const int intercept = background_intercept_entry(calibration_choice.dome);
  if (calibration_table[slope] == 0.0 || calibration_table[intercept] == 0.0) {
    calibration_table[slope] = 5e-05;
    calibration_table[intercept] = 0.54;
    log_mesg("!! INITIALIZING TO BACKGROUND DEFAULT CALIBRATION VALUES.");
  }
  begin_calibration(CAL_BACKGROUND, BACKGROUND_POINTS);
  set_background(0);
  push_keypad(CALIBRATION_DIALOG, 0.0, L"", L"mcd/m^2");
  calibration_heading(L"BACKGROUND INTENSITY");
  background_prompt();
}

// The keys of the flash and background procedures, which differ only in
// how a reading is taken and in their texts.
int light_key(int command) {
  const bool flash = run.mode == CAL_FLASH;
  switch (run.state) {
    case CAL_WAIT_READING:
      if (command != KEY_UPPER_LEFT) return 0;
      if (flash) {
        to_keypad(KEYPAD_FIRE_FLASH);
      } else {
        set_background(nominal_intensity(CAL_BACKGROUND, run.step));
      }
      run.state = CAL_ENTERING;
      entry_captions(L"DONE");
      calibration_printf(flash ? L"RECORD THE MEASURED FLASH\nINTENSITY IN mcd.s/m^2\n\n(point %d of %d)"
                               : L"RECORD THE MEASURED BACKGROUND\nINTENSITY IN mcd/m^2\n\n(point %d of %d)",
                         run.step, run.steps);
      return 1;
    case CAL_ENTERING:
      if (entry_key(command)) return 1;
      if (command != KEY_LOWER_RIGHT) return 0;
      run.state = CAL_CONFIRMING;
      confirm_captions();
      calibration_printf(flash ? L"IS\n%lg mcd.s/m^2\nCORRECT?\n\n(%d)" : L"IS\n%lg mcd/m^2\nCORRECT?\n\n(%d)",
                         keypad_value(), nominal_intensity(run.mode, run.step));
      if (!flash) set_background(0);
      return 1;
    case CAL_CONFIRMING:
      if (command == KEY_UPPER_LEFT || command == KEY_UPPER_RIGHT) {
        to_keypad(command == KEY_UPPER_LEFT ? KEYPAD_KEEP_POINT : KEYPAD_DROP_POINT);
        if (command == KEY_UPPER_RIGHT && !flash) to_keypad(KEYPAD_FIRST_FIELD);
        if (flash) {
          flash_prompt();
        } else {
          background_prompt();
        }
        return 1;
      }
      if (command == KEY_LOWER_RIGHT) {  // "exit calibration"
        if (!flash) set_background(0);
        go_back(PAGE_DEFAULT);
        return 1;
      }
      return 0;
    case CAL_FIT_SHOWN:
      return fit_key(command);
    default:
      return 0;
  }
}

// ---- Impedance ----

void impedance_prompt() {
  run.state = CAL_WAIT_READING;
  set_key_captions(main_dialog, L"Go", L"", L"", L"Back");
  calibration_printf(L"Step %d of %d/Setup\n\nAttach %lg ohms to\ninput being tested\nand press 'Go'.", run.step,
                     run.steps, reference_resistor(run.step));
}

void start_impedance_calibration() {
  log_mesg("IMPEDANCE CALIBRATION STARTED");
  begin_calibration(CAL_IMPEDANCE, IMPEDANCE_STEPS);
  send_8051_byte(COMMAND_IMPEDANCE_START);
  push_keypad(CALIBRATION_DIALOG, 0.0, L"", L"");
  calibration_heading(L"IMPEDANCE");
  impedance_prompt();
}

// "Go": the electrode measured on the graph, which closes again.
void measure_point() {
  set_key_captions(main_dialog, L"", L"", L"", L"");
  show_graph(0, 100, -750, 750, nullptr);
  const bool measured = measure_impedance_point();
  close_graph();
  if (!measured) {
    show_deferred_message();
    impedance_prompt();
    return;
  }
  run.state = CAL_POINT_MEASURED;
  set_key_captions(main_dialog, L"", L"", L"", L"Back");
  calibration_printf(L"datapoint \n%lg\n%lg", run.measured_uv, reference_resistor(run.step));
}

int impedance_key(int command) {
  switch (run.state) {
    case CAL_WAIT_READING:
      if (command == KEY_UPPER_LEFT) {
        measure_point();
        return 1;
      }
      if (command == KEY_LOWER_RIGHT) {
        send_8051_byte(COMMAND_IMPEDANCE_END);
        go_back(PAGE_DEFAULT);
        return 1;
      }
      return 0;
    case CAL_POINT_MEASURED:
      if (command != KEY_LOWER_RIGHT) return 0;
      if (!add_impedance_step()) impedance_prompt();
      return 1;
    case CAL_FIT_SHOWN:
      return fit_key(command);
    default:
      return 0;
  }
}

// ---- Data ----

double step_attenuation() { return run.first_attenuation + (run.step - 1) * run.attenuation_step; }

wchar_t channel_letter() { return calibration_choice.channel == 1 ? L'B' : L'A'; }

void data_setup_prompt() {
  run.state = CAL_WAIT_READING;
  set_key_captions(main_dialog, L"Next", L"", L"", L"");
  if (run.step == 1) {
    calibration_printf(
        L"Step %d/Setup\nConnect a 10vP-P 130Hz sinewave\nthrough approximately 72Db\n to the pod channel %lc,\nthen "
        L"press NEXT.",
        run.step, channel_letter());
  } else {
    calibration_printf(
        L"Step %d/Setup\nConnect a 10vP-P 130Hz sinewave through\n-->%lgDb<--\n to the pod channel %lc,\nthen press "
        L"NEXT.",
        run.step, step_attenuation(), channel_letter());
  }
}

void start_data_calibration() {
  log_mesg("DATA CALIBRATION STARTED.");
  begin_calibration(CAL_DATA, DATA_STEPS);
  run.first_attenuation = 72.0;
  run.attenuation_step = 4.0;
  push_keypad(CALIBRATION_DIALOG, run.first_attenuation, L"", L"dB");
  calibration_heading(L"DATA");
  data_setup_prompt();
}

void attenuation_prompt() {
  run.state = CAL_ENTERING;
  entry_captions(L"DONE");
  calibration_printf(L"\nRecord the actual attenuation\nin Db.\n\n(step %d of %d)", run.step, run.steps);
}

void data_step(double attenuation) {
  if (!add_data_step(attenuation)) data_setup_prompt();
}

int data_key(int command) {
  switch (run.state) {
    case CAL_WAIT_READING:
      if (command != KEY_UPPER_LEFT) return 0;
      if (capture_data_signal()) {
        show_graph(0, 1000, 0, 8388608, plot_datapoint_acquisition);
        run.state = CAL_SINEWAVE_SHOWN;
        set_key_captions(main_dialog, L"Yes", L"", L"No", L"");
      }
      return 1;
    case CAL_SINEWAVE_SHOWN:
      if (command != KEY_UPPER_LEFT && command != KEY_UPPER_RIGHT) return 0;
      close_graph();
      if (command == KEY_UPPER_RIGHT) {
        data_setup_prompt();
      } else if (run.step == 1) {
        keypad_show_value(run.first_attenuation);
        attenuation_prompt();
      } else {
        data_step(step_attenuation());
      }
      return 1;
    case CAL_ENTERING:
      if (entry_key(command)) return 1;
      if (command != KEY_LOWER_RIGHT) return 0;
      run.state = CAL_CONFIRMING;
      confirm_captions();
      calibration_printf(L"Step %d/Record\n\nIS\n%lg Db\nCORRECT?", run.step, keypad_value());
      return 1;
    case CAL_CONFIRMING:
      if (command == KEY_UPPER_LEFT) {
        run.first_attenuation = keypad_value();
        data_step(run.first_attenuation);
        return 1;
      }
      if (command == KEY_UPPER_RIGHT) {
        attenuation_prompt();
        return 1;
      }
      if (command == KEY_LOWER_RIGHT) {
        go_back(PAGE_DEFAULT);
        return 1;
      }
      return 0;
    case CAL_FIT_SHOWN:
      return fit_key(command);
    default:
      show_message(MESSAGE_INTERNAL, false, "### DataCal, invalid case (%d) ###", run.state);
      return 1;
  }
}

// A calibration menu: the page shown starts the procedure where `starts`
// says so, every point taken shows the fit, and the procedure's own
// handler takes the keys.
int calibration_menu(int command, LPARAM value, bool (*starts)(LPARAM), void (*start)(), int (*key)(int)) {
  if (is_page_shown(command)) {
    if (starts(value)) start();
    return 1;
  }
  if (is_internal_command(command)) {
    if (value == CALIBRATION_POINTS_TAKEN) show_fit();
    return 1;
  }
  return key(command);
}

}  // namespace

int flash_calibration_menu(int command, LPARAM value) {
  return calibration_menu(
      command, value, [](LPARAM page) { return starts_now(page, PAGE_FLASH_CALIBRATION); }, start_flash_calibration,
      light_key);
}

int background_calibration_menu(int command, LPARAM value) {
  return calibration_menu(
      command, value, [](LPARAM page) { return starts_now(page, PAGE_BACKGROUND_CALIBRATION); },
      start_background_calibration, light_key);
}

int impedance_calibration_menu(int command, LPARAM value) {
  return calibration_menu(
      command, value, [](LPARAM page) { return page == PAGE_DEFAULT; }, start_impedance_calibration, impedance_key);
}

int data_calibration_menu(int command, LPARAM value) {
  return calibration_menu(
      command, value, [](LPARAM page) { return page == PAGE_CALIBRATION; }, start_data_calibration, data_key);
}

void install_calibration_menus() {
  awaiting_dome = false;
  calibration_run.mode = CAL_ENTRY;
  set_menu_handler(MENU_IMPEDANCE_CALIBRATION, impedance_calibration_menu);
  set_menu_handler(MENU_DATA_CALIBRATION, data_calibration_menu);
  set_menu_handler(MENU_FLASH_CALIBRATION, flash_calibration_menu);
  set_menu_handler(MENU_BACKGROUND_CALIBRATION, background_calibration_menu);
}
