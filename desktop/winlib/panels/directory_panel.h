// directoryPanelClass: the program's folder chooser. A read-only field with
// the chosen path, a tree of the machine's drives and folders that fills as
// the user expands it, a right-click menu that adds a folder's files on
// request, and " OK " / " CANCEL ".
//
// Drives and folders (the drives too, at the root) show a button that opens
// them until a fill finds nothing in them.
//
// It reports to its parent window by WM_USER: (4100, 0) on each selection
// change, and (result code, caller data) once when it closes: 4097 after OK,
// 4098 after CANCEL, 4099 when the close box closed it. After that first
// close it ignores its buttons and further closes, so the parent receives one
// result; the parent then deletes the panel. When a path target is given,
// the current path is copied into it at the close.
//
// Tree items: a drive's text is "{V}" and the drive ("{V}C:"), a folder's
// "{D}" and its name, a file's its bare name (data item_ends_path); the
// braces are hidden in the display and in paths.
#ifndef DESKTOP_WINLIB_PANELS_DIRECTORY_PANEL_H
#define DESKTOP_WINLIB_PANELS_DIRECTORY_PANEL_H

#include <windows.h>

#include <commctrl.h>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/controls/control.h"
#include "desktop/winlib/panels/pseudo_dialog.h"

class buttonClass;
class editClass;
class listTreeClass;

// The right-click menu's commands.
constexpr int dirpanel_show_folders = 2000;
constexpr int dirpanel_show_files = 2001;
// Data of an item that fill_tree opened along the initial path.
constexpr LPARAM dirpanel_opened = 1;

class directoryPanelClass : public pseudoDialogClass, public controlListClass {
 public:
  // The window of class "dirpanel" at (x, y) millimetres of the screen, owned
  // by parent's window; the caller then calls fill_tree with its start path.
  directoryPanelClass(winTypeClass* parent, const char* title, double x, double y, uint32_t caller_data,
                      byteObjectClass* path_target);
  ~directoryPanelClass() override;

  void draw(HDC dc, const paper& scale) override;
  // fill_tree.
  void set_up(const char* text) override { fill_tree(text); }

  // Rebuilds the tree (every drive) and opens it along path (null or empty:
  // "C:\"), then selects the path's last item. A trailing "\" is dropped; a
  // doubled "\\" stays inside its part; the drive matches whatever its case.
  void fill_tree(const char* path);
  // Adds the sub-folders of a folder item (and its files when with_files),
  // each once.
  void fill_folder(HTREEITEM item, bool with_files);
  const char* current_path() const { return current_path_.text(); }

  // The controls, for the tests and the owner.
  listTreeClass* tree() const { return tree_; }
  editClass* path_field() const { return path_field_; }
  buttonClass* ok_button() const { return ok_button_; }
  buttonClass* cancel_button() const { return cancel_button_; }
  HMENU folder_menu() const { return folder_menu_; }
  HTREEITEM first_drive() const { return first_drive_; }
  bool is_ready() const { return ready_ != 0; }

 private:
  friend LRESULT CALLBACK directory_panel_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT on_notify(const NMHDR* header, LPARAM lparam);
  void on_selection(HTREEITEM item);
  void on_right_click();
  void on_close();
  void on_command(HWND control);
  // The top-level item of a drive, compared without case; inserted when new.
  HTREEITEM drive_item(const char* drive);
  void build_controls(double x, double y);

  HMENU folder_menu_ = nullptr;
  uint8_t ready_ = 0;
  bool closing_ = false;  // a button asked the panel to close
  buttonClass* ok_button_ = nullptr;
  buttonClass* cancel_button_ = nullptr;
  listTreeClass* tree_ = nullptr;
  editClass* path_field_ = nullptr;
  byteObjectClass current_path_;
  uint8_t tree_ready_ = 0;
  HTREEITEM first_drive_ = nullptr;
  uint8_t selected_ = 0;
  HTREEITEM last_item_ = nullptr;
  byteObjectClass* path_target_;
};

LRESULT CALLBACK directory_panel_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

#endif
