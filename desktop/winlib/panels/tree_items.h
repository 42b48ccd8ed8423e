// Operations on the items of a tree-view control: texts, a flag word kept in
// each item's parameter, parents and paths. The folder trees of the program
// (the unit's folders, the directory panel, the test search's folder
// chooser) are built with them.
//
// Flag bits of an item's parameter: tree_listed (its children are listed,
// set when a path is shown), tree_read (its sub-folders have been read),
// tree_separated (a backslash follows its text in a path). A new item has 0.
#ifndef DESKTOP_WINLIB_PANELS_TREE_ITEMS_H
#define DESKTOP_WINLIB_PANELS_TREE_ITEMS_H

#include <windows.h>
#include <commctrl.h>

constexpr LPARAM tree_listed = 1;
constexpr LPARAM tree_read = 2;
constexpr LPARAM tree_separated = 4;

// The texts and paths below are returned in one static buffer of this size,
// overwritten by the next call; a longer path is cut there and reported.
constexpr int tree_text_size = 260;

HTREEITEM tree_insert_item(HWND tree, HTREEITEM parent, const char* text);
const char* tree_item_text(HWND tree, HTREEITEM item);
bool tree_set_item_text(HWND tree, HTREEITEM item, const char* text);
LPARAM tree_item_param(HWND tree, HTREEITEM item);
bool tree_set_item_param(HWND tree, HTREEITEM item, LPARAM value);
LPARAM tree_item_flags(HWND tree, HTREEITEM item, LPARAM mask);
bool tree_add_item_flags(HWND tree, HTREEITEM item, LPARAM bits);
bool tree_item_has_flags(HWND tree, HTREEITEM item, LPARAM mask);
HTREEITEM tree_parent_item(HWND tree, HTREEITEM item);
HTREEITEM tree_first_child(HWND tree, HTREEITEM item);

// The texts from the root down to item, with a backslash after each item
// that has tree_separated; "" for the null item.
const char* tree_item_path(HWND tree, HTREEITEM item);
// The texts of item's ancestors and of item, each followed by a backslash;
// "" for the null item.
const char* tree_path_of(HWND tree, HTREEITEM item);

#endif
