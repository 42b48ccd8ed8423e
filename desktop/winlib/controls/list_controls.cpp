#include "desktop/winlib/controls/list_controls.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/windows/window_helpers.h"

namespace {

std::string strip_braces(const char* text, bool keep_contents) {
  std::string out;
  if (!text) return out;
  bool hidden = false;
  for (const char* p = text; *p; ++p) {
    if (*p == '{') {
      hidden = !keep_contents;
      continue;
    }
    if (*p == '}') {
      hidden = false;
      continue;
    }
    if (!hidden) out.push_back(*p);
  }
  return out;
}

}  // namespace

const char* plain_text(const char* text) {
  static std::string buffer;
  buffer = strip_braces(text, false);
  return buffer.c_str();
}

const char* display_text(const char* text) {
  static std::string buffer;
  buffer = strip_braces(text, true);
  return buffer.c_str();
}

listTreeClass::listTreeClass(HWND parent, HFONT font, double x, double y, int chars, int rows, const paper& scale,
                             const char* title, DWORD style)
    : controlClass(parent, font, x, y), chars_(chars > 0 ? chars : 0), rows_(rows > 0 ? rows : 0) {
  measure_on_parent(scale);
  create_window(WC_TREEVIEWA, title ? title : "",
                WS_CHILD | WS_VISIBLE | WS_DLGFRAME | WS_VSCROLL | TVS_HASBUTTONS | style, scale);
}

void listTreeClass::measure(HDC dc, const paper& scale) {
  char xs[256];
  x_string(xs, static_cast<int>(chars_));
  SIZE size;
  if (!text_extent(dc, xs, &size)) errormessage("listTreeClass: GetTextExtentPoint failed");
  box_width = scale.mm_x(size.cx) + 1.0;
  box_height = scale.mm_y(size.cy) * (rows_ + 1) + 1.0;
}

