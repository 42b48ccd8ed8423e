#include "desktop/winlib/controls/edit_number.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "desktop/winlib/controls/edit_panel.h"
#include "platform/modal/modal_ui.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/windows/window_helpers.h"

editNumberClass::editNumberClass(winTypeClass* parent, const char* title, double x, double y, double initial_value,
                                 double* target, uint32_t notify_code)
    : winTypeClass(parent, edit_number_window_type),
      initial_value_(initial_value),
      target_(target),
      notify_code_(notify_code) {
  if (!parent) {
    errormessage("### editNumberClass::editNumberClass - PARENT WINDOW IS NULL! ###");
    return;
  }
  HWND window = CreateWindowExA(0, "general", title ? title : "", WS_SYSMENU, screen_paper.px_x(x),
                                screen_paper.px_y(y), 330, 110, parent->hwnd(), nullptr, program_instance, nullptr);
  if (!window) {
    modal_message_box(nullptr, "text edit window creation failed", "window", MB_OK);
    return;
  }
  set_hwnd(window);
  const paper& s = screen_paper;
  entry_ = new editLabelClass(window, program_font, 2.0, 7.0, s, "Freq [Hz]", program_font, label_above, 30, 0,
                              edit_centred);
  show_initial();
  double button_x = entry_->get_edit()->x() + 5.0;
  update_button_ = new buttonClass(window, program_font, button_x, 15.0, 20.0, 7.0, s, "Update", 0);
  revert_button_ = new buttonClass(window, program_font, update_button_->right() + 5.0, 15.0, 20.0, 7.0, s,
                                   "Revert", 0);
  close_button_ = new buttonClass(window, program_font, revert_button_->right() + 5.0, 15.0, 20.0, 7.0, s,
                                  "Close", 0);
  fit_edit_panel(window, std::max(close_button_->right(), entry_->right()) + 5.0, revert_button_->bottom() + 12.0);
}

editNumberClass::~editNumberClass() {
  delete entry_;
  delete update_button_;
  delete close_button_;
  delete revert_button_;
}

void editNumberClass::draw(HDC dc, const paper& scale) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  paint_edit_panel(dc, brush_table[7], RECT{scale.px_x(1.0), scale.px_y(1.0), client.right - scale.px_x(2.0),
                                            client.bottom - scale.px_y(2.0)});
  if (entry_) entry_->rescale(dc, scale);
}

void editNumberClass::show_initial() {
  if (entry_) entry_->set_text("%lg", initial_value_);
}

void editNumberClass::notify_parent() {
  if (parent && parent->hwnd()) SendMessageA(parent->hwnd(), WM_USER, 0, static_cast<LPARAM>(notify_code_));
}

void editNumberClass::close() {
  // Posted: the routing procedure deletes this object when it arrives, after
  // the current message is done with it.
  if (!closing_) PostMessageA(hwnd(), WM_CLOSE, 0, 0);
  closing_ = 1;
}

bool editNumberClass::accept(const char* text) {
  double value = 0.0;
  int used = 0;
  bool one_number = std::sscanf(text, " %lg %n", &value, &used) == 1 && text[used] == '\0' && std::isfinite(value);
  if (!one_number) {
    errormessage("*** Value entered is not a single numeric value ***");
    if (target_) *target_ = initial_value_;
    show_initial();
    return false;
  }
  if (target_) *target_ = value;
  notify_parent();
  return true;
}

intptr_t editNumberClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client{};
    GetClientRect(window, &client);
    paper scale;
    scale.set_from_pixels(client.right, client.bottom, screen_paper);
    draw(dc, scale);
    EndPaint(window, &ps);
    return 0;
  }
  if (message == WM_COMMAND && entry_) {
    UINT code = HIWORD(wparam);
    HWND from = reinterpret_cast<HWND>(lparam);
    char text[65];
    if (code == EN_MAXTEXT && from == entry_->edit_hwnd()) {
      entry_->get_text(text, sizeof text);
      if (accept(text)) close();
      return 0;
    }
    if (code == EN_CHANGE && from == entry_->edit_hwnd()) {
      entry_->get_text(text, sizeof text);
      if (!editClass::strip_semicolons(text)) return 0;
      if (accept(text)) close();
      return 0;
    }
    if (code == BN_CLICKED) {
      if (from && close_button_ && from == close_button_->hwnd()) {
        close();
        return 0;
      }
      if (from && update_button_ && from == update_button_->hwnd()) {
        entry_->get_text(text, sizeof text);
        accept(text);
      } else if (from && revert_button_ && from == revert_button_->hwnd()) {
        if (target_) *target_ = initial_value_;
        show_initial();
        notify_parent();
      }
      if (parent && parent->hwnd()) InvalidateRect(parent->hwnd(), nullptr, TRUE);
      return 0;
    }
  }
  return DefWindowProcA(window, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}
