#include "handheld/ui/menus/setup_electrode_menus.h"

#include "handheld/ui/status/channel_cycle.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/electrodes/electrode_monitor.h"
#include "handheld/ui/electrode_results.h"
#include "handheld/engine/electrodes/electrode_thread.h"
#include "handheld/ui/menus/frame_menus.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/engine/stimulator/main_dialog_post.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/menus/setup_electrode_window.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "platform/ce/unit_clock.h"

namespace {

// Waits for the monitor to end its request: 50 ms steps, at most 2 s.
const int WAIT_STEP_MS = 50;
const int MONITOR_WAIT_MS = 2000;
const int MONITOR_PAUSE_MS = 200;

// Whether the running measurement can still be aborted (until its end).
bool abortable = false;
bool aborted = false;

void electrodes_page_shown(LPARAM value) {
  if (value != PAGE_NOTHING) graph_title(5, L"ELECTRODES");
  graph_string1(5, -2, 0, L"%40ls", L"");
  show_channel_label();
  show_deferred_message();
}

void next_channel() {
  if (!main_page_shown_once()) return;
  next_channel_selection();
  show_channel_label();
}

void leave_electrodes() {
  send_8051_byte(COMMAND_IMPEDANCE_END);
  graph_string1(5, -3, 0, L"%-10.10ls", channel_label());
  go_back(PAGE_NOTHING);
}

// The start of an impedance or baseline measurement on the electrode
// thread.
void start_measurement(int mode) {
  electrode_monitor.cancel = 0;
  electrode_monitor.mode = static_cast<uint8_t>(mode);
  if (mode == ELECTRODE_MODE_IMPEDANCE) {
    electrode_results.impedance_a_eye = 123.4;
    electrode_results.impedance_a_ref = 123.4;
  } else {
    electrode_results.baseline_a = 123.4;
    electrode_results.baseline_b = 123.4;
  }
  abortable = true;
  aborted = false;
  set_key_caption(main_dialog, 4, L"Abort");
  signal_electrode_event();
}

// KEY_LOWER_RIGHT of a running measurement: abort it, or go back once it ended.
void abort_or_back() {
  if (!abortable) {
    go_back(PAGE_NOTHING);
    return;
  }
  abortable = false;
  aborted = true;
  electrode_monitor.cancel = 1;
  set_key_caption(main_dialog, 4, L"");
  post_main_command(static_cast<int>(MAIN_INTERNAL_COMMAND), ELECTRODE_DONE_CODE);
}

// Code 52: the measurement ended (or was aborted).
void measurement_done(int mode) {
  abortable = false;
  if (aborted) {
    for (int waited = 0; electrode_monitor.busy.load() != 0 && waited < MONITOR_WAIT_MS * 15; waited += WAIT_STEP_MS) {
      Sleep(WAIT_STEP_MS);
    }
    if (mode == ELECTRODE_MODE_IMPEDANCE) {
      graph_string2(0, 3, 4, "*** IMPEDANCE ABORTED ***");
    } else {
      graph_string2(0, 3, 5, "*** BASELINE ABORTED ***");
    }
    go_back(PAGE_NOTHING);
    return;
  }
  note_electrode_measurement(mode);
  const bool both = channels.a_on.load() != 0 && channels.b_on.load() != 0;
  const bool ended_well = mode == ELECTRODE_MODE_IMPEDANCE
                              ? electrode_monitor.impedance_valid.load() != 0
                              : electrode_results.baseline_a.load() != MEASUREMENT_FAILED ||
                                    electrode_results.baseline_b.load() != MEASUREMENT_FAILED;
  if (!ended_well) {
    go_back(PAGE_NOTHING);
    return;
  }
  if (mode == ELECTRODE_MODE_IMPEDANCE) {
    push_dialog(impedanceResultProc, both ? IMPEDANCE_RESULTS_BOTH : IMPEDANCE_RESULTS_ONE);
  } else {
    push_dialog(baselineResultProc, both ? BASELINE_RESULTS_BOTH : BASELINE_RESULTS_ONE);
  }
  set_key_caption(main_dialog, 4, L"Back");
}

int measurement_menu(int mode, int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value != PAGE_NOTHING) start_measurement(mode);
    return 1;
  }
  if (is_internal_command(command)) {
    if (value == ELECTRODE_DONE_CODE) measurement_done(mode);
    return 1;
  }
  if (command == KEY_LOWER_RIGHT) abort_or_back();
  return 1;  // the other keys do nothing
}

