// What a measurement graph does with its messages: painting, the status
// bar, the cross-hair, the markers, circle selection and arrow-key
// adjustment, and the menu commands.
#include <windows.h>

#include <commctrl.h>

#include <cmath>

#include "desktop/windows/block_text/block_text_dialog.h"
#include "desktop/winlib/containers/byte_object.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/winlib/files/path_names.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/drawing/r_bitmap.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/winlib/controls/status_bar.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/data/wave_measurement.h"
#include "desktop/winlib/windows/window_helpers.h"

namespace {

constexpr double circle_square_mm = 3.0;

// A device context of a window, released when it goes.
class windowDc {
 public:
  explicit windowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~windowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  windowDc(const windowDc&) = delete;
  windowDc& operator=(const windowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace

intptr_t measGraphClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  if (!thumbnail_alive()) {
    // The test closed under this window (its thumbnail came through the
    // trace clipboard): nothing of it may be read any more.
    if (message == WM_PAINT) ValidateRect(window, nullptr);
    if (thumbnail_) {
      thumbnail_ = nullptr;
      model_ = nullptr;
      PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return DefWindowProcA(window, message, wparam, lparam);
  }
  switch (message) {
    case WM_PAINT:
      paint_window(client_scale());
      return 0;
    case WM_SIZE: {
      resize_status_bar(status_, wparam, lparam);
      repaint_again_ = 1;
      return 0;
    }
    case WM_COMMAND: {
      // Close only for its own id with nothing in the high word.
      int id = LOWORD(wparam);
      if (id != mg_close || wparam == static_cast<uintptr_t>(mg_close)) command(id);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP: {
      uint8_t held = message == WM_KEYDOWN ? 1 : 0;
      if (wparam == VK_SHIFT) meas_graph_shift_held = held;
      if (wparam == VK_CONTROL) meas_graph_control_held = held;
      if (message == WM_KEYDOWN) {
        if (wparam == VK_LEFT) arrow_key(arrowKey::left);
        if (wparam == VK_RIGHT) arrow_key(arrowKey::right);
        if (wparam == VK_UP) arrow_key(arrowKey::up);
        if (wparam == VK_DOWN) arrow_key(arrowKey::down);
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      windowDc dc(window);
      mouse_move(dc.get(), x_of(lparam), y_of(lparam), client_scale());
      if (graph_.in_plot_area(x_of(lparam), y_of(lparam))) show_cursor_position(x_of(lparam), y_of(lparam));
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (view_checked(mg_view_parameters)) left_button_down(x_of(lparam), y_of(lparam));
      return 0;
    case WM_LBUTTONUP:
      if (view_checked(mg_view_parameters)) {
        windowDc dc(window);
        button_up(dc.get(), client_scale());
      }
      return 0;
    case WM_RBUTTONDOWN:
      right_button_down(x_of(lparam), y_of(lparam));
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

void measGraphClass::show_cursor_position(int x, int y) {
  traceClass* first = graph_.trace_count() > 0 ? graph_.trace(0) : nullptr;
  if (!first) return;
  graph_.pixel_to_data(x, y, &cursor_x_, &cursor_y_);
  set_status_text(status_, 0, cursor_status_text(cursor_x_, first->x_units(), cursor_y_, first->y_units()));
  if (graph_.xhair.shown)
    set_status_text(status_, 1, xhair_status_text(cursor_x_ - graph_.xhair.x(), cursor_y_ - graph_.xhair.y()));
}

void measGraphClass::left_button_down(int x, int y) {
  HWND window = hwnd();
  windowDc dc(window);
  paper scale = client_scale();
  if (button_down(dc.get(), x, y, scale)) return;
  RECT plot{graph_.plot_left(), graph_.plot_top(), graph_.plot_right(), graph_.plot_bottom()};
  POINT at{x, y};
  if (PtInRect(&plot, at)) {
    std::array<dataPoint, adjust_circle_count> centres = circle_centres();
    std::array<pixelPoint, adjust_circle_count> pixels{};
    for (int i = 0; i < adjust_circle_count; i++)
      pixels[i] = {graph_.x_map().to_pixel(centres[i].x), graph_.y_map().to_pixel(centres[i].y)};
    selected_ = hit_circle(x, y, pixels, scale.px_x(circle_square_mm), scale.px_y(circle_square_mm));
    if (selected_ == adjustCircle::none) {
      graphPainter(graph_).set_xhair_at_pixel(dc.get(), scale, x, y, R2_XORPEN);
      graph_.xhair.show();
      set_menu_check(menu_, mg_view_xhair, 1);
      show_cursor_position(x, y);
    }
  }
  InvalidateRect(window, nullptr, TRUE);
}

void measGraphClass::right_button_down(int x, int y) {
  HWND window = hwnd();
  RECT frame{};
  GetWindowRect(window, &frame);
  int chosen = track_popup_command(popup_, x + frame.left, y + frame.top, window);
  if (chosen == 0) return;
  if (chosen == mg_copy_average_popup) {
    command(mg_copy_average);
    return;
  }
  windowDc dc(window);
  paper scale = client_scale();
  // The cross-hair is drawn exclusive-or: drawn once more it is erased.
  if (graph_.xhair.shown) graphPainter(graph_).draw_xhair(dc.get(), scale, graph_.xhair.x(), graph_.xhair.y(), R2_XORPEN);
  if (chosen == mg_marker1) set_marker(0);
  if (chosen == mg_marker2) set_marker(1);
  if (graph_.xhair.shown) graphPainter(graph_).draw_xhair(dc.get(), scale, graph_.xhair.x(), graph_.xhair.y(), R2_XORPEN);
}

void measGraphClass::set_marker(int index) {
  textObjectClass& own = index == 0 ? marker1_text_ : marker2_text_;
  textObjectClass& other = index == 0 ? marker2_text_ : marker1_text_;
  own.show();
  if (other.is_shown()) deltas_text_.show();
  graph_.set_marker(index, cursor_x_, cursor_y_);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool measGraphClass::step_time(bool awave, int direction, double step) {
  doubleObject& time = awave ? model_->awave_time : model_->bwave_time;
  doubleObject& point = awave ? model_->awave_point : model_->bwave_point;
  double t = time.value() + direction * step;
  double amplitude = 0.0;
  if (!main_trace_ || !amplitude_at(*main_trace_, t, &amplitude)) return false;
  time.set_value(t);
  point.set_value(amplitude);
  return true;
}

void measGraphClass::arrow_key(arrowKey key) {
  keyAction action = arrow_key_action(key, selected_, meas_graph_shift_held != 0, meas_graph_control_held != 0,
                                      graph_.xhair.shown != 0);
  if (action.target == keyTarget::nothing) return;
  HWND window = hwnd();
  windowDc dc(window);
  paper scale = client_scale();
  double h_step = graph_.x_map().data_per_pixel();
  double v_step = std::fabs(graph_.y_map().data_per_pixel());
  waveMeasurementModel& m = *model_;
  switch (action.target) {
    case keyTarget::awave_time:
    case keyTarget::bwave_time:
      step_time(action.target == keyTarget::awave_time, action.direction, h_step);
      break;
    case keyTarget::awave_amplitude:
      m.awave_point.set_value(m.awave_point.value() + action.direction * v_step);
      break;
    case keyTarget::bwave_amplitude:
      m.bwave_point.set_value(m.bwave_point.value() + action.direction * v_step);
      break;
    case keyTarget::baseline_intercept:
      m.baseline_intercept.set_value(m.baseline_intercept.value() + action.direction * v_step);
      break;
    case keyTarget::baseline_right: {
      // A right time of 0 would divide by zero: the slope stays.
      double right_time = m.baseline_right_time.value();
      if (right_time != 0.0)
        m.baseline_slope.set_value(
            (m.baseline_at_right_time.value() + action.direction * v_step - m.baseline_at_left_time.value()) /
            right_time);
      break;
    }
    case keyTarget::xhair: {
      if (key == arrowKey::left) graphPainter(graph_).xhair_left(dc.get(), scale);
      if (key == arrowKey::right) graphPainter(graph_).xhair_right(dc.get(), scale);
      if (key == arrowKey::up) graphPainter(graph_).xhair_up(dc.get(), scale);
      if (key == arrowKey::down) graphPainter(graph_).xhair_down(dc.get(), scale);
      RECT plot{graph_.plot_left(), graph_.plot_top(), graph_.plot_right(), graph_.plot_bottom()};
      InvalidateRect(window, &plot, FALSE);
      xhair_text_.invalidate();
      show_cursor_position(pointer_x_px, pointer_y_px);
      return;
    }
    case keyTarget::nothing:
      return;
  }
  after_adjustment();
}

void measGraphClass::after_adjustment() {
  refresh_summary();
  thumbnail_->document().state().auto_ab = 0;
  thumbnail_->invalidate();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void measGraphClass::copy_trace(const traceClass* trace) {
  if (trace) trace_clipboard.store(trace, trace->name());
}

void measGraphClass::command(int id) {
  HWND window = hwnd();
  switch (id) {
    case mg_save_text: {
      byteObjectClass folder;
      path_directory(get_program_setting("last_session_file", true), folder);
      byteObjectClass name;
      file_base_name(thumbnail_->path(), name);
      save_data_as_text(window, *record_, record_->Average, name.text(), folder.text());
      break;
    }
    case mg_print:
      print_window(window, this, nullptr, "RARAZ");
      break;
    case mg_close:
      // The window procedure deletes this object on WM_CLOSE.
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    case mg_copy_window:
      copy_window_to_clipboard(window);
      break;
    case mg_copy_average:
      copy_trace(main_trace_);
      break;
    case mg_copy_last:
      copy_trace(last_trace_);
      break;
    case mg_recalculate:
      thumbnail_->document().state().auto_ab = 1;
      set_menu_check(menu_, mg_auto_slope, 0);
      thumbnail_->recalculate_ab(1);
      InvalidateRect(window, nullptr, TRUE);
      thumbnail_->invalidate();
      break;
    case mg_auto_slope:
      if (model_->slope_switch) {
        set_menu_check(menu_, mg_auto_slope, 0);
        model_->slope_switch = 0;
      } else {
        set_menu_check(menu_, mg_auto_slope, 1);
        model_->zero_baseline_slope();
      }
      thumbnail_->invalidate();
      InvalidateRect(window, nullptr, TRUE);
      break;
    case mg_scale_last:
    case mg_view_last:
    case mg_view_average:
    case mg_view_parameters:
    case mg_view_circles:
    case mg_view_baseline:
      toggle_menu_check(menu_, static_cast<UINT>(id), 1);
      InvalidateRect(window, nullptr, TRUE);
      break;
    case mg_view_xhair:
      if (toggle_menu_check(menu_, static_cast<UINT>(id), 1))
        graph_.xhair.show();
      else
        graph_.xhair.hide();
      InvalidateRect(window, nullptr, TRUE);
      break;
    default:
      break;
  }
}
