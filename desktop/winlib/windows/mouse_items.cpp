#include "desktop/winlib/windows/mouse_items.h"

lbuttonAwareClass::lbuttonAwareClass() : capturing(0), releasing(0), pointer_x_mm(0.0), pointer_y_mm(0.0) {}

lbuttonAwareClass::~lbuttonAwareClass() { items.clear(); }

void lbuttonAwareClass::add_item(buttonAwareClass* item) { items.add(item, 0); }

bool lbuttonAwareClass::button_down(HDC dc, int x, int y, const paper& scale) {
  if (capturing) return true;
  for (r_list_element<buttonAwareClass>* e = items.scan_init_l(); e; e = items.scan_next_l()) {
    if (e->payload && e->payload->press(dc, x, y, scale)) {
      captured = e->payload;
      capturing = 1;
      items.scan_end();
      return true;
    }
  }
  return false;
}

bool lbuttonAwareClass::mouse_move(HDC dc, int x, int y, const paper& scale) {
  pointer_x_mm = scale.mm_x(x);
  pointer_y_mm = scale.mm_y(y);
  pointer_x_px = x;
  pointer_y_px = y;
  if (!capturing || !captured) return false;
  captured->move(dc, x, y, scale);
  return true;
}

bool lbuttonAwareClass::button_up(HDC dc, const paper& scale) {
  if (!capturing) return false;
  capturing = 0;
  if (!captured) return true;
  releasing = 1;
  captured->release(dc, scale);
  releasing = 0;
  captured->paint(dc, scale);
  return true;
}

void lbuttonAwareClass::paint_items(HDC dc, const paper& scale) {
  for (r_list_element<buttonAwareClass>* e = items.scan_init_l(); e; e = items.scan_next_l()) {
    if (e->payload) e->payload->paint(dc, scale);
  }
}
