// The page records of real devices and windows.
#include "desktop/winlib/geometry/paper.h"

bool paper::set_from_device(HDC dc) {
  double width = GetDeviceCaps(dc, HORZRES);
  double height = GetDeviceCaps(dc, VERTRES);
  double width_size = GetDeviceCaps(dc, HORZSIZE);
  double height_size = GetDeviceCaps(dc, VERTSIZE);
  if (!rescale(width, height, width_size, height_size)) return false;
  set_origin(0, 0);
  return true;
}

bool paper::set_from_window_device(HWND window) {
  HDC dc = GetDC(window);
  if (!dc) return set_from_device(nullptr);
  bool done = set_from_device(dc);
  ReleaseDC(window, dc);
  return done;
}

namespace {

// The client area's size in pixels; 0 x 0 for a window that has none.
void client_size(HWND window, double* width, double* height) {
  RECT r{};
  if (!GetClientRect(window, &r)) r = RECT{};
  *width = r.right - r.left;
  *height = r.bottom - r.top;
}

}  // namespace

paper& paper::set_from_window(HWND window) { return set_from_window(window, screen_paper); }

paper& paper::set_from_window(HWND window, const paper& screen) {
  double width = 0.0;
  double height = 0.0;
  client_size(window, &width, &height);
  set_from_pixels(width, height, screen);
  return *this;
}

paper& paper::printer_for_window(HWND window) { return printer_for_window(window, printer_paper); }

paper& paper::printer_for_window(HWND window, const paper& printer) {
  paper on_screen;
  on_screen.set_from_window(window);
  if (on_screen.x_px_per_mm == 0.0) return *this;
  set_for_printer(on_screen.width_mm, on_screen.height_mm, printer);
  return *this;
}