void monitor_captions() {
  set_key_captions(main_dialog, L"Pause", L"", electrode_check.impedance.load() != 0 ? L"- impedance" : L"+ impedance",
                   L"Back");
}

// Stores the probe results, stops the monitor and waits for it.
void end_probe_test() {
  set_key_captions(main_dialog, L"", L"", L"", L"");
  end_electrode_check();
  monitor_control.active = 0;
  Sleep(MONITOR_PAUSE_MS);
  signal_electrode_monitor();
  for (int waited = 0; monitor_control.running.load() != 0 && waited < MONITOR_WAIT_MS; waited += WAIT_STEP_MS) {
    Sleep(WAIT_STEP_MS);
  }
  go_back(PAGE_DEFAULT);
}

}  // namespace

int electrodes_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    electrodes_page_shown(value);
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Impedance test"
      send_8051_byte(COMMAND_IMPEDANCE_START);
      open_menu(MENU_IMPEDANCE_RUNNING, PAGE_DEFAULT);
      return 1;
    case KEY_LOWER_LEFT:  // "Baseline test"
      send_8051_byte(COMMAND_IMPEDANCE_END);
      graph_title(5, L"BASELINE");
      open_menu(MENU_BASELINE_RUNNING, PAGE_DEFAULT);
      return 1;
    case KEY_UPPER_RIGHT:  // "Pod Channel"
      next_channel();
      return 1;
    case KEY_LOWER_RIGHT:  // "Back"
      leave_electrodes();
      return 1;
    default:
      return 0;
  }
}

int electrodes_single_dome_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    electrodes_page_shown(value);
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Auto"
    case KEY_LOWER_LEFT:  // "Manual"
      electrode_check.automatic = command == KEY_UPPER_LEFT ? 1 : 0;
      open_menu(MENU_ELECTRODE_MONITOR, PAGE_DEFAULT, true);
      return 1;
    case KEY_UPPER_RIGHT:  // "Channel"
      next_channel();
      return 1;
    case KEY_LOWER_RIGHT:  // "Back"
      leave_electrodes();
      return 1;
    default:
      return 0;
  }
}

int impedance_running_menu(int command, LPARAM value) {
  return measurement_menu(ELECTRODE_MODE_IMPEDANCE, command, value);
}

int baseline_running_menu(int command, LPARAM value) {
  return measurement_menu(ELECTRODE_MODE_BASELINE, command, value);
}

int electrode_monitor_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_DEFAULT && !dialog_is_active(electrodeWindowProc)) {
      push_dialog(electrodeWindowProc, GRAPH_DIALOG_ID);
    }
    monitor_captions();
    return 1;
  }
  const bool running = electrode_check.running.load() != 0;
  switch (command) {
    case KEY_UPPER_LEFT:  // "Pause"
      if (!running) return 1;
      electrode_check.running = 0;
      set_key_captions(main_dialog, L"", L"Continue", L"", L"End Probe Test");
      return 1;
    case KEY_LOWER_LEFT:  // "Continue"
      if (running) return 1;
      electrode_check.running = 1;
      monitor_captions();
      if (electrode_window() != nullptr) PostMessageW(electrode_window(), WM_USER, ELECTRODE_VALUES_READY, 0);
      return 1;
    case KEY_UPPER_RIGHT:  // "+ impedance" / "- impedance"
      if (!running) return 1;
      electrode_check.impedance = electrode_check.impedance.load() != 0 ? 0 : 1;
      monitor_control.impedance_wanted = static_cast<uint8_t>(electrode_check.impedance.load());
      set_key_caption(main_dialog, 3, electrode_check.impedance.load() != 0 ? L"- impedance" : L"+ impedance");
      return 1;
    case KEY_LOWER_RIGHT:  // "Back" / "End Probe Test"
      end_probe_test();
      return 1;
    default:
      return 0;
  }
}

void install_electrode_menus() {
  abortable = false;
  aborted = false;
  forget_electrode_checks();
  set_menu_handler(MENU_IMPEDANCE_RUNNING, impedance_running_menu);
  set_menu_handler(MENU_ELECTRODES, electrodes_menu);
  set_menu_handler(MENU_BASELINE_RUNNING, baseline_running_menu);
  set_menu_handler(MENU_ELECTRODE_MONITOR, electrode_monitor_menu);
  set_menu_handler(MENU_ELECTRODES_SINGLE_DOME, electrodes_single_dome_menu);
}
