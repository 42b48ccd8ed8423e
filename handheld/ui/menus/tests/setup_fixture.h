// The technician's menus driven in process: a menu opened as its caller
// opens it, keys touched, the loop pumped, and the keys' captions, the
// messages shown and what the stimulator received read back.
#ifndef HANDHELD_UI_MENUS_TESTS_SETUP_FIXTURE_H
#define HANDHELD_UI_MENUS_TESTS_SETUP_FIXTURE_H

#include <array>
#include <string>
#include <vector>

#include "handheld/ui/frame/tests/harness_fixture.h"

class SetupTest : public VanduTest {
 protected:
  void SetUp() override;
  // Requests the menu with the page code (pushed over the current one) and
  // pumps until it shows.
  void open(int menuId, int pageCode = PAGE_DEFAULT);
  // A soft key touched (KEY_UPPER_LEFT..KEY_LOWER_RIGHT) and the loop pumped.
  void press(int control);
  std::array<std::wstring, 4> captions() const;
  // The messages shown since the last call (their texts, as the remote line
  // echoes them).
  std::vector<std::string> messages();
  // The records the stimulator received since the last call, as text (one
  // string of bytes each).
  std::vector<std::string> stimulator_records();
  // The unit's screen as a picture (name.ppm) in the folder ERG_PICTURES
  // names, for a person to look at; nothing when it is not set.
  void save_screen(const char* name) const;

 private:
  size_t seen_ = 0;
};

#endif
