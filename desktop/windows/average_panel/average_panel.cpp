#include "desktop/windows/average_panel/average_panel.h"

#include <algorithm>

#include "desktop/winlib/fonts/program_fonts.h"

averagePanelClass::averagePanelClass(winTypeClass* owner, const char* title, int x, int y)
    : winTypeClass(owner, average_panel_window_type) {
  HWND owner_window = owner ? owner->hwnd() : nullptr;
  HWND window = CreateWindowExA(0, "generalNOCLOSE", title ? title : "", WS_SYSMENU | WS_MINIMIZEBOX, x, y, 330, 200,
                                owner_window, nullptr, program_instance, nullptr);
  if (!window) return;
  set_hwnd(window);
  const paper& s = screen_paper;
  average_trace_ = new checkBoxClass(window, program_font, 2.0, 2.0, s, "Show Average Trace", 1);
  error_bars_ = new checkBoxClass(window, program_font, 2.0, average_trace_->bottom() + 2.0, s, "Show Error Bars", 1);
  bin_boundaries_ =
      new checkBoxClass(window, program_font, 2.0, error_bars_->bottom() + 2.0, s, "Show Bin Boundaries", 1);
  for (checkBoxClass* box : {average_trace_, error_bars_, bin_boundaries_}) box->check();
  bin_count_ = new editLabelClass(window, program_font, 2.0, bin_boundaries_->bottom() + 2.0, s, "Bin Count: ",
                                  program_font, label_left, 6, 0, edit_left);
  bin_count_->get_edit()->set_text("5");
  bin_width_ = new editLabelClass(window, program_font, 2.0, bin_count_->get_bottom() + 2.0, s, "Bin Width [mS]: ",
                                  program_font, label_left, 6, ES_READONLY, edit_left);
  // A label stands left of its field: both fields start after the longer
  // label.
  double field_x = 2.0 + std::max(bin_count_->label()->width(), bin_width_->label()->width());
  bin_count_->place(field_x, bin_count_->get_edit()->y(), s);
  bin_width_->place(field_x, bin_width_->get_edit()->y(), s);
  add(average_trace_);
  add(error_bars_);
  add(bin_boundaries_);
  add(bin_count_);
  add(bin_width_);

  double width = std::max(bin_count_->right(), bin_width_->right()) + 5.0;
  double height = bin_width_->get_bottom() + 8.0;
  SetWindowPos(window, nullptr, 0, 0, s.px_x(width), s.px_y(height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (owner_window) PostMessageA(owner_window, WM_USER, average_panel_notice, average_panel_opened);
  ShowWindow(window, SW_SHOW);
}

void averagePanelClass::draw(HDC dc, const paper& scale) { controlListClass::rescale(dc, scale); }

intptr_t averagePanelClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lparam);
      for (checkBoxClass* box : {average_trace_, error_bars_, bin_boundaries_}) {
        if (box && from && box->hwnd() == from) {
          box->toggle();
          if (winTypeClass::parent && winTypeClass::parent->hwnd())
            PostMessageA(winTypeClass::parent->hwnd(), WM_USER, average_panel_notice, 0);
          return 0;
        }
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}
