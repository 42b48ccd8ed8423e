// Menu helpers for windows with a menu bar (items addressed by command id
// unless said otherwise), and groupMenuClass, a labelled selector: a group
// frame whose caption shows a prefix and the chosen entry and which opens a
// pop-up menu of fixed entries when clicked.
#ifndef DESKTOP_WINLIB_CONTROLS_MENUS_H
#define DESKTOP_WINLIB_CONTROLS_MENUS_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/controls/captions.h"

// With flip 1 the checked bit is flipped; the result is whether the item is
// checked (1) or not (0). Other state bits (disabled, default) stay.
int toggle_menu_check(HMENU menu, UINT id, int flip);
// The item is checked when flag is 1, unchecked otherwise; other state bits
// stay. Returns flag.
int set_menu_check(HMENU menu, UINT id, int flag);
// Flips the checked bit; other state bits stay. Returns the new check (1/0).
int flip_menu_check(HMENU menu, UINT id);
// The submenu of the item at a position, or null.
HMENU submenu_at(HMENU menu, int position);
bool set_menu_text(HMENU menu, UINT id, const char* text);
bool append_menu_item(HMENU menu, UINT id, const char* text);
// A new pop-up menu set as the item's submenu.
HMENU attach_popup_menu(HMENU menu, UINT id);

// An entry of a menu table: a command and its text; id 0 is a separator.
struct menuEntry {
  int id;
  const char* text;
};
// Appends the entries in their order.
void append_menu_entries(HMENU menu, const menuEntry* entries, size_t count);
// A bar item whose pop-up holds the entries; returns the pop-up (null when
// it could not be made).
HMENU add_bar_menu(HMENU bar, int id, const char* text, const menuEntry* entries, size_t count);
template <size_t N>
HMENU add_bar_menu(HMENU bar, int id, const char* text, const menuEntry (&entries)[N]) {
  return add_bar_menu(bar, id, text, entries, N);
}
// An enabled text item put first in the menu.
void insert_menu_item_at_top(HMENU menu, int id, const char* text);

// The command of a selector's entry i.
constexpr UINT group_menu_first_id = 10000;

class groupMenuClass : public groupTextClass {
 public:
  // Entry texts follow unused, ended by a null pointer. The control is sized
  // for the prefix and min_chars characters.
  groupMenuClass(HWND parent, HFONT font, double x, double y, int min_chars, const paper& scale, const char* title,
                 const char* prefix, int unused, ...);
  ~groupMenuClass() override;

  // Caption line 0: prefix and text, padded with blanks to min_chars.
  void set_text(const char* text) override;
  // Shows entry i's text.
  void select_entry(int i);
  // Entry i's text into buffer; its length (0 when there is none).
  int entry_text(int i, char* buffer, int size);
  // count doubles, one for each of entries 0 .. count - 1. More than there
  // are entries is reported and cut.
  void add_menu_values(int count, ...);
  // Entry i's value; 0 for an index outside the entries. Values start at 0.
  double value(int i) const;
  int entry_count() const { return entry_count_; }
  HMENU menu() const { return menu_; }
  // Selection by mouse at (x, y) in millimetres of the holder's client area:
  // the chosen entry's index, -1 when the point misses the control, -2 when
  // no entry was chosen.
  int pop_up(double x, double y, const paper& scale);

 private:
  HMENU menu_ = nullptr;
  uint16_t entry_count_ = 0;
  double* values_ = nullptr;
  byteObjectClass prefix_;
  uint16_t min_chars_ = 0;
};

#endif
