// Engine tests on the simulated unit: the hardware table bound to the
// simulated hardware library in this process, the board at power-on with
// its converters set up as the program sets them up (15000 conversions per
// second of input 0), and a log file. At the end the board's strictness
// counters must all be zero, both converters deselected and the flash
// trigger high.
#ifndef HANDHELD_ENGINE_TESTS_SIMULATED_UNIT_H
#define HANDHELD_ENGINE_TESTS_SIMULATED_UNIT_H

#include <stdint.h>

#include <functional>
#include <memory>
#include <vector>

#include "handheld/engine/tests/log_fixture.h"
#include "handheld/engine/stimulator/main_dialog_post_capture.h"

class SimulatedUnit : public LogFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Called before every conversion read of the collectors, with the number
  // of reads made so far (from 0); returning false makes the read fail as a
  // converter that is not ready does. Empty: every read goes to the board.
  void set_read_hook(std::function<bool(int)> hook);

  // The stimulator: "COM2:" opened onto the simulated stimulator, the reader
  // thread started and its posts to the main dialog captured (closed again
  // at the end).
  void open_stimulator();
  // Runs the main dialog's part of receiving (each posted byte into the
  // message framing) while letting virtual time pass, until a message is
  // complete: its id, or -1 when none came within max_ms.
  int next_stimulator_message(int max_ms = 2000);
  // Every byte the unit has sent the stimulator, and forgets them.
  std::vector<uint8_t> sent_to_stimulator();

 private:
  std::unique_ptr<main_dialog_post_capture> posts_;
  size_t posts_seen_ = 0;
};

// The virtual clock in microseconds.
uint64_t now_us();

// The factory calibration lines of the electrodes: impedance (entries 4,
// 10, 12 and 14 with their intercepts) and data (entries 6 and 8).
void set_electrode_calibration();

#endif
