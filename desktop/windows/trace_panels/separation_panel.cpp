#include "desktop/windows/trace_panels/separation_panel.h"

#include <algorithm>

#include "desktop/winlib/controls/edit_panel.h"
#include "platform/modal/modal_ui.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/windows/trace_panels/separation_rules.h"

namespace {

constexpr int field_chars = 10;
// Longest field text read.
constexpr int field_text_size = 129;

double field_value(editLabelClass* edit) {
  char text[field_text_size];
  edit->get_text(text, sizeof text);
  return separation_value(text);
}

}  // namespace

separationPanelClass::separationPanelClass(winTypeClass* graph, double x, double y, const char* title,
                                           double* time_target, double* voltage_target)
    : winTypeClass(graph, separation_panel_window_type),
      time_target_(time_target),
      voltage_target_(voltage_target),
      saved_time_(time_target ? *time_target : 0.0),
      saved_voltage_(voltage_target ? *voltage_target : 0.0) {
  const paper& s = screen_paper;
  HWND window = CreateWindowExA(0, "generalNOCLOSE", title ? title : "", WS_SYSMENU | WS_MINIMIZEBOX, s.px_x(x),
                                s.px_y(y), 330, 110, graph ? graph->hwnd() : nullptr, nullptr, program_instance,
                                nullptr);
  if (!window) {
    modal_message_box(nullptr, "trace separation window creation failed", "window", MB_OK);
    return;
  }
  set_hwnd(window);
  apply_button_ = new buttonClass(window, program_font, 8.0, 15.0, 20.0, 7.0, s, "Apply", 0);
  cancel_button_ =
      new buttonClass(window, program_font, apply_button_->right() + 5.0, 15.0, 20.0, 7.0, s, "Cancel", 0);
  time_edit_ = new editLabelClass(window, program_font, 5.0, 7.0, s, "Time (mS)", program_font, label_above,
                                  field_chars, 0, edit_left);
  voltage_edit_ = new editLabelClass(window, program_font, time_edit_->right() + 13.0, 7.0, s, "Voltage (uV)",
                                     program_font, label_above, field_chars, 0, edit_left);
  show_values();
  fit_edit_panel(window, std::max(cancel_button_->right(), voltage_edit_->right()) + 5.0,
                 cancel_button_->bottom() + 12.0);
}

separationPanelClass::~separationPanelClass() {
  delete apply_button_;
  delete cancel_button_;
  delete time_edit_;
  delete voltage_edit_;
}

void separationPanelClass::show_values() {
  if (time_edit_ && time_target_) time_edit_->set_text("%-lg", *time_target_);
  if (voltage_edit_ && voltage_target_) voltage_edit_->set_text("%-lg", *voltage_target_);
}

void separationPanelClass::repaint_graph() {
  if (parent && parent->hwnd()) InvalidateRect(parent->hwnd(), nullptr, TRUE);
}

void separationPanelClass::draw(HDC dc, const paper& scale) {
  paint_edit_panel(dc, brush_table[8],
                   RECT{scale.px_x(2.0), scale.px_y(2.0), scale.px_x(scale.width_mm - 2.0),
                        scale.px_y(scale.height_mm - 2.0)});
  if (time_edit_) time_edit_->rescale(dc, scale);
  if (voltage_edit_) voltage_edit_->rescale(dc, scale);
}

void separationPanelClass::typed(editLabelClass* edit, double* target) {
  char text[field_text_size];
  edit->get_text(text, sizeof text);
  if (!editClass::strip_semicolons(text)) return;  // other typing waits for Apply
  edit->get_edit()->set_text(text);
  if (target) *target = separation_value(text);
  repaint_graph();
}

intptr_t separationPanelClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  if (!time_edit_) return DefWindowProcA(window, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) {
        hide();
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Its class has no Close; a close asked for all the same (Alt+F4)
      // hides the panel as Enter does.
      if ((wparam & 0xFFF0) == SC_CLOSE) {
        hide();
        return 0;
      }
      break;
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lparam);
      UINT code = HIWORD(wparam);
      if (code == EN_CHANGE && from == time_edit_->edit_hwnd()) {
        typed(time_edit_, time_target_);
      } else if (code == EN_CHANGE && from == voltage_edit_->edit_hwnd()) {
        typed(voltage_edit_, voltage_target_);
      } else if (code == BN_CLICKED && from == apply_button_->hwnd()) {
        if (time_target_) *time_target_ = field_value(time_edit_);
        if (voltage_target_) *voltage_target_ = field_value(voltage_edit_);
        repaint_graph();
      } else if (code == BN_CLICKED && from == cancel_button_->hwnd()) {
        if (time_target_) *time_target_ = saved_time_;
        if (voltage_target_) *voltage_target_ = saved_voltage_;
        show_values();
        if (parent && parent->hwnd()) SendMessageA(parent->hwnd(), WM_USER, separation_notice_cancelled, 1);
        repaint_graph();
      }
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}
