#include "desktop/winlib/windows/window_helpers.h"

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/winlib/windows/window_object.h"

HWND create_child_window(HWND parent, const char* class_name, const char* title, DWORD style, int x, int y,
                         int width, int height) {
  HWND window = CreateWindowExA(0, class_name, title, style, x, y, width, height, parent, nullptr, program_instance,
                                nullptr);
  if (!window) {
    errormessage("%s window creation failed", "window");
    return nullptr;
  }
  ShowWindow(window, SW_SHOW);
  return window;
}

bool button_is_checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == 1; }

void check_button(HWND button) { SendMessageA(button, BM_SETCHECK, 1, 0); }

void uncheck_button(HWND button) { SendMessageA(button, BM_SETCHECK, 0, 0); }

bool toggle_button(HWND button) {
  if (button_is_checked(button)) {
    uncheck_button(button);
    return false;
  }
  check_button(button);
  return true;
}

bool window_rect(HWND window, double* a, double* b, double* c, double* d, int whole, int corners) {
  WINDOWINFO info{};
  info.cbSize = sizeof info;
  if (!GetWindowInfo(window, &info)) {
    errormessage("*** window_rect, GetWindowInfo FAILED ***\n%s", last_error_text(0));
    return false;
  }
  const paper& s = screen_paper;
  const RECT& w = info.rcWindow;
  const RECT& k = info.rcClient;
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
  if (whole == 1 && corners != 2) {
    right = s.mm_x(w.right - w.left);
    bottom = s.mm_y(w.bottom - w.top);
  } else if (whole == 1) {
    left = s.mm_x(w.left);
    top = s.mm_y(w.top);
    right = s.mm_x(w.right);
    bottom = s.mm_y(w.bottom);
  } else if (corners != 2) {
    left = s.mm_x(k.left);
    top = s.mm_y(k.top);
    right = s.mm_x(k.right);
    bottom = s.mm_y(k.bottom);
  } else {
    left = s.mm_x(k.left + w.left);
    top = s.mm_y(k.top + w.top);
    right = s.mm_x(k.right + w.left);
    bottom = s.mm_y(k.bottom + w.top);
  }
  if (a) *a = left;
  if (b) *b = top;
  if (c) *c = right;
  if (d) *d = bottom;
  return true;
}

bool relative_window_rect(HWND a, HWND b, double* left, double* top, double* right, double* bottom) {
  double ra[4];
  double rb[4];
  if (!window_rect(a, &ra[0], &ra[1], &ra[2], &ra[3], 1, 2)) return false;
  if (!window_rect(b, &rb[0], &rb[1], &rb[2], &rb[3], 1, 2)) return false;
  if (left) *left = rb[0] - ra[0];
  if (top) *top = rb[1] - ra[1];
  if (right) *right = rb[2] - ra[2];
  if (bottom) *bottom = rb[3] - ra[3];
  return true;
}
