// The device link: the docked unit's storage card through the remote API.
// The build without the link compiles device_link_stub.cpp instead: the
// connection check returns no path and the folder listings do nothing.
#ifndef DESKTOP_WINDOWS_DEVICE_LINK_DEVICE_LINK_H
#define DESKTOP_WINDOWS_DEVICE_LINK_DEVICE_LINK_H

#include <windows.h>
#include <commctrl.h>

#include "desktop/winlib/windows/window_object.h"

// Unit paths are at most this long, the terminator included.
constexpr int unit_path_size = 260;

// The tree items' state bits.
constexpr LPARAM unit_item_has_child = 1;
constexpr LPARAM unit_item_listed = 2;
constexpr LPARAM unit_item_folder = 4;

// Starts the link (a status panel over parent while it waits, at most 5000
// ms), then lets the user pick a test file of the unit's card in the dialog
// "Select a file for display". The chosen path (valid until the next check),
// or null when the link failed or the dialog was cancelled.
const char* connect_to_unit(winTypeClass* parent);

// The procedure of that dialog.
INT_PTR CALLBACK unit_tree_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Adds the sub-folders of a folder item (once).
void list_unit_subfolders(HWND tree, HTREEITEM item);
// Adds every entry of a folder item but ".txt" files (once).
void expand_unit_item(HWND tree, HTREEITEM item);

// The unit's entries of a pattern ("\Storage Card\A_1\*"), in the order the
// unit returns them; false when nothing matched. Names are cut to
// unit_path_size - 1 characters.
struct unitEntry {
  char name[unit_path_size];
  bool folder;
};
bool find_unit_entries(const char* pattern, void (*visit)(const unitEntry& entry, void* context), void* context,
                       bool first_only);

// True in the build with the device link.
bool device_link_built();
// The program title's suffix of this build: "" with the device link, "V" without.
const char* program_title_suffix();

#endif
