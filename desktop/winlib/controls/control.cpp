#include "desktop/winlib/controls/control.h"

#include <algorithm>
#include <cstring>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/winlib/windows/window_helpers.h"
#include "desktop/winlib/drawing/text_drawing.h"

controlClass::controlClass(HWND parent, HFONT font, double x, double y)
    : positionClass(x, y, 0.0, 0.0), font_(font), parent_(parent) {
  if (!parent) errormessage("*** controlClass::controlClass - NO PARENT SUPPLIED ***");
}

controlClass::~controlClass() {
  delete_list_items(&menu_items_);
  if (popup_menu_) DestroyMenu(popup_menu_);
}

void controlClass::place(double x, double y, const paper& scale) {
  move_to(x, y);
  if (window_) {
    MoveWindow(window_, scale.px_x(box_x), scale.px_y(box_y), scale.px_x(box_width), scale.px_y(box_height), TRUE);
  }
}

void controlClass::rescale(HDC, const paper&) {}

void controlClass::set_text(const char*) {}

void controlClass::set_font(HDC dc, const paper& scale, HFONT new_font) {
  if (new_font) {
    font_ = new_font;
    if (window_) SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }
  measure(dc, scale);
}

bool controlClass::create_popup_menu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) {
    errormessage("*** controlClass::create_popup_menu - UNABLE TO CREATE POPUP MENU ***\n*** %s ***",
                 last_error_text(0));
    return false;
  }
  if (popup_menu_) DestroyMenu(popup_menu_);
  popup_menu_ = menu;
  return true;
}

void controlClass::append_menu(uint32_t id, const char* text) {
  if (!popup_menu_) {
    errormessage("*** controlClass::append_menu - NO MENU EXISTS ***");
    return;
  }
  AppendMenuA(popup_menu_, MF_STRING, id, text ? text : "");
  menu_items_.add(new menuItemRecord(id, text));
}

const char* controlClass::menu_text(uint32_t id) {
  const char* found = nullptr;
  for (menuItemRecord* item = menu_items_.first(); item; item = menu_items_.next()) {
    if (item->id == id) {
      found = item->label.text();
      break;
    }
  }
  menu_items_.scan_end();
  return found;
}

void controlClass::show() {
  if (window_) ShowWindow(window_, SW_SHOW);
}

void controlClass::hide() {
  if (window_) ShowWindow(window_, SW_HIDE);
}

HWND controlClass::create_window(const char* class_name, const char* title, DWORD style, const paper& scale) {
  window_ = create_child_window(parent_, class_name, title, style, scale.px_x(box_x), scale.px_y(box_y),
                                scale.px_x(box_width), scale.px_y(box_height));
  if (window_) SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  return window_;
}

void controlClass::measure_on_parent(const paper& scale) {
  HDC dc = GetDC(parent_);
  set_font(dc, scale, font_);
  if (dc) ReleaseDC(parent_, dc);
}

bool controlClass::text_extent(HDC dc, const char* text, SIZE* size) const {
  *size = SIZE{0, 0};
  if (!dc) return false;
  HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
  *size = utf8_text_extent(dc, text, -1);
  BOOL ok = size->cy > 0 || !text[0];
  if (old) SelectObject(dc, old);
  return ok != 0;
}

void controlClass::x_string(char* out, int count) {
  count = std::max(0, std::min(count, 255));
  std::memset(out, 'X', static_cast<size_t>(count));
  out[count] = '\0';
}

controlListClass::controlListClass() : controls_("nameless") {}

controlListClass::~controlListClass() { delete_list_items(&controls_); }

bool controlListClass::add(controlClass* control) {
  if (controls_.find(control)) {
    controls_.scan_end();
    return false;
  }
  controls_.scan_end();
  return controls_.add(control) != nullptr;
}

void controlListClass::rescale(HDC dc, const paper& scale) {
  for (controlClass* c = controls_.first(); c; c = controls_.next()) c->rescale(dc, scale);
}

int controlListClass::track_popup(int x, int y, const paper& scale, controlClass** hit) {
  controlClass* found = nullptr;
  for (controlClass* c = controls_.first(); c; c = controls_.next()) {
    RECT box{scale.px_x(c->x()), scale.px_y(c->y()), scale.px_x(c->right()), scale.px_y(c->bottom())};
    if (PtInRect(&box, POINT{x, y})) {
      found = c;
      break;
    }
  }
  controls_.scan_end();
  if (!found) return -1;
  if (hit) *hit = found;
  if (!found->popup_menu()) return 0;
  // The menu opens at the point on the screen: the client point turned into
  // screen pixels (the window rectangle would add the frame).
  POINT at{x, y};
  ClientToScreen(found->parent_window(), &at);
  return track_popup_command(found->popup_menu(), at.x, at.y, found->parent_window());
}

HWND create_labelled_edit(HWND parent, HFONT font, const paper& scale, const char* label, int placement, double x,
                          double y, int chars, DWORD style) {
  if (!label) label = "";
  char xs[256];
  chars = std::max(0, std::min(chars, 255));
  std::memset(xs, 'X', static_cast<size_t>(chars));
  xs[chars] = '\0';
  SIZE label_size{0, 0};
  SIZE edit_size{0, 0};
  HDC dc = GetDC(parent);
  if (dc) {
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    label_size = utf8_text_extent(dc, label, -1);
    edit_size = utf8_text_extent(dc, xs, chars);
    if (old) SelectObject(dc, old);
    ReleaseDC(parent, dc);
  }
  int px = scale.px_x(x);
  int py = scale.px_y(y);
  HWND label_window = nullptr;
  if (placement == 0) {
    label_window = create_child_window(parent, "STATIC", label, WS_CHILD | WS_VISIBLE, px - label_size.cx,
                                       py + edit_size.cy / 2 - label_size.cy / 2 + 2, label_size.cx, label_size.cy);
  } else if (placement == 2) {
    int length = static_cast<int>(std::strlen(label));
    int width = length + label_size.cx;
    label_window = create_child_window(parent, "STATIC", label, WS_CHILD | WS_VISIBLE,
                                       px + edit_size.cx / 2 - width / 2, py - label_size.cy, width, label_size.cy);
  } else {
    errormessage("*** INVALID JUSTIFICATION FOR EDIT CONTROL **");
  }
  if (label_window && font) SendMessageA(label_window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  HWND edit = create_child_window(parent, "EDIT", "", style | WS_CHILD | WS_DLGFRAME | ES_AUTOHSCROLL, px, py,
                                  edit_size.cx + 6, edit_size.cy + 6);
  if (edit && font) SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  return edit;
}
