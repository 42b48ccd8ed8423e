#include "handheld/ui/menus/road_run.h"

#include <string.h>

#include <string>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/ui/status/card_room.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/ui/plotter/result_graph.h"
#include "handheld/ui/menus/road_state.h"
#include "handheld/ui/menus/setup_electrode_window.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/ui/frame/unit_resources.h"

namespace {

bool both_channels() { return channels.a_on.load() != 0 && channels.b_on.load() != 0; }

// The caption that shows the channel not shown now.
const wchar_t* other_channel_caption() {
  return channels.current.load() == 1 ? L"Show Channel A" : L"Show Channel B";
}

void switch_channel() { channels.current = channels.current.load() == 1 ? 0 : 1; }

void show_running_captions() {
  set_key_captions(main_dialog, L"Pause", L"", both_channels() ? other_channel_caption() : L"", L"Stop/Back");
}

void resume_run() {
  road.paused = false;
  show_running_captions();
  continue_run();
}

void pause() {
  road.paused = true;
  road.pausedInTest = run_inside_test();
  if (road.pausedInTest) {
    set_key_captions(main_dialog, L"Continue", L"Skip Test", L"Restart Test", L"");
  } else {
    set_key_captions(main_dialog, L"Continue", L"Skip Session", L"Restart Session", L"Skip Wait");
  }
  pause_run();
}

void start_run() {
  clear_run_requests();
  if (!road.customRun) {
    count_pending_test();
  } else {
    test_stored = false;
  }
  if (!check_card_space(false)) {
    go_back(PAGE_NONE);
    return;
  }
  road.runStarted = true;
  road.paused = false;
  road.lastRunStored = false;
  show_running_captions();
  signal_run_set();
}

// The test thread's end of the run: its records become the result pages'.
void run_ended() {
  road.runStarted = false;
  if (road.paused) continue_run();
  road.paused = false;
  road.lastRunStored = test_stored.load();
  if (road.lastRunStored) {
    const testFileRecord* records = last_test_records();
    for (int channel = 0; channel < 2; ++channel) {
      if (test_records[channel] != nullptr) *test_records[channel] = records[channel];
    }
  }
  go_back(PAGE_NOTHING);
}

void stop_run() {
  // The run's commands were cleared when it was asked for: a stop given
  // before the test thread begins it holds.
  run_commands.stop = true;
  if (road.paused) {
    road.paused = false;
    continue_run();
  }
  // The page goes back when the test thread reports the run's end.
  set_key_captions(main_dialog, L"", L"", L"", L"");
}

std::wstring program_title() {
  const programRecord& program = chosen_program();
  wchar_t title[64] = {};
  for (size_t i = 0; i < 63 && program.Texts[0][i] != '\0'; ++i) {
    title[i] = static_cast<wchar_t>(static_cast<unsigned char>(program.Texts[0][i]));
  }
  return title;
}

void discard_test() {
  bool deleted = road.lastRunStored;
  if (road.lastRunStored) {
    for (int channel = 0; channel < 2; ++channel) {
      const bool on = channel == 0 ? channels.a_on.load() != 0 : channels.b_on.load() != 0;
      if (!on || test_records[channel] == nullptr) continue;
      if (!delete_test_files(*test_records[channel], L".tst", channel)) deleted = false;
    }
    // Its number goes to the next test.
    test_stored = false;
    road.lastRunStored = false;
  }
  graph_string1(0, -3, 4, deleted ? L"  --- TEST DELETED ---  " : L"  --- TEST DISCARDED ---  ");
}

}  // namespace

int after_test_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_RUN) {
      open_menu(MENU_RUNNING, PAGE_DEFAULT);
    } else {
      set_key_caption(main_dialog, 3, both_channels() ? other_channel_caption() : L"");
      graph_title(5, L"%ls", program_title().c_str());
    }
    show_tests_remaining();
    // After a test the electrodes' noise is reported before the protocol
    // goes on.
    if (value == PAGE_NOTHING && road.lastRunStored) report_electrode_noise();
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Repeat Protocol"
      clear_run_requests();
      log_mesg("repeat protocol [%s]", narrow(chosen_program_name()).c_str());
      open_menu(MENU_RUNNING, PAGE_DEFAULT);
      return 1;
    case KEY_LOWER_LEFT:  // "Discard Test"
      discard_test();
      return 1;
    case KEY_UPPER_RIGHT:
      if (!both_channels()) return 1;
      switch_channel();
      show_result_channels(true, true, true);
      set_key_caption(main_dialog, 3, other_channel_caption());
      return 1;
    case KEY_LOWER_RIGHT:  // "Next"
      go_back(PAGE_NONE);
      return 1;
    default:
      return 0;
  }
}

int running_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    // Shown again after a page over it closed: the run goes on.
    if (road.runStarted) {
      if (!road.paused && !run_commands.stop.load()) show_running_captions();
    } else {
      start_run();
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Pause" / "Continue"
      if (road.paused) {
        resume_run();
      } else if (road.runStarted && !run_commands.stop.load()) {
        pause();
      }
      return 1;
    case KEY_LOWER_LEFT:  // "Skip Test" / "Skip Session"
      if (!road.paused) return 1;
      if (road.pausedInTest) {
        run_commands.skip_test = true;
      } else {
        run_commands.skip_session = true;
      }
      resume_run();
      return 1;
    case KEY_UPPER_RIGHT:  // "Restart Test" / "Restart Session", or the channel shown
      if (road.paused) {
        if (road.pausedInTest) {
          run_commands.restart_test = true;
        } else {
          run_commands.restart_session = true;
        }
        resume_run();
      } else if (both_channels()) {
        switch_channel();
        set_key_caption(main_dialog, 3, other_channel_caption());
      }
      return 1;
    case KEY_LOWER_RIGHT:  // "Stop/Back", "Skip Wait", or the run's end
      if (value == RUN_ENDED_CODE) {
        run_ended();
      } else if (road.paused && !road.pausedInTest) {
        run_commands.skip_wait = true;
        resume_run();
      } else if (road.runStarted) {
        stop_run();
      } else {
        go_back(PAGE_NOTHING);
      }
      return 1;
    default:
      return 0;
  }
}

int waiting_menu(int command, LPARAM value) {
  if (is_internal_command(command)) {
    if (value != PAGE_NOTHING) return 0;
    go_back(PAGE_NOTHING);
    return 1;
  }
  // The keys do nothing while the page waits.
  return 1;
}

int entry_page_menu(int, LPARAM) { return 0; }

void install_road_run_menus() {
  // A new run of the program counts no test of an earlier one.
  test_stored = false;
  set_menu_handler(MENU_AFTER_TEST, after_test_menu);
  set_menu_handler(MENU_RUNNING, running_menu);
  set_menu_handler(MENU_WAITING, waiting_menu);
  set_menu_handler(MENU_ENTRY_PAGE, entry_page_menu);
}
