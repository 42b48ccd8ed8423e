// The running program on the test road: keys pressed as the operator
// presses them, each followed by the program's loop until it is idle, and
// the card's stored tests and programs made and read back.
#ifndef HANDHELD_UI_MENUS_TESTS_ROAD_FIXTURE_H
#define HANDHELD_UI_MENUS_TESTS_ROAD_FIXTURE_H

#include <string>
#include <vector>

#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/engine/storage/stored_records.h"

class RoadTest : public VanduTest {
 protected:
  // A soft key touched (KEY_UPPER_LEFT..KEY_LOWER_RIGHT), then the loop
  // pumped until idle.
  void press(int control);
  // A stored test of patient number P with run counter N and an id, in
  // the current test folder.
  void store_patient_test(int P, int N, const char* id);
  // The names of the test files (".TST") anywhere on the card, sorted.
  std::vector<std::string> stored_tests() const;
  // A program file on the card (a unit path below the card's root).
  void write_program(const std::wstring& relative, const programRecord& program) const;
};

// A single test of a few flashes (title text 0).
programRecord flash_test_program(const char* title, int flashes);
// A session calling the named test programs, with a wait between them.
programRecord session_program(const char* title, const std::vector<const char*>& tests, int waitMs);

#endif
