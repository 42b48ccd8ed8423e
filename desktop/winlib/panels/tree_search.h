// ceTreeSearchClass: the window in which the user picks the folder where the
// test search starts. A tree of folders that grows as the user expands it, an
// edit field with the chosen path, a "Use Subdirectories" check box and a
// "System Search" button (which picks the folder through a file in it). The
// choice is kept in the settings "test_locator_directory" and
// "test_directory_use_subs".
//
// The close box hides the window and stores the edited path; the window is
// destroyed with its object.
#ifndef DESKTOP_WINLIB_PANELS_TREE_SEARCH_H
#define DESKTOP_WINLIB_PANELS_TREE_SEARCH_H

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "desktop/winlib/windows/window_object.h"

class editClass;

constexpr uint32_t tree_search_type = 10;
constexpr int tree_search_view_id = 2001;

// The settings the window keeps.
constexpr const char* tree_search_path_setting = "test_locator_directory";
constexpr const char* tree_search_subs_setting = "test_directory_use_subs";

class ceTreeSearchClass : public winTypeClass {
 public:
  // A window of class "tree" titled "Directory Selection for <title>" at
  // (x, y) pixels, owned by parent's window. start_path is kept; the tree
  // stays empty until show_path.
  ceTreeSearchClass(winTypeClass* parent, int x, int y, const char* title, const char* start_path);
  ~ceTreeSearchClass() override;

  void draw(HDC dc, const paper& scale) override;

  // The path of the current (selected) item, each text followed by "\".
  const char* current_path();
  // Replaces the tree with the items of path, one per "\"-separated part,
  // each the child of the one before and expanded. From then on an
  // expanded item lists its sub-folders.
  void show_path(const char* path);
  // Lists the sub-folders of item once (beside the child a shown path gave
  // it), sorted by name.
  void expand_item(HTREEITEM item);
  // Picks the folder through a file in it (the Open dialog), then shows it.
  void system_search();

  HWND tree() const { return tree_; }
  HWND subs_box() const { return subs_box_; }
  HWND search_button() const { return search_button_; }
  editClass* path_edit() const { return path_edit_; }
  bool ready() const { return ready_ != 0; }
  const char* start_path() const { return start_path_.c_str(); }

 private:
  friend LRESULT CALLBACK tree_search_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT on_notify(const NMHDR* header, LPARAM lparam);
  void on_close();
  void on_command(HWND control, int notification);

  HWND tree_ = nullptr;
  editClass* path_edit_ = nullptr;  // owned
  HWND subs_box_ = nullptr;
  HWND search_button_ = nullptr;
  HTREEITEM current_ = nullptr;
  bool selected_ = false;
  uint8_t ready_ = 0;
  std::string start_path_;
};

// The window procedure of class "tree" (registered by the first window).
LRESULT CALLBACK tree_search_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

#endif
