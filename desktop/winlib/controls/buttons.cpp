#include "desktop/winlib/controls/buttons.h"

#include <algorithm>
#include <cstring>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/windows/window_helpers.h"

buttonClass::buttonClass(HWND parent, HFONT font, double x, double y, double width, double height,
                         const paper& scale, const char* text, DWORD style)
    : controlClass(parent, font, x, y) {
  box_width = width;
  box_height = height;
  std::strncpy(text_, text ? text : "", sizeof text_ - 1);
  measure_on_parent(scale);
  create_window("BUTTON", text_, WS_CHILD | WS_VISIBLE | style, scale);
}

void buttonClass::measure(HDC dc, const paper& scale) {
  SIZE size;
  if (!text_extent(dc, text_, &size)) errormessage("buttonClass: GetTextExtentPoint failed");
  box_width = std::max(box_width, scale.mm_x(size.cx) + 1.0);
  box_height = std::max(box_height, scale.mm_y(size.cy) + 1.0);
}

void buttonClass::set_text(const char* text) {
  if (window_) SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

checkBoxClass::checkBoxClass(HWND parent, HFONT font, double x, double y, const paper& scale, const char* text,
                             int box_left)
    : controlClass(parent, font, x, y) {
  if (!text) text = "";
  SIZE size{0, 0};
  HDC dc = GetDC(parent_);
  text_extent(dc, text, &size);
  if (dc) ReleaseDC(parent_, dc);
  DWORD style = WS_CHILD | WS_VISIBLE | BS_CHECKBOX | (box_left == 0 ? BS_LEFTTEXT : 0);
  window_ = create_child_window(parent_, "BUTTON", text, style, scale.px_x(x), scale.px_y(y),
                                size.cx + scale.px_x(10.0), size.cy);
  if (window_) SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  measure(nullptr, scale);
}

void checkBoxClass::measure(HDC, const paper& scale) {
  RECT r;
  if (!window_ || !GetWindowRect(window_, &r)) return;
  box_width = scale.mm_x(r.right - r.left + 1);
  box_height = scale.mm_y(r.bottom - r.top + 1);
}

void checkBoxClass::check() { check_button(window_); }

void checkBoxClass::uncheck() { uncheck_button(window_); }

int checkBoxClass::toggle() {
  if (SendMessageA(window_, BM_GETCHECK, 0, 0) != BST_CHECKED) {
    check();
    return 1;
  }
  uncheck();
  return 0;
}

bool checkBoxClass::is_checked() { return button_is_checked(window_); }

groupBoxClass::groupBoxClass(HWND parent, double x, double y, double width, double height, const paper& scale,
                             const char* title)
    : controlClass(parent, nullptr, x, y) {
  box_width = width;
  box_height = height;
  create_window("BUTTON", title ? title : "", WS_CHILD | BS_GROUPBOX, scale);
}

void groupBoxClass::measure(HDC, const paper&) {}
