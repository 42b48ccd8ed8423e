#include "desktop/winlib/controls/edit_fields.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/windows/window_helpers.h"

namespace {

DWORD justification_style(uint32_t justification) {
  if (justification == edit_left) return ES_LEFT;
  if (justification == edit_centred) return ES_CENTER;
  return ES_RIGHT;
}

}  // namespace

editClass::editClass(HWND parent, HFONT font, double x, double y, const paper& scale, uint32_t justification,
                     int chars, DWORD style)
    : controlClass(parent, font, x, y),
      chars_(static_cast<uint32_t>(std::max(chars, 0))),
      justification_(justification),
      lines_(1),
      multi_line_(0) {
  create(style | WS_CHILD | WS_DLGFRAME | justification_style(justification), scale);
}

editClass::editClass(HWND parent, HFONT font, double x, double y, const paper& scale, uint32_t justification,
                     int chars, int lines, DWORD style)
    : controlClass(parent, font, x, y),
      chars_(static_cast<uint32_t>(std::max(chars, 0))),
      justification_(justification),
      lines_(static_cast<uint32_t>(std::max(lines, 1))),
      multi_line_(1) {
  create(style | WS_CHILD | WS_DLGFRAME | ES_MULTILINE | justification_style(justification), scale);
}

void editClass::create(DWORD style, const paper& scale) {
  measure_on_parent(scale);
  create_window("EDIT", "", style, scale);
}

void editClass::measure(HDC dc, const paper& scale) {
  char xs[256];
  x_string(xs, static_cast<int>(chars_));
  SIZE size;
  if (!text_extent(dc, xs, &size)) errormessage("editClass: GetTextExtentPoint failed");
  box_width = scale.mm_x(size.cx);
  box_height = lines_ * scale.mm_y(size.cy) + 2.0;
}

void editClass::rescale(HDC, const paper& scale) {
  if (window_) {
    MoveWindow(window_, scale.px_x(box_x), scale.px_y(box_y), scale.px_x(box_width), scale.px_y(box_height), TRUE);
  }
}

void editClass::set_text(const char* text) {
  if (!text) text = "???";
  if (!multi_line_) {
    SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return;
  }
  std::string lines;
  for (const char* p = text; *p; ++p) {
    if (*p == '\r') {
      lines += "\r\n";
      if (p[1] == '\n') ++p;
    } else if (*p == '\n') {
      lines += "\r\n";
    } else {
      lines += *p;
    }
  }
  SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lines.c_str()));
}

const char* editClass::get_text() {
  int length = text_length();
  std::vector<char> whole(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  if (window_) SendMessageA(window_, WM_GETTEXT, whole.size(), reinterpret_cast<LPARAM>(whole.data()));
  whole.back() = '\0';
  text_.set(whole.data());
  return text_.text();
}

void editClass::read_text(char* buffer, int size) {
  if (!buffer || size <= 0) return;
  buffer[0] = '\0';
  if (window_) SendMessageA(window_, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer));
  buffer[size - 1] = '\0';
}

int editClass::text_length() {
  return window_ ? static_cast<int>(SendMessageA(window_, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

int editClass::get_int() {
  char text[65];
  read_text(text, sizeof text);
  errno = 0;
  long long value = std::strtoll(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void editClass::set_int(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  set_text(text);
}

double editClass::get_double() {
  char text[65];
  read_text(text, sizeof text);
  double value = 0.0;
  if (std::sscanf(text, "%lg", &value) != 1) return 0.0;
  return value;
}

void editClass::set_double(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%lg", value);
  set_text(text);
}

bool editClass::strip_semicolons(char* text) {
  if (!text) return false;
  char* out = text;
  bool removed = false;
  for (const char* p = text; *p; ++p) {
    if (*p == ';') {
      removed = true;
    } else {
      *out++ = *p;
    }
  }
  *out = '\0';
  return removed;
}

bool editClass::check_notification(UINT code, HWND window, bool* semicolon) {
  if (semicolon) *semicolon = false;
  if (!window || window != window_) return false;
  if (code == EN_CHANGE) {
    char text[129];
    read_text(text, sizeof text);
    bool found = strip_semicolons(text);
    if (semicolon) *semicolon = found;
  }
  return true;
}

LRESULT editClass::send(UINT message, WPARAM wparam, LPARAM lparam) {
  return SendMessageA(window_, message, wparam, lparam);
}

editLabelClass::editLabelClass(HWND parent, HFONT font, double x, double y, const paper& scale, const char* label,
                               HFONT label_font, uint32_t placement, int chars, DWORD style, uint32_t justification)
    : controlClass(parent, font, x, y), placement_(placement) {
  build(parent, font, x, y, scale, label, label_font, chars, 1, style, justification);
}

editLabelClass::editLabelClass(HWND parent, HFONT font, double x, double y, const paper& scale, const char* label,
                               HFONT label_font, uint32_t placement, int chars, int lines, DWORD style,
                               uint32_t justification)
    : controlClass(parent, font, x, y), placement_(placement) {
  build(parent, font, x, y, scale, label, label_font, chars, lines, style, justification);
}

void editLabelClass::build(HWND parent, HFONT font, double x, double y, const paper& scale, const char* label,
                           HFONT label_font, int chars, int lines, DWORD style, uint32_t justification) {
  label_ = new textObjectClass();
  paper label_scale = scale;
  label_->init(parent, label_font, label ? label : "", 1, x, y, label_scale);
  if (lines >= 2) {
    edit_ = new editClass(parent, font, x, y, scale, justification, chars, lines, style);
  } else {
    edit_ = new editClass(parent, font, x, y, scale, justification, chars, style);
  }
  measure_on_parent(scale);
}

editLabelClass::~editLabelClass() {
  delete label_;
  delete edit_;
}

void editLabelClass::measure(HDC dc, const paper& scale) {
  label_->measure(dc, scale);
  edit_->set_font(dc, scale, font_);
  if (placement_ == label_left) {
    label_->move_to(edit_->x() - label_->width(), edit_->y());
    box_width = edit_->width() + label_->width();
    box_height = std::max(label_->height(), edit_->height());
  } else if (placement_ == label_above) {
    label_->move_to(edit_->x() + edit_->width() / 2.0 - label_->width() / 2.0, edit_->y() - label_->height());
    box_width = std::max(label_->width(), edit_->width());
    box_height = edit_->height() + label_->height();
  } else {
    errormessage("*** INVALID LABEL JUSTIFICATION FOR EDIT CONTROL **");
    return;
  }
  set_x(std::min(label_->x(), edit_->x()));
  set_y(std::min(label_->y(), edit_->y()));
}

void editLabelClass::place(double x, double y, const paper& scale) {
  double dx = x - edit_->reference_x();
  double dy = y - edit_->reference_y();
  label_->move_to(label_->reference_x() + dx, label_->reference_y() + dy);
  edit_->place(edit_->x() + dx, edit_->y() + dy, scale);
  move_to(x, y);
}

void editLabelClass::rescale(HDC dc, const paper& scale) { label_->paint(dc, scale); }

void editLabelClass::set_text(const char* text) { edit_->set_text(text); }

void editLabelClass::set_text(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(text, sizeof text, format ? format : "", args);
  va_end(args);
  if (length >= static_cast<int>(sizeof text)) errormessage("*** editLabelClass::set_text, BUFFER OVERRUN ***");
  if (length < 0) text[0] = '\0';
  edit_->set_text(text);
}
