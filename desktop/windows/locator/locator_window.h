// testLocatorPanelClass: the "TEST FILE RETRIEVAL" window. It searches a
// folder tree on the PC for stored tests (".TST") whose record and state file
// meet the criteria (test id pattern, patient number, eye, user id pattern),
// lists them, previews the chosen one as a thumbnail, removes entries, and
// opens one test, or the whole list, as a session.
//
// The search runs inside the "Find TESTS." command: the locator is minimised
// and a progress panel beneath it shows the folders; its " Cancel Search "
// heading (or its close box) stops the search between files. A file that
// cannot be read, or whose name or eye criterion is wrong, is reported and
// skipped; the search goes on.
#ifndef DESKTOP_WINDOWS_LOCATOR_LOCATOR_WINDOW_H
#define DESKTOP_WINDOWS_LOCATOR_LOCATOR_WINDOW_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/winlib/files/directory_search.h"
#include "desktop/winlib/panels/info_panel.h"
#include "handheld/engine/storage/stored_records.h"

class buttonClass;
class checkBoxClass;
class controlListClass;
class editLabelClass;
class groupBoxClass;
class listBoxClass;
class pseudoDialogClass;
class textObjectClass;
class thumbnailClass;

// Window type of the locator.
constexpr uint32_t locator_window_type = 6;

// The menu bar's commands.
enum locatorCommand : int {
  locator_select_menu = 2200,
  locator_new_directory = 2201,
};

// The setting that names the root folder of the search.
constexpr const char* locator_root_setting = "test_locator_directory";

// One found test, owned through its list row's item data.
struct foundTest {
  foundTest();
  ~foundTest();
  foundTest(const foundTest&) = delete;
  foundTest& operator=(const foundTest&) = delete;

  // folder + the file's name.
  std::string path() const;

  uint8_t loaded = 0;                   // 1 when the record was read whole
  thumbnailClass* thumbnail = nullptr;  // its preview, made on first use; owned
  WIN32_FIND_DATAA find_data;           // as the scanner gave it
  char folder[MAX_PATH] = {};           // ends in "\"
  std::unique_ptr<testFileRecord> record;
};

class testLocatorPanelClass : public directorySearchOwner, public cancelRequestTarget {
 public:
  // The window at (x, y) pixels, 900 x 700, with its controls.
  testLocatorPanelClass(int x, int y);
  // Clears the list (entries and their thumbnails), then the controls, the
  // scanner and the folder chooser go.
  ~testLocatorPanelClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // The criteria from the four edits.
  void read_criteria();
  // The whole search: criteria, progress panel, scan, list, first preview.
  void find_tests();
  // Whether a read entry meets every criterion that is set. Bad file names
  // and eye texts are reported.
  bool matches(foundTest& entry);
  // An empty pattern matches; else the state file's "userid" must.
  bool user_id_matches(foundTest& entry, const char* pattern);
  // Reads the flag byte and the record of folder + the file's name into
  // entry; false, reported, when the file does not open or is short.
  bool read_candidate(foundTest& entry, const WIN32_FIND_DATAA* found, const char* folder);
  void preview_selected();
  void remove_selected();
  void open_selected();
  void list_to_session();
  // Deletes the preview and every entry with its thumbnail; empties the list.
  void clear_list();
  // The test id of a row, at most 10 characters; "" for no row.
  std::string item_test_id(int index);

  // directorySearchOwner: the progress panel, the check box, the count.
  void show_count(const char* text) override;
  void show_accepted(const char* text) override;
  void show_message(int line, const char* text) override;
  void refresh_panel() override;
  bool include_subfolders() override;
  int32_t accepted_count() override { return found_count_; }
  bool cancel_requested() override { return cancel_; }
  // cancelRequestTarget: the panel's " Cancel Search ".
  void request_cancel() override { cancel_ = true; }

  // What the window shows.
  listBoxClass* list() const { return list_; }
  int found_count() const { return found_count_; }
  const char* count_text() const;
  thumbnailClass* preview() const;
  HWND remove_button() const;
  HWND session_button() const;
  HWND find_button() const;
  HWND subfolder_box() const;
  editLabelClass* test_id_edit() const { return test_id_edit_; }
  editLabelClass* patient_edit() const { return patient_edit_; }
  editLabelClass* eye_edit() const { return eye_edit_; }
  editLabelClass* user_id_edit() const { return user_id_edit_; }
  HMENU menu() const { return menu_; }
  // The preview rectangle in millimetres.
  double preview_left() const { return preview_left_; }
  double preview_top() const { return preview_top_; }
  double preview_width() const { return preview_width_; }
  double preview_height() const { return preview_height_; }

 private:
  friend void locator_found_file(directorySearchOwner* owner, const WIN32_FIND_DATAA* found, const char* folder);

  void build_menu();
  void build_controls();
  // Places every control for the preview rectangle's size.
  void layout();
  void on_file(const WIN32_FIND_DATAA* found, const char* folder);
  void show_list_buttons(bool shown);
  void update_count();
  // The entry of a row, or null when its data cannot be read.
  foundTest* entry_at(int index);
  // The preview thumbnail, when it is still in the window tree.
  thumbnailClass* live(thumbnailClass* thumbnail) const;
  // Opens a session panel from the PC; null (the panel closed) when it did
  // not load.
  winTypeClass* open_session(const char* path, int several_files);
  void command(HWND control, int notification, int id);
  // "New Test Directory": the folder chooser, at the root setting; it
  // reports through chooser_notice.
  void choose_root();
  void chooser_notice(uintptr_t code);
  bool alive() const;

  HMENU menu_ = nullptr;
  HBRUSH background_ = nullptr;
  thumbnailClass* preview_ = nullptr;  // owned by its entry
  double preview_left_ = 0.0;
  double preview_top_ = 0.0;
  double preview_width_ = 128.0;
  double preview_height_ = 36.0;

  std::unique_ptr<controlListClass> controls_;
  groupBoxClass* found_group_ = nullptr;
  listBoxClass* list_ = nullptr;
  std::unique_ptr<textObjectClass> count_;
  buttonClass* remove_button_ = nullptr;
  buttonClass* session_button_ = nullptr;
  groupBoxClass* preview_group_ = nullptr;
  groupBoxClass* criteria_group_ = nullptr;
  editLabelClass* test_id_edit_ = nullptr;
  editLabelClass* patient_edit_ = nullptr;
  editLabelClass* eye_edit_ = nullptr;
  editLabelClass* user_id_edit_ = nullptr;
  buttonClass* find_button_ = nullptr;
  checkBoxClass* subfolder_box_ = nullptr;

  getDirectoryClass* scanner_ = nullptr;
  pseudoDialogClass* chooser_ = nullptr;  // the folder chooser while open
  std::string title_root_;

  std::string test_id_pattern_;
  int32_t patient_number_ = 0;
  std::string eye_;
  std::string user_id_pattern_;

  int32_t found_count_ = 0;
  infoPanelClass* panel_ = nullptr;
  bool cancel_ = false;
  bool searching_ = false;
};

// The scanner's call for each ".TST" file found.
void locator_found_file(directorySearchOwner* owner, const WIN32_FIND_DATAA* found, const char* folder);

#endif
