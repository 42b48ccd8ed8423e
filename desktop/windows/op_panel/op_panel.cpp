#include "desktop/windows/op_panel/op_panel.h"

#include <commctrl.h>

#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/windows/op_panel/op_panel_rules.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/drawing/r_bitmap.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/data/trace_filters.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_helpers.h"

namespace {

constexpr const char* window_class = "ops";

// Slider size (mm).
constexpr double slider_width = 75.0;
constexpr double slider_height = 8.0;

void set_range(trackbarClass& slider, int low, int high, int position) {
  HWND bar = slider.hwnd();
  if (!bar) return;
  SendMessageA(bar, TBM_SETRANGEMIN, FALSE, low);
  SendMessageA(bar, TBM_SETRANGEMAX, FALSE, high);
  SendMessageA(bar, TBM_SETPOS, TRUE, position);
}

}  // namespace

opPanelClass::opPanelClass(winTypeClass* parent_object, const traceClass* source, const char* title, int x, int y,
                           int width, int height)
    : winTypeClass(parent_object, window_type::operations), low_(op_default_low_hz), high_(op_default_high_hz) {
  if (source) rate_ = op_sampling_rate(source->get_count(), source->xmin(), source->xmax());
  if (rate_ <= 0.0) {
    infomessage("%s", no_op_data_text);
    return;
  }
  source_ = std::make_unique<traceClass>(source);
  entry_ = graph_.add_trace(source_.get());
  if (!entry_) return;
  shown_ = entry_->active_trace();
  taps_ = taps_for(source_->get_count());
  limit_ = op_frequency_limit(rate_);
  centre_step_ = (source_->xmax() - source_->xmin()) / op_centre_positions;

  caption_ = std::string("OP( ") + (title ? title : "") + " )";
  HWND window = CreateWindowExA(0, window_class, caption_.c_str(), WS_OVERLAPPEDWINDOW, x, y, width, height,
                                nullptr, nullptr, program_instance, nullptr);
  if (!window) {
    show_message_box("OP window creation failed", "window", box_ok);
    return;
  }
  set_hwnd(window);
  build_menus();
  background_ = class_background_brush(window_class);
  paper scale;
  scale.set_from_window(window);
  build_sliders(scale);
  build_texts(scale);
  invalidate();
  show();
}

opPanelClass::~opPanelClass() {
  if (popup_) DestroyMenu(popup_);
}

void opPanelClass::build_menus() {
  menu_ = CreateMenu();
  AppendMenuA(menu_, MF_STRING, op_file_menu, "File");
  if (HMENU file = attach_popup_menu(menu_, op_file_menu)) AppendMenuA(file, MF_STRING, op_print, "Print");
  AppendMenuA(menu_, MF_STRING, op_edit_menu, "Edit");
  if (HMENU edit = attach_popup_menu(menu_, op_edit_menu)) {
    AppendMenuA(edit, MF_STRING, op_copy_window, "Copy Window to Clipboard");
    AppendMenuA(edit, MF_STRING, op_copy_trace, "Copy to Trace Clipboard");
  }
  SetMenu(hwnd(), menu_);
  popup_ = CreatePopupMenu();
  AppendMenuA(popup_, MF_STRING, op_popup_trace_clipboard, "Copy to Trace Clipboard");
  AppendMenuA(popup_, MF_STRING, op_popup_measurement_graph, "Copy to Measurement Graph");
  DrawMenuBar(hwnd());
}

void opPanelClass::build_sliders(const paper& scale) {
  HWND window = hwnd();
  auto make = [&](uint32_t placement) {
    return std::make_unique<trackbarClass>(window, 2.0, 2.0, slider_width, slider_height, scale, placement);
  };
  low_slider_ = make(caption_right);
  high_slider_ = make(caption_right);
  centre_slider_ = make(caption_below);
  magnification_slider_ = make(caption_below);
  set_range(*low_slider_, 0, limit_, op_default_low_hz);
  set_range(*high_slider_, 0, limit_, op_default_high_hz);
  set_range(*centre_slider_, 0, op_centre_positions, op_centre_middle);
  set_range(*magnification_slider_, 1, op_magnification_max, 1);
  for (trackbarClass* slider : {low_slider_.get(), high_slider_.get(), centre_slider_.get(),
                                magnification_slider_.get()})
    slider->caption().set_background_brush(background_);
}

void opPanelClass::build_texts(paper& scale) {
  HWND window = hwnd();
  // The strings are formatted (they have dependents): a '%' of the title
  // must stand for itself.
  caption_string_.set_format_text(literal_format(caption_).c_str());
  auto make = [&](textObjectClass& text, stringObjectClass& value) {
    text.init(window, font, "%s", 1, 2.0, 2.0, scale);
    text.bind_line_value(&value, 0);
    text.set_background_brush(background_);
    add_item(&text);
  };
  make(date_text_, date_string_);
  make(band_text_, band_string_);
  make(view_text_, view_string_);
  make(caption_text_, caption_string_);
}

void opPanelClass::copy_to_trace_clipboard() {
  if (shown_) trace_clipboard.store(shown_, op_clipboard_name(low_, high_).c_str());
}

void opPanelClass::copy_to_measurement_graph() {
  if (!shown_) return;
  shown_->set_label(op_trace_label(low_, high_).c_str());
  traceClipboardClass held;
  held.store(shown_, nullptr);
  POINT at = next_cascade_position();
  open_measurement_graph(this, &held, at.x, at.y);
}

void opPanelClass::right_button_down(int x, int y) {
  if (!graph_.in_plot_area(x, y)) return;
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  int chosen = track_popup_command(popup_, frame.left + x, frame.top + y + 20, hwnd());
  if (chosen == op_popup_trace_clipboard) copy_to_trace_clipboard();
  if (chosen == op_popup_measurement_graph) copy_to_measurement_graph();
}

void opPanelClass::slider_moved(HWND bar, int code, int position) {
  if (!bar) return;
  switch (code) {
    case TB_LINEUP:
    case TB_LINEDOWN:
    case TB_PAGEUP:
    case TB_PAGEDOWN:
    case TB_ENDTRACK:
      position = static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0));
      break;
    case TB_THUMBTRACK:
      break;
    default:
      return;
  }
  if (centre_slider_ && bar == centre_slider_->hwnd())
    centre_offset_ = op_centre_offset(position, centre_step_);
  else if (magnification_slider_ && bar == magnification_slider_->hwnd())
    magnification_ = position;
  else if (low_slider_ && bar == low_slider_->hwnd())
    low_ = position;
  else
    high_ = position;
  invalidate();
}

intptr_t opPanelClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case op_print:
          print_window(window, this, nullptr, "RARAZ");
          break;
        case op_copy_window:
          copy_window_to_clipboard(window);
          break;
        case op_copy_trace:
          copy_to_trace_clipboard();
          break;
        default:
          break;
      }
      return 0;
    case WM_RBUTTONDOWN:
      right_button_down(x_of(lparam), y_of(lparam));
      return 0;
    case WM_HSCROLL:
      slider_moved(reinterpret_cast<HWND>(lparam), LOWORD(wparam), HIWORD(wparam));
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

opPanelClass* open_op_panel(winTypeClass* parent, const traceClass* source, const char* title, int x, int y,
                            int width, int height) {
  auto* panel = new opPanelClass(parent, source, title, x, y, width, height);
  if (panel->hwnd()) return panel;
  delete panel;
  return nullptr;
}