void listTreeClass::place(double x, double y, const paper& scale) {
  move_to(x, y);
  if (window_) {
    SetWindowPos(window_, nullptr, scale.px_x(box_x), scale.px_y(box_y), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
}

HTREEITEM listTreeClass::insert_item(const char* text, HTREEITEM parent) {
  return insert_item_with_data(text, parent, 0);
}

HTREEITEM listTreeClass::insert_item_with_data(const char* text, HTREEITEM parent, LPARAM data) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text ? text : "");
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(SendMessageA(window_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM listTreeClass::find_or_insert_child(const char* text, HTREEITEM parent, LPARAM data) {
  HTREEITEM child = parent ? first_child(parent) : next_item(nullptr, TVGN_ROOT);
  for (; child; child = next_sibling(child)) {
    if (item_string(child) == (text ? text : "")) return child;
  }
  return insert_item_with_data(text, parent, data);
}

bool listTreeClass::set_item_text(HTREEITEM item, const char* text) {
  TVITEMA record{};
  record.mask = TVIF_TEXT;
  record.hItem = item;
  record.pszText = const_cast<char*>(text ? text : "");
  return SendMessageA(window_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

std::string listTreeClass::item_string(HTREEITEM item) {
  // The view gives no length; grow the buffer until the text fits.
  for (int size = 260; size <= 65536; size *= 4) {
    std::vector<char> buffer(static_cast<size_t>(size), '\0');
    TVITEMA record{};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = buffer.data();
    record.cchTextMax = size;
    if (!item || !SendMessageA(window_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record))) return std::string();
    buffer.back() = '\0';
    if (std::strlen(buffer.data()) < static_cast<size_t>(size - 1)) return std::string(buffer.data());
  }
  return std::string();
}

const char* listTreeClass::item_text(HTREEITEM item) {
  static char buffer[260];
  std::string text = item_string(item);
  std::strncpy(buffer, text.c_str(), sizeof buffer - 1);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

bool listTreeClass::set_item_data(HTREEITEM item, LPARAM data) {
  TVITEMA record{};
  record.mask = TVIF_PARAM;
  record.hItem = item;
  record.lParam = data;
  return SendMessageA(window_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

LPARAM listTreeClass::item_data(HTREEITEM item) {
  TVITEMA record{};
  record.mask = TVIF_PARAM;
  record.hItem = item;
  if (!item || !SendMessageA(window_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record))) return 0;
  return record.lParam;
}

HTREEITEM listTreeClass::next_item(HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(window_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool listTreeClass::select_item(HTREEITEM item) {
  return SendMessageA(window_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

bool listTreeClass::delete_item(HTREEITEM item) {
  return SendMessageA(window_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

bool listTreeClass::expand_with(HTREEITEM item, UINT action) {
  return SendMessageA(window_, TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)) != 0;
}

bool listTreeClass::item_rect_text_only(HTREEITEM item, RECT* rect) {
  // TVM_GETITEMRECT takes the item in the rectangle it fills.
  std::memcpy(rect, &item, sizeof item);
  return SendMessageA(window_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(rect)) != 0;
}

int listTreeClass::item_left(HTREEITEM item) {
  RECT r;
  RECT w;
  if (!item_rect_text_only(item, &r) || !GetWindowRect(window_, &w)) return 0;
  return r.left + w.left;
}

int listTreeClass::item_right(HTREEITEM item) {
  RECT r;
  RECT w;
  if (!item_rect_text_only(item, &r) || !GetWindowRect(window_, &w)) return 0;
  return r.right + w.left;
}

int listTreeClass::item_top(HTREEITEM item) {
  RECT r;
  RECT w;
  if (!item_rect_text_only(item, &r) || !GetWindowRect(window_, &w)) return 0;
  return r.top + w.top;
}

int listTreeClass::item_bottom(HTREEITEM item) {
  RECT r;
  RECT w;
  if (!item_rect_text_only(item, &r) || !GetWindowRect(window_, &w)) return 0;
  return r.bottom + w.top;
}

void listTreeClass::set_text_colour(COLORREF colour) { SendMessageA(window_, TVM_SETTEXTCOLOR, 0, colour); }

const char* listTreeClass::item_display_text(HTREEITEM item) { return plain_text(item_string(item).c_str()); }

const char* listTreeClass::item_path(HTREEITEM item) {
  static std::string buffer;
  std::string path;
  // From the item up to the root, each step put in front.
  for (HTREEITEM at = item; at; at = parent_item(at)) {
    std::string step = plain_text(item_string(at).c_str());
    if (!(item_data(at) & item_ends_path)) step += '\\';
    path.insert(0, step);
  }
  buffer = path;
  return buffer.c_str();
}

void listTreeClass::click_item(HTREEITEM item) {
  log_message("111 [%s]", item_path(item));
  RECT r{};
  item_rect_text_only(item, &r);
  int x = (r.left + r.right) / 2;
  int y = (r.top + r.bottom) / 2;
  log_message("222 left_click_item (%d,%d) %d %d %8.8lx", x, y, static_cast<int>(r.right - r.left),
              static_cast<int>(r.bottom - r.top), static_cast<unsigned long>(reinterpret_cast<uintptr_t>(item)));
  SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

listBoxClass::listBoxClass(HWND parent, HFONT font, double x, double y, int chars, int rows, const paper& scale,
                           const char* title, DWORD style)
    : controlClass(parent, font, x, y), chars_(chars > 0 ? chars : 0), rows_(rows > 0 ? rows : 0) {
  measure_on_parent(scale);
  window_ = create_child_window(parent_, "LISTBOX", title ? title : "",
                                WS_CHILD | WS_VISIBLE | WS_DLGFRAME | WS_VSCROLL | LBS_NOTIFY | style,
                                scale.px_x(box_x), scale.px_y(box_y), scale.px_x(box_width),
                                scale.px_y(window_height_));
  if (window_) SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void listBoxClass::measure(HDC dc, const paper& scale) {
  char xs[256];
  x_string(xs, static_cast<int>(chars_));
  SIZE size;
  if (!text_extent(dc, xs, &size)) errormessage("listBoxClass: GetTextExtentPoint failed");
  // As wide as its widest row (never narrower than chars "X"), with room
  // for the scroll bar and the frame beside the rows.
  long widest = size.cx;
  for (int i = 0; i < count(); ++i) {
    SIZE row_size{0, 0};
    if (text_extent(dc, item_text(i).c_str(), &row_size)) widest = std::max(widest, row_size.cx);
  }
  const int beside = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXDLGFRAME) + 4;
  double row = scale.mm_y(size.cy);
  box_width = scale.mm_x(widest + beside) + 1.0;
  box_height = row * rows_ + 1.0;
  window_height_ = row * (rows_ + 1) + 1.0;
}

void listBoxClass::fit(const paper& scale) {
  measure_on_parent(scale);
  RECT now{};
  if (!window_ || !GetWindowRect(window_, &now)) return;
  // Only the width: the list keeps the height it took (a list box rounds
  // its height to whole rows).
  const int width = scale.scale_x(box_width);
  if (now.right - now.left != width)
    SetWindowPos(window_, nullptr, 0, 0, width, now.bottom - now.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void listBoxClass::place(double x, double y, const paper& scale) {
  move_to(x, y);
  if (window_) {
    SetWindowPos(window_, nullptr, scale.px_x(box_x), scale.px_y(box_y), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
}

int listBoxClass::item_text(int index, char* buffer, int size) {
  if (buffer && size > 0) buffer[0] = '\0';
  LRESULT length = SendMessageA(window_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || index < 0) return -1;
  std::vector<char> whole(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(window_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(whole.data()));
  whole.back() = '\0';
  if (buffer && size > 0) {
    std::strncpy(buffer, whole.data(), static_cast<size_t>(size) - 1);
    buffer[size - 1] = '\0';
  }
  return static_cast<int>(length);
}

std::string listBoxClass::item_text(int index) {
  LRESULT length = SendMessageA(window_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || index < 0) return std::string();
  std::vector<char> whole(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(window_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(whole.data()));
  whole.back() = '\0';
  return std::string(whole.data());
}

int listBoxClass::find_string(const char* text) {
  if (!text) text = "";
  int rows = count();
  for (int i = 0; i < rows; ++i) {
    if (item_text(i) == text) return i;
  }
  return -1;
}

int listBoxClass::find_data(LPARAM value) {
  int rows = count();
  for (int i = 0; i < rows; ++i) {
    if (item_data(i) == value) return i;
  }
  return -1;
}

LPARAM listBoxClass::item_data(int index) {
  return SendMessageA(window_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

int listBoxClass::add_string(const char* text) {
  return static_cast<int>(SendMessageA(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

int listBoxClass::replace_string(int index, const char* text) {
  SendMessageA(window_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  return static_cast<int>(
      SendMessageA(window_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text ? text : "")));
}

int listBoxClass::count() {
  if (!window_) return 0;
  return static_cast<int>(SendMessageA(window_, LB_GETCOUNT, 0, 0));
}

int listBoxClass::selection() { return static_cast<int>(SendMessageA(window_, LB_GETCURSEL, 0, 0)); }

int listBoxClass::set_selection(int index) {
  if (index < 0) return -1;
  return static_cast<int>(SendMessageA(window_, LB_SETCURSEL, static_cast<WPARAM>(index), 0));
}
