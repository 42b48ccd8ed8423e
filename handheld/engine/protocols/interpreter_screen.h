// What the protocol interpreter shows while it runs: the graph's text rows,
// the graph and its title, the sweep just taken, the result of a test and
// the menus it asks the main dialog for. The handheld's screen installs its
// own; without one nothing is drawn, so a program runs headless.
#ifndef HANDHELD_ENGINE_PROTOCOLS_INTERPRETER_SCREEN_H
#define HANDHELD_ENGINE_PROTOCOLS_INTERPRETER_SCREEN_H

#include "handheld/engine/storage/stored_records.h"

class interpreterScreen {
 public:
  virtual ~interpreterScreen() = default;
  // A text on the graph's text rows (negative rows are below the graph).
  virtual void row_text(int /*colour*/, int /*row*/, int /*column*/, const wchar_t* /*text*/) {}
  // The graph's title, and the title it had before a run.
  virtual void set_title(const wchar_t* /*title*/) {}
  virtual void save_title() {}
  virtual void restore_title() {}
  // The graph erased and its axes drawn.
  virtual void erase_graph() {}
  // The filter labels and "Test:%ls" with the test's name.
  virtual void show_test_label(const testFileRecord& /*record*/) {}
  // A sweep drawn with the shown channel's data calibration.
  virtual void draw_sweep(const samplesBlock& /*sweep*/, double /*scale*/, double /*offset*/) {}
  // The result graph of a test's records (channel A, channel B).
  virtual void show_result(const testFileRecord* /*records*/) {}
  // A page and menu of the main dialog.
  virtual void request_menu(int /*page*/, int /*menu*/) {}
};

// Null restores the headless screen.
void set_interpreter_screen(interpreterScreen* screen);
interpreterScreen& interpreter_screen();

#endif
