#include "desktop/winlib/panels/tree_items.h"

#include <string>
#include <vector>

#include "desktop/winlib/messages/messages.h"

namespace {

char path_buffer[tree_text_size];
char text_buffer[tree_text_size];

// Copies text into the path buffer; a text that does not fit is cut and
// reported.
const char* keep_path(const std::string& text) {
  size_t n = text.size();
  if (n >= sizeof path_buffer) {
    errormessage("*** TREE PATH TOO LONG (%d CHARACTERS), CUT TO %d ***", static_cast<int>(n),
                 tree_text_size - 1);
    n = sizeof path_buffer - 1;
  }
  text.copy(path_buffer, n);
  path_buffer[n] = '\0';
  return path_buffer;
}

// The item and its ancestors, the root first.
std::vector<HTREEITEM> line_of(HWND tree, HTREEITEM item) {
  std::vector<HTREEITEM> items;
  // A tree is never deeper than its paths are long: the bound stops a loop.
  for (HTREEITEM at = item; at != nullptr && items.size() < 4096; at = tree_parent_item(tree, at)) {
    items.insert(items.begin(), at);
  }
  return items;
}

std::string text_of(HWND tree, HTREEITEM item) {
  char text[tree_text_size] = {};
  TVITEMA record = {};
  record.mask = TVIF_TEXT;
  record.hItem = item;
  record.pszText = text;
  record.cchTextMax = sizeof text;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record))) return std::string();
  text[sizeof text - 1] = '\0';
  return text;
}

}  // namespace

HTREEITEM tree_insert_item(HWND tree, HTREEITEM parent, const char* text) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text != nullptr ? text : "");
  insert.item.lParam = 0;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

const char* tree_item_text(HWND tree, HTREEITEM item) {
  std::string text = text_of(tree, item);
  text.copy(text_buffer, sizeof text_buffer - 1);
  text_buffer[text.size() < sizeof text_buffer ? text.size() : sizeof text_buffer - 1] = '\0';
  return text_buffer;
}

bool tree_set_item_text(HWND tree, HTREEITEM item, const char* text) {
  TVITEMA record = {};
  record.mask = TVIF_TEXT;
  record.hItem = item;
  record.pszText = const_cast<char*>(text != nullptr ? text : "");
  return SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

LPARAM tree_item_param(HWND tree, HTREEITEM item) {
  TVITEMA record = {};
  record.mask = TVIF_PARAM;
  record.hItem = item;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record))) return 0;
  return record.lParam;
}

bool tree_set_item_param(HWND tree, HTREEITEM item, LPARAM value) {
  TVITEMA record = {};
  record.mask = TVIF_PARAM;
  record.hItem = item;
  record.lParam = value;
  return SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

LPARAM tree_item_flags(HWND tree, HTREEITEM item, LPARAM mask) { return tree_item_param(tree, item) & mask; }

bool tree_add_item_flags(HWND tree, HTREEITEM item, LPARAM bits) {
  return tree_set_item_param(tree, item, tree_item_param(tree, item) | bits);
}

bool tree_item_has_flags(HWND tree, HTREEITEM item, LPARAM mask) {
  return (tree_item_param(tree, item) & mask) == mask;
}

HTREEITEM tree_parent_item(HWND tree, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM tree_first_child(HWND tree, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
}

const char* tree_item_path(HWND tree, HTREEITEM item) {
  std::string path;
  for (HTREEITEM at : line_of(tree, item)) {
    path += text_of(tree, at);
    if (tree_item_param(tree, at) & tree_separated) path += '\\';
  }
  return keep_path(path);
}

const char* tree_path_of(HWND tree, HTREEITEM item) {
  std::string path;
  for (HTREEITEM at : line_of(tree, item)) {
    path += text_of(tree, at);
    path += '\\';
  }
  return keep_path(path);
}
