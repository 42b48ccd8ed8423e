// Mouse-aware items and the list that hands a window's button and move
// messages to them. Between an accepted press and the next button-up one
// item holds the mouse; while it does, no other item is offered a press.
//
// A window that has items calls, with a device context of its window and its
// scale record: button_down on WM_LBUTTONDOWN (and does its own click
// handling only when that returns false), mouse_move on WM_MOUSEMOVE,
// button_up on WM_LBUTTONUP, and paint_items while painting.
#ifndef DESKTOP_WINLIB_WINDOWS_MOUSE_ITEMS_H
#define DESKTOP_WINLIB_WINDOWS_MOUSE_ITEMS_H

#include <cstdint>

#include "desktop/winlib/containers/list_payload.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/platform_types.h"
#include "desktop/winlib/containers/r_list.h"

class buttonAwareClass : public listPayload {
 public:
  // True when the item takes the mouse for a press at this pixel.
  virtual bool press(HDC dc, int x, int y, const paper& scale) = 0;
  virtual void move(HDC dc, int x, int y, const paper& scale) = 0;
  virtual void release(HDC dc, const paper& scale) = 0;
  virtual void paint(HDC dc, const paper& scale) = 0;
};

class lbuttonAwareClass {
 public:
  lbuttonAwareClass();
  // Empties the list; the items belong to their windows and are not deleted.
  virtual ~lbuttonAwareClass();
  lbuttonAwareClass(const lbuttonAwareClass&) = delete;
  lbuttonAwareClass& operator=(const lbuttonAwareClass&) = delete;

  // Appends the item (no test for duplicates).
  void add_item(buttonAwareClass* item);
  // While an item holds the mouse: true at once. Else offers the press to
  // each item in list order; the first that accepts holds the mouse (true).
  bool button_down(HDC dc, int x, int y, const paper& scale);
  // Records the pointer in millimetres and pixels; with an item holding the
  // mouse, passes the move on and returns true.
  bool mouse_move(HDC dc, int x, int y, const paper& scale);
  // Ends the capture: the item is released and then painted (true); false
  // when no item held the mouse. captured keeps pointing at the item.
  bool button_up(HDC dc, const paper& scale);
  void paint_items(HDC dc, const paper& scale);

  r_list<buttonAwareClass> items{"nameless"};
  buttonAwareClass* captured = nullptr;
  uint8_t capturing;
  uint8_t releasing;
  double pointer_x_mm;
  double pointer_y_mm;
  int32_t pointer_x_px = 0;
  int32_t pointer_y_px = 0;
};

#endif
