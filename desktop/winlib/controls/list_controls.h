// The list controls: a tree view whose items carry hidden parts in braces
// and data bits, and a list box.
#ifndef DESKTOP_WINLIB_CONTROLS_LIST_CONTROLS_H
#define DESKTOP_WINLIB_CONTROLS_LIST_CONTROLS_H

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "desktop/winlib/controls/control.h"

// Item texts may carry hidden parts in braces: "name{hidden}".
// The text without every part from "{" to the next "}" (an unclosed "{"
// hides the rest). One shared buffer, valid until the next call.
const char* plain_text(const char* text);
// The text with the braces removed and their contents kept. One shared
// buffer, valid until the next call.
const char* display_text(const char* text);

// The data bit of an item that ends a path (no "\" after it).
constexpr LPARAM item_ends_path = 8;

class listTreeClass : public controlClass {
 public:
  // "SysTreeView32" child sized for chars "X" characters and rows + 1 rows.
  listTreeClass(HWND parent, HFONT font, double x, double y, int chars, int rows, const paper& scale,
                const char* title, DWORD style);

  void measure(HDC dc, const paper& scale) override;
  // Moves the window without sizing it.
  void place(double x, double y, const paper& scale) override;

  // A new last child of parent (null or TVI_ROOT: a top-level item), data 0.
  HTREEITEM insert_item(const char* text, HTREEITEM parent);
  HTREEITEM insert_item_with_data(const char* text, HTREEITEM parent, LPARAM data);
  // The first child of parent whose text equals text, else a new one.
  HTREEITEM find_or_insert_child(const char* text, HTREEITEM parent, LPARAM data);
  bool set_item_text(HTREEITEM item, const char* text);
  // The item's text in one shared buffer of 260 characters.
  const char* item_text(HTREEITEM item);
  bool set_item_data(HTREEITEM item, LPARAM data);
  LPARAM item_data(HTREEITEM item);
  LPARAM test_data_bits(HTREEITEM item, LPARAM mask) { return item_data(item) & mask; }
  bool has_data_bits(HTREEITEM item, LPARAM mask) { return (item_data(item) & mask) == mask; }
  bool set_data_bits(HTREEITEM item, LPARAM mask) { return set_item_data(item, item_data(item) | mask); }
  HTREEITEM parent_item(HTREEITEM item) { return next_item(item, TVGN_PARENT); }
  HTREEITEM first_child(HTREEITEM item) { return next_item(item, TVGN_CHILD); }
  HTREEITEM next_sibling(HTREEITEM item) { return next_item(item, TVGN_NEXT); }
  HTREEITEM previous_sibling(HTREEITEM item) { return next_item(item, TVGN_PREVIOUS); }
  bool select_item(HTREEITEM item);
  bool delete_item(HTREEITEM item);
  bool expand(HTREEITEM item) { return expand_with(item, TVE_EXPAND); }
  bool collapse(HTREEITEM item) { return expand_with(item, TVE_COLLAPSE); }
  bool toggle(HTREEITEM item) { return expand_with(item, TVE_TOGGLE); }
  // The item's text rectangle in the view's client pixels.
  bool item_rect_text_only(HTREEITEM item, RECT* rect);
  // Edges of the item's text rectangle on the screen; 0 when refused.
  int item_left(HTREEITEM item);
  int item_right(HTREEITEM item);
  int item_top(HTREEITEM item);
  int item_bottom(HTREEITEM item);
  void set_text_colour(COLORREF colour);
  // plain_text of the item's text.
  const char* item_display_text(HTREEITEM item);
  // The parent's path, then the item's plain text, then "\" unless the
  // item's data has item_ends_path. One shared buffer; "" for no item.
  const char* item_path(HTREEITEM item);
  // A left click at the middle of the item's text.
  void click_item(HTREEITEM item);

 private:
  HTREEITEM next_item(HTREEITEM item, UINT relation);
  bool expand_with(HTREEITEM item, UINT action);
  std::string item_string(HTREEITEM item);

  uint32_t chars_;
  uint32_t rows_;
};

class listBoxClass : public controlClass {
 public:
  // A bordered "LISTBOX" with a vertical scroll bar that notifies its parent:
  // chars "X" characters wide, rows rows high (the window one row taller).
  listBoxClass(HWND parent, HFONT font, double x, double y, int chars, int rows, const paper& scale,
               const char* title, DWORD style);

  // As wide as the widest row or chars "X", whichever is wider, measured
  // with the control's font.
  void measure(HDC dc, const paper& scale) override;
  void place(double x, double y, const paper& scale) override;
  // Measures again (rows come and go) and sizes the window to it.
  void fit(const paper& scale);

  // The first row whose text equals text, or -1. Rows are read whole
  // whatever their length.
  int find_string(const char* text);
  // The first row whose data equals value, or -1.
  int find_data(LPARAM value);
  // A row's whole text ("" for a row that is not there).
  std::string item_text(int index);
  // A row's text into buffer (size bytes, always terminated, cut when
  // longer); the row's length, or -1 for a row that is not there.
  int item_text(int index, char* buffer, int size);
  LPARAM item_data(int index);
  // The row index, negative on failure.
  int add_string(const char* text);
  // Deletes the row and inserts text at its place; the row index or negative.
  int replace_string(int index, const char* text);
  int count();
  int selection();
  // A negative index sends nothing and gives -1.
  int set_selection(int index);
  double window_height() const { return window_height_; }

 private:
  uint32_t chars_;
  uint32_t rows_;
  double window_height_ = 0.0;
};

#endif
