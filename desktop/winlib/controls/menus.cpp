#include "desktop/winlib/controls/menus.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <string>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/controls/popup_menu_ui.h"

namespace {

bool read_state(HMENU menu, UINT id, UINT* state) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  if (!GetMenuItemInfoA(menu, id, FALSE, &info)) return false;
  *state = info.fState;
  return true;
}

bool write_state(HMENU menu, UINT id, UINT state) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  info.fState = state;
  return SetMenuItemInfoA(menu, id, FALSE, &info) != 0;
}

}  // namespace

int toggle_menu_check(HMENU menu, UINT id, int flip) {
  UINT state = 0;
  if (!read_state(menu, id, &state)) return 0;
  if (flip == 1) {
    state ^= MFS_CHECKED;
    write_state(menu, id, state);
  }
  return (state & MFS_CHECKED) ? 1 : 0;
}

int set_menu_check(HMENU menu, UINT id, int flag) {
  UINT state = 0;
  if (read_state(menu, id, &state)) {
    state = flag == 1 ? (state | MFS_CHECKED) : (state & ~static_cast<UINT>(MFS_CHECKED));
    write_state(menu, id, state);
  }
  return flag;
}

int flip_menu_check(HMENU menu, UINT id) {
  UINT state = 0;
  if (!read_state(menu, id, &state)) return 0;
  int now = (state & MFS_CHECKED) ? 0 : 1;
  set_menu_check(menu, id, now);
  return now;
}

HMENU submenu_at(HMENU menu, int position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_SUBMENU;
  if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return nullptr;
  return info.hSubMenu;
}

bool set_menu_text(HMENU menu, UINT id, const char* text) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STRING;
  info.fType = MFT_STRING;
  info.dwTypeData = const_cast<char*>(text ? text : "");
  return SetMenuItemInfoA(menu, id, FALSE, &info) != 0;
}

bool append_menu_item(HMENU menu, UINT id, const char* text) {
  return AppendMenuA(menu, MF_STRING, id, text ? text : "") != 0;
}

HMENU attach_popup_menu(HMENU menu, UINT id) {
  HMENU popup = CreatePopupMenu();
  if (!popup) return nullptr;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_SUBMENU;
  info.hSubMenu = popup;
  if (!SetMenuItemInfoA(menu, id, FALSE, &info)) {
    DestroyMenu(popup);
    return nullptr;
  }
  return popup;
}

void append_menu_entries(HMENU menu, const menuEntry* entries, size_t count) {
  for (size_t i = 0; i < count; i++) {
    if (entries[i].id)
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(entries[i].id), entries[i].text);
    else
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  }
}

HMENU add_bar_menu(HMENU bar, int id, const char* text, const menuEntry* entries, size_t count) {
  AppendMenuA(bar, MF_STRING, static_cast<UINT_PTR>(id), text);
  HMENU menu = attach_popup_menu(bar, static_cast<UINT>(id));
  if (menu) append_menu_entries(menu, entries, count);
  return menu;
}

void insert_menu_item_at_top(HMENU menu, int id, const char* text) {
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
  item.fType = MFT_STRING;
  item.fState = MFS_ENABLED;
  item.wID = static_cast<UINT>(id);
  item.dwTypeData = const_cast<char*>(text);
  item.cch = static_cast<UINT>(std::strlen(text));
  InsertMenuItemA(menu, 0, TRUE, &item);
}

groupMenuClass::groupMenuClass(HWND parent, HFONT font, double x, double y, int min_chars, const paper& scale,
                               const char* title, const char* prefix, int unused, ...)
    : groupTextClass(parent, font, x, y, 1, scale, title) {
  min_chars_ = static_cast<uint16_t>(std::max(0, std::min(min_chars, 0xFFFF)));
  menu_ = CreatePopupMenu();
  int count = 0;
  va_list entries;
  va_start(entries, unused);
  for (const char* entry = va_arg(entries, const char*); entry; entry = va_arg(entries, const char*)) {
    if (menu_) AppendMenuA(menu_, MF_STRING, group_menu_first_id + static_cast<UINT>(count), entry);
    ++count;
  }
  va_end(entries);
  prefix_.set(prefix);
  char sizing[31];
  int sizing_chars = std::min(static_cast<int>(min_chars_), 30);
  std::memset(sizing, 'X', static_cast<size_t>(sizing_chars));
  sizing[sizing_chars] = '\0';
  set_text(sizing);
  HDC dc = GetDC(parent_);
  measure(dc, screen_paper);
  if (dc) ReleaseDC(parent_, dc);
  entry_count_ = static_cast<uint16_t>(std::min(count, 0xFFFF));
  values_ = new double[entry_count_ > 0 ? entry_count_ : 1]();
}

groupMenuClass::~groupMenuClass() {
  delete[] values_;
  if (menu_) DestroyMenu(menu_);
}

void groupMenuClass::set_text(const char* text) {
  std::string line = prefix_.text();
  line += text ? text : "";
  if (line.size() < min_chars_) line.append(min_chars_ - line.size(), ' ');
  caption_.set_format_text(line.c_str(), 0);
}

int groupMenuClass::entry_text(int i, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!menu_ || i < 0) return 0;
  return GetMenuStringA(menu_, group_menu_first_id + static_cast<UINT>(i), buffer, size, MF_BYCOMMAND);
}

void groupMenuClass::select_entry(int i) {
  char text[129];
  entry_text(i, text, 128);
  set_text(text);
}

void groupMenuClass::add_menu_values(int count, ...) {
  if (count > entry_count_) {
    errormessage("*** 'add_menu_values(count ...)', count greater than the number of menu entries ***");
    count = entry_count_;
  }
  va_list values;
  va_start(values, count);
  for (int i = 0; i < count; ++i) values_[i] = va_arg(values, double);
  va_end(values);
}

double groupMenuClass::value(int i) const { return (i >= 0 && i < entry_count_) ? values_[i] : 0.0; }

int groupMenuClass::pop_up(double x, double y, const paper& scale) {
  if (!contains(x, y)) return -1;
  // The client point of the holder turned into screen pixels.
  POINT at{scale.px_x(x), scale.px_y(y)};
  ClientToScreen(parent_, &at);
  int command = track_popup_command(menu_, at.x, at.y, parent_);
  char text[33];
  text[0] = '\0';
  if (command <= 0 || GetMenuStringA(menu_, static_cast<UINT>(command), text, 32, MF_BYCOMMAND) < 1) return -2;
  set_text(text);
  return command - static_cast<int>(group_menu_first_id);
}
