// summaryClass: the session summary, one table row per test of a session:
// its place in the session, time since the first test, file name, run time,
// flash intensity (as stored and as a log against 3000), the a- and b-wave
// amplitudes and implicit times and the b/a ratio. The measured cells follow
// the tests' models, so a mark moved in a measurement graph shows at once.
// From the table the user sorts the session by a column, selects X and Y
// values and plots them in a comparison graph, saves the table as text and
// prints it with the session report.
#ifndef DESKTOP_WINDOWS_SUMMARY_SUMMARY_H
#define DESKTOP_WINDOWS_SUMMARY_SUMMARY_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/windows/table/table.h"
#include "desktop/winlib/windows/window_object.h"

class sessionPanelClass;
class thumbnailClass;

constexpr uint32_t summary_window_type = 5;
constexpr int summary_columns = 11;
constexpr int summary_header_rows = 3;
constexpr int summary_plot_limit = 50;

enum summaryCommand : int {
  summary_file_menu = 2000,
  summary_print = 2001,
  summary_edit_menu = 2100,
  summary_save_text = 2101,
  summary_plot_menu = 2200,
  summary_plot_selected = 2201,
  summary_plot_reset = 2202,
  summary_scroll_up = 8000,
  summary_scroll_down = 8001,
};

// The header pop-up's choices.
enum summaryColumnChoice : int {
  summary_choose_x = 2000,
  summary_choose_y = 2001,
};

// The folder the save dialog starts in when none is given.
extern std::string summary_text_folder;

class summaryClass : public winTypeClass {
 public:
  // Builds the window and its menus and fills the table from the session's
  // tests in their order. Without a window ("summary window creation
  // failed") the summary has no table.
  explicit summaryClass(sessionPanelClass* session);
  ~summaryClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // One row per test; the first test's time becomes this summary's
  // reference time.
  void fill_table(const std::vector<thumbnailClass*>& tests);
  // Writes every row of the table, header rows first, whatever is scrolled
  // into view: tab-separated, or comma-separated when comma is set. The
  // file name is chosen in the save dialog, proposed as "Summary_" + name.
  // False when the dialog was cancelled or the file could not be written
  // (reported).
  bool save_as_text(HWND window, const char* name, const char* folder, bool comma);
  // The selected X and Y cells, paired in selection order, as one trace
  // (its points in order of x) in a new comparison graph. False, reported,
  // when nothing is selected, more than 50 of one kind are or the counts of
  // X and Y differ.
  bool plot_selected();

  tableClass* table() const { return table_; }
  sessionPanelClass* session() const { return session_; }
  void set_shown(bool on) { shown_ = on ? 1 : 0; }
  bool shown() const { return shown_ != 0; }
  const FILETIME& reference_time() const { return reference_time_; }
  HMENU menu() const { return menu_; }
  HMENU header_menu() const { return header_menu_; }

 private:
  void build_menus();
  void drop_table();
  void mouse_down(int x, int y, bool right);
  // "Summary Graph: ..." with the x and y columns' headings.
  std::string plot_title() const;
  bool open_summary_graph(const std::vector<double>& x, const std::vector<double>& y);

  sessionPanelClass* session_;
  uint8_t shown_ = 0;
  HMENU menu_ = nullptr;
  HMENU header_menu_ = nullptr;
  tableClass* table_ = nullptr;
  FILETIME reference_time_{};
};

// Seconds from reference to the test's time (both local file times);
// 12345.678 for no test.
double delta_seconds(const winTypeClass* owner, const FILETIME& reference);

#endif
