// What the menus of the test road share: the program a run will execute
// (chosen in the session or test list, or built by the custom test
// editor), the patient number, and the flags the list pages and the run
// pages set and read. Only the user-interface thread touches it.
#ifndef HANDHELD_UI_MENUS_ROAD_STATE_H
#define HANDHELD_UI_MENUS_ROAD_STATE_H

#include <windows.h>

#include <string>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/engine/storage/stored_records.h"

struct roadState {
  bool programChosen = false;    // a program is ready to run
  bool sessionSelected = false;  // ... and it is a session
  bool customEditFresh = false;  // the custom editor converts the program's steps on opening
  bool customRun = false;        // the chosen program is the custom test
  bool versionMismatch = false;  // the chosen program asked for other versions
  bool runStarted = false;       // a run was started and its end has not come
  bool paused = false;
  bool pausedInTest = false;     // paused inside a test (else in a session's wait)
  bool lastRunStored = false;    // the last run stored a test (Discard may delete it)
};
extern roadState road;

// The chosen program (valid while programChosen) and its name without
// extension.
programRecord& chosen_program();
const std::wstring& chosen_program_name();
// Copies the program in as the one to run: the test thread's program, the
// program whose tests the card's room is counted for, and the folder in
// which its called programs are looked for first.
void choose_program(const programRecord& program, const std::wstring& name);
void deselect_program();

// The run requests of the interpreter (skip, restart, stop) cleared.
void clear_run_requests();
// A stored test not yet counted moves the run number on, so that the next
// test never takes a stored test's name.
void count_pending_test();

// Everything back as at start-up (a new run of the program).
void reset_road_state();

#endif
