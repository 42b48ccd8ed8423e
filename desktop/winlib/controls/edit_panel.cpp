#include "desktop/winlib/controls/edit_panel.h"

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/geometry/paper.h"

void paint_edit_panel(HDC dc, HBRUSH brush, const RECT& frame) {
  HGDIOBJ old = SelectObject(dc, brush);
  Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
  if (old) SelectObject(dc, old);
  SetBkColor(dc, colour_value(1));
  SetTextColor(dc, colour_value(5));
  SetBkMode(dc, OPAQUE);
}

void fit_edit_panel(HWND window, double width_mm, double height_mm) {
  const paper& s = screen_paper;
  RECT r{};
  GetWindowRect(window, &r);
  MoveWindow(window, r.left, r.top, s.px_x(width_mm), s.px_y(height_mm), TRUE);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
}
