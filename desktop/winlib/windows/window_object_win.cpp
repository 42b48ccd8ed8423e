// What a window object asks of its Win32 window.
#include "desktop/winlib/windows/window_object.h"

bool winTypeClass::set_position(double x, double y, double width, double height, const paper& scale) {
  windowPlacement p = window_placement(x, y, width, height, scale);
  UINT flags = SWP_NOZORDER;
  if (p.keep_position) flags |= SWP_NOMOVE;
  if (p.keep_size) flags |= SWP_NOSIZE;
  return SetWindowPos(hwnd(), nullptr, p.x, p.y, p.width, p.height, flags) != 0;
}

bool winTypeClass::move_to(double x, double y, const paper& scale) { return set_position(x, y, -1.0, -1.0, scale); }

bool winTypeClass::resize(double width, double height, const paper& scale) {
  return set_position(-1.0, -1.0, width, height, scale);
}

bool winTypeClass::post_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return PostMessageA(hwnd(), message, wparam, lparam) != 0;
}

intptr_t winTypeClass::send_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return SendMessageA(hwnd(), message, wparam, lparam);
}

void winTypeClass::show() { ShowWindow(hwnd(), SW_SHOW); }

void winTypeClass::hide() { ShowWindow(hwnd(), SW_HIDE); }

void winTypeClass::restore() { ShowWindow(hwnd(), SW_RESTORE); }

void winTypeClass::invalidate() { InvalidateRect(hwnd(), nullptr, TRUE); }

void winTypeClass::set_title(const char* text) { SetWindowTextA(hwnd(), text ? text : ""); }

void winTypeClass::paint_window() {
  paper scale;
  scale.set_from_window(hwnd());
  paint_window(scale);
}

void winTypeClass::paint_window(const paper& scale) {
  HWND window = hwnd();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  draw(dc, scale);
  EndPaint(window, &ps);
}
