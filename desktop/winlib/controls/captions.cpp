#include "desktop/winlib/controls/captions.h"

#include <cstdlib>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/windows/window_helpers.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/windows/window_object.h"

boxClass::boxClass(HWND parent, double x, double y, double width, double height, const paper& scale,
                   const char* text)
    : controlClass(parent, nullptr, x, y) {
  paper label_scale = scale;
  double height_mm = screen_paper.y_px_per_mm > 0.0 ? std::abs(program_logfont.lfHeight) / screen_paper.y_px_per_mm : 4.0;
  label_.init_sized(parent, text ? text : "", 1, x + 0.5, y, label_scale, height_mm, program_logfont.lfWeight,
                    program_logfont.lfFaceName);
  label_.set_size_code(justify_left_middle);
  box_width = width;
  box_height = height;
  set_fill(9);
}

boxClass::~boxClass() {
  if (fill_.owned && fill_.brush) DeleteObject(fill_.brush);
}

void boxClass::measure(HDC, const paper&) {}

void boxClass::set_fill(int colour_index) {
  if (fill_.owned && fill_.brush) DeleteObject(fill_.brush);
  fill_.owned = 0;
  fill_.kind = 0;
  fill_.colour_index = colour_index;
  fill_.brush = table_brush(colour_index);
  label_.set_background_brush(fill_.brush);
}

void boxClass::rescale(HDC dc, const paper& scale) {
  if (!dc) return;
  HGDIOBJ old_pen = SelectObject(dc, table_pen(static_cast<int>(pen_index_)));
  label_.set_opaque();
  HBRUSH brush = printing_flag ? brush_table[9] : fill_.brush;
  HGDIOBJ old_brush = brush ? SelectObject(dc, brush) : nullptr;
  Rectangle(dc, scale.px_x(box_x), scale.px_y(box_y), scale.px_x(box_x + box_width), scale.px_y(box_y + box_height));
  label_.measure(dc, scale);
  label_.move_to(box_x + 0.5, box_y);
  label_.paint(dc, scale);
  if (old_brush) SelectObject(dc, old_brush);
  if (old_pen) SelectObject(dc, old_pen);
}

groupTextClass::groupTextClass(HWND parent, HFONT font, double x, double y, int caption_lines, const paper& scale,
                               const char* title)
    : controlClass(parent, font, x, y) {
  paper caption_scale = scale;
  caption_.init(parent, font, "000", caption_lines > 0 ? caption_lines : 1, x, y, caption_scale);
  caption_.set_format_text("111", 1);
  measure_on_parent(scale);
  window_ = create_child_window(parent_, "BUTTON", title ? title : "", WS_CHILD | BS_GROUPBOX, scale.px_x(x),
                                scale.px_y(y), scale.px_x(50.0), scale.px_y(50.0));
  if (window_) SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void groupTextClass::move_window(const paper& scale) {
  if (window_) {
    MoveWindow(window_, scale.px_x(box_x), scale.px_y(box_y), scale.px_x(box_width), scale.px_y(box_height), TRUE);
  }
}

void groupTextClass::measure(HDC dc, const paper& scale) {
  caption_.measure(dc, scale);
  box_width = caption_.width() + 0.5;
  box_height = caption_.height() + 2.0 + 5.0;
  caption_.move_to(box_x + 1.0, box_y + 5.0);
  move_window(scale);
}

void groupTextClass::place(double x, double y, const paper& scale) {
  move_to(x, y);
  caption_.move_to(box_x + 1.0, box_y + 5.0);
  move_window(scale);
}

void groupTextClass::rescale(HDC dc, const paper& scale) {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  caption_.measure(dc, scale);
  caption_.paint(dc, scale);
}

void groupTextClass::set_line(int index, const char* text) { caption_.set_format_text(text, index); }

staticClass::staticClass(HWND parent, HFONT font, double x, double y, const paper& scale, const char* text)
    : controlClass(parent, font, x, y) {
  paper caption_scale = scale;
  caption_.init(parent, font, text ? text : "", 1, x, y, caption_scale);
  measure_on_parent(scale);
  const char* shown = caption_.line_text(0);
  SIZE size{0, 0};
  HDC dc = GetDC(parent_);
  text_extent(dc, shown, &size);
  if (dc) ReleaseDC(parent_, dc);
  window_ = create_child_window(parent_, "STATIC", shown, WS_CHILD | WS_VISIBLE, scale.px_x(x), scale.px_y(y),
                                size.cx, size.cy);
  if (window_) SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void staticClass::measure(HDC dc, const paper& scale) {
  const char* shown = caption_.line_text(0);
  SIZE size;
  if (!text_extent(dc, shown, &size)) {
    errormessage("staticClass: GetTextExtentPoint failed\n#%8.8lx [%s] %d",
                 static_cast<unsigned long>(reinterpret_cast<uintptr_t>(dc)), shown,
                 static_cast<int>(std::char_traits<char>::length(shown)));
  }
  box_width = scale.mm_x(size.cx);
  box_height = scale.mm_y(size.cy);
}

void staticClass::rescale(HDC dc, const paper& scale) { caption_.paint(dc, scale); }

void staticClass::set_text(const char* text) {
  caption_.set_format_text(text ? text : "", 0);
  if (window_) SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption_.line_text(0)));
}

trackbarClass::trackbarClass(HWND parent, double x, double y, double width, double height, const paper& scale,
                             uint32_t caption_placement)
    : controlClass(parent, nullptr, x, y), caption_placement_(caption_placement) {
  box_width = width;
  box_height = height;
  window_ = CreateWindowExA(WS_EX_WINDOWEDGE, "msctls_trackbar32", "trackbar", WS_CHILD | WS_VISIBLE | WS_BORDER,
                            scale.px_x(x), scale.px_y(y), scale.px_x(width), scale.px_y(height), parent, nullptr,
                            program_instance, nullptr);
  paper caption_scale = scale;
  caption_.init(parent, program_font, "hi", 1, x + width + 2.0, y, caption_scale);
}

void trackbarClass::measure(HDC, const paper&) {}

void trackbarClass::rescale(HDC dc, const paper& scale) {
  caption_.measure(dc, scale);
  if (caption_placement_ == caption_right) {
    caption_.move_to(box_x + box_width + 2.0, box_y);
  } else if (caption_placement_ == caption_below) {
    caption_.move_to(box_x + box_width / 2.0 - caption_.width() / 2.0, box_y + box_height + 1.0);
  } else {
    errormessage("*** trackbarClass: invalid justification ***");
  }
  caption_.paint(dc, scale);
}
