#include "handheld/ui/menus/road_state.h"

#include <string.h>

#include <memory>

#include "handheld/ui/status/card_room.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/engine/protocols/program_calls.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/engine/storage/test_files.h"

roadState road;

namespace {

std::unique_ptr<programRecord> chosen;
std::wstring chosenName;

}  // namespace

programRecord& chosen_program() {
  if (!chosen) {
    chosen = std::make_unique<programRecord>();
    memset(chosen.get(), 0, sizeof(programRecord));
  }
  return *chosen;
}

const std::wstring& chosen_program_name() { return chosenName; }

void choose_program(const programRecord& program, const std::wstring& name) {
  chosen_program() = program;
  chosenName = name;
  road.programChosen = true;
  set_loaded_program(*chosen);
  set_selected_program(chosen.get());
  set_selected_protocol_name(name.c_str());
}

void deselect_program() {
  road.programChosen = false;
  road.sessionSelected = false;
  road.customRun = false;
  set_selected_program(nullptr);
}

void clear_run_requests() {
  run_commands.skip_test = false;
  run_commands.skip_session = false;
  run_commands.skip_wait = false;
  run_commands.stop = false;
  run_commands.restart_test = false;
  run_commands.restart_session = false;
}

void count_pending_test() {
  if (test_stored.exchange(false)) run_count = run_count + 1;
}

void reset_road_state() {
  road = roadState{};
  chosenName.clear();
  set_selected_program(nullptr);
}
