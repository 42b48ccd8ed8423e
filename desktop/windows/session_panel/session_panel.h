// sessionPanelClass: the top-level window of a session: a column of test
// thumbnails, built from one test and its series, from chosen files, from a
// special session list (".s_f", nested lists allowed) or from the docked
// unit; sorted by test time, scrolled a thumbnail at a time, filtered as a
// whole, cut and pasted, saved and loaded as special sessions.
#ifndef DESKTOP_WINDOWS_SESSION_PANEL_SESSION_PANEL_H
#define DESKTOP_WINDOWS_SESSION_PANEL_SESSION_PANEL_H

#include <windows.h>

#include <string>
#include <vector>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/windows/window_object.h"

class thumbnailClass;
class editNumberClass;

constexpr uint32_t session_window_type = 1;

// Session modes, also the source of every thumbnail.
constexpr int session_mode_pc = 1;
constexpr int session_mode_unit = 2;

// The code the panel posts (as WM_COMMAND's wParam) to the main window to ask
// for a new session from the PC.
constexpr WPARAM new_pc_session_request = 32795;

enum sessionCommand : int {
  session_file_menu = 2000,
  session_add = 2001,
  session_open_another = 2002,
  session_test_locator = 2003,
  session_load_special = 2004,
  session_save_special = 2005,
  session_print = 2006,
  session_close = 2007,
  session_edit_menu = 2100,
  session_copy_bitmap = 2101,
  session_sort = 2102,
  session_view_menu = 2200,
  session_view_summary = 2201,
  session_filter_menu = 2300,
  session_60hz = 2302,
  session_50hz = 2303,
  session_spikes = 2304,
  session_lowpass = 2305,
  session_lowpass_frequency = 2306,
};

class sessionPanelClass : public winTypeClass {
 public:
  // Builds the window and menus and adds the files (a path, or a choice in
  // the file dialog when path is null). status() is 1 when that succeeded;
  // the opener closes a panel whose status is not 1.
  sessionPanelClass(int mode, const char* path, int several_files);
  // Offers to save a named special session that was modified.
  ~sessionPanelClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  int status() const { return status_; }
  int mode() const { return mode_; }
  bool modified() const { return modified_ != 0; }
  const char* name() const { return name_.text(); }
  int thumbnail_count() const { return static_cast<int>(thumbnails_.size()); }
  thumbnailClass* thumbnail(int index) const;
  int first_shown() const { return first_shown_; }
  int shown_count() const { return shown_; }
  double lowpass_frequency() const { return lowpass_frequency_; }
  HMENU menu() const { return menu_; }

  bool add_files(int mode, const char* path, int several_files);
  bool select_and_load(const char* title, int mode, int several_files);
  bool load_path(const char* path, int several_files);
  bool load_list(const std::vector<std::string>& paths);
  thumbnailClass* add_thumbnail(const char* path, int source);
  bool save_special_session(const char* title, bool ask_before_overwrite);
  bool load_special_session(const char* title);
  void remove(thumbnailClass* thumbnail);
  void paste_thumbnail(thumbnailClass* reference, int before);
  void sort_by_file_time();
  void update_filter_checks();
  void apply_filter(double frequency, int command);
  void layout();
  void set_scroll_range();
  // Refills, shows and repaints the open summary (none: nothing).
  void show_summary();
  // Closes the open summary (if any) and opens a new one of this session.
  void open_summary();
  // The session's open summary window, found in the window tree; null when
  // none is open.
  winTypeClass* summary() const;
  void set_modified() { modified_ = 1; }
  // The tests in the order given (a table sorted by a column): the listed
  // thumbnails of this session first, in that order, then any of its
  // thumbnails not listed, in their order; renumbered and laid out again.
  void take_order(const std::vector<winTypeClass*>& order);
  // The tests of one folder of the docked unit (the device link build).
  bool load_from_unit(const char* unit_path, int single_file);

 private:
  void build_menus();
  void renumber();
  void set_title_count(const char* text);
  void filter_menu_command(int command);
  void scroll(int request, int position);
  bool write_special_session(const std::string& file);

  HMENU menu_ = nullptr;
  HMENU edit_menu_ = nullptr;
  HMENU filter_menu_ = nullptr;
  HBRUSH background_ = nullptr;
  int status_ = 0;
  uint8_t sort_allowed_ = 1;
  int mode_ = session_mode_pc;
  byteObjectClass name_;
  uint8_t modified_ = 0;
  uint8_t loading_special_ = 0;
  int first_shown_ = 1;
  std::vector<thumbnailClass*> thumbnails_;  // children of the panel's window node
  std::vector<std::string> open_lists_;      // special sessions being read, to refuse a loop
  std::vector<std::string> read_lists_;      // special sessions read in this load, each read once
  double lowpass_frequency_ = 150.0;
  double largest_height_ = 0.0;
  double largest_width_ = 0.0;
  int shown_ = 0;
};

// The paths of a special session file. False, with "*** CAN'T OPEN [%s] ***",
// when it cannot be read.
bool read_special_session_list(const char* path, std::vector<std::string>& out);

#endif
