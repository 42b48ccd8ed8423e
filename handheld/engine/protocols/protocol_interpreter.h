// The protocol interpreter: runs a protocol program step by step, setting
// the stimulus, collecting sweeps after each flash, timing waits and repeat
// intervals on its block stack, and at each END TEST averaging the sweeps
// and storing the test of every recording channel on the storage card.
#ifndef HANDHELD_ENGINE_PROTOCOLS_PROTOCOL_INTERPRETER_H
#define HANDHELD_ENGINE_PROTOCOLS_PROTOCOL_INTERPRETER_H

#include <atomic>
#include <cstdint>
#include <functional>

#include "handheld/engine/storage/stored_records.h"

// Command flags written by the main dialog, read at every step.
struct runCommands {
  std::atomic<bool> skip_test{false};
  std::atomic<bool> skip_session{false};
  std::atomic<bool> skip_wait{false};
  std::atomic<bool> stop{false};
  std::atomic<bool> running{false};
  std::atomic<bool> restart_test{false};
  std::atomic<bool> restart_session{false};
  std::atomic<bool> resume{false};  // a paused wait keeps the seconds it had waited
};
extern runCommands run_commands;

// "Pause": the run holds before its next step (at most 72,000,000 ms) and
// a wait in progress resumes with the seconds it had waited. Any key of the
// pause page continues it.
void pause_run();
void continue_run();

// The run counter n of the stored tests' names, counted by the main dialog.
extern std::atomic<int> run_count;

// The test id the operator entered (at most 19 characters); stored in every
// test's records. "0000000000" until one is entered.
void set_entered_test_id(const wchar_t* id);

// Runs program: depth 0 is a run of its own, a CALL runs the called program
// at depth + 1 with the caller's background, adaptation tick, intensity and
// title. True when the program ran to its end, false when it stopped on an
// error. Run scan_program on the program first.
bool Execute(programRecord& program, int depth, int32_t background, uint32_t adaptation_tick,
             int32_t intensity, const wchar_t* title);

// The test thread: waits for run_set_event() (the main dialog's "Run
// Protocol"), runs the loaded program from its first step (a master unit
// raising its synchronisation output meanwhile), then sends the stimulator
// 'D' and posts RUN_ENDED_COMMAND with RUN_ENDED_CODE to the main dialog.
void set_loaded_program(const programRecord& program);
// False when the thread could not be made.
bool start_test_thread();
void stop_test_thread();
// Asks for a run: the commands of an earlier run are cleared here, before
// the test thread wakes, so that a command given at once (Stop) holds.
void signal_run_set();
// A run pauses itself (as pause_run) before the first step at which the
// condition holds, checked on the test thread; the condition is then
// dropped. A way to hold a run at a stated point.
void hold_run_when(std::function<bool()> condition);
// The run waits at its pause.
bool run_held();
// A run's TEST block is open (else the run is between tests: a session's
// wait); false when no run is in progress.
bool run_inside_test();
// The result of the test thread's last run.
bool last_run_result();

// The last stored test's records (channel A, channel B) and its sweeps taken.
const testFileRecord* last_test_records();
int last_test_sweep_count();

#endif
