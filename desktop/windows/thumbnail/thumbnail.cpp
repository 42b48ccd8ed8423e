#include "desktop/windows/thumbnail/thumbnail.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "desktop/winlib/drawing/drawing.h"
#include "desktop/winlib/controls/edit_number.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/windows/samples/sample_select.h"
#include "desktop/data/test_file_reading.h"
#include "desktop/windows/thumbnail/thumb_state.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/windows/trace_text/trace_text_dialogs.h"
#include "desktop/windows/openers/window_openers.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// The slot of the thumbnail clipboard.
struct thumbClipEntry {
  std::string path;
  std::string file_name;
  FILETIME file_time{};
  int source = test_source_pc;
  winTypeClass* owner = nullptr;
  double width = 0.0;
  double height = 0.0;
};
std::unique_ptr<thumbClipEntry> thumb_slot;

constexpr double thumb_width_mm = 110.0;
constexpr double thumb_height_mm = 30.0;
constexpr int waveform_lines = 7;
constexpr int plot_mode = 9;  // white plot area

// The session panel that holds the thumbnail, or null.
winTypeClass* session_parent(winTypeClass* parent) {
  return parent && parent->type == window_type::session ? parent : nullptr;
}

}  // namespace

thumbnailClass::thumbnailClass(winTypeClass* parent_object, double number, int x, int y, const char* test_path,
                               int source)
    : winTypeClass(parent_object, thumbnail_window_type), number_(number) {
  paper scale;
  if (parent_object && parent_object->hwnd())
    scale.set_from_window(parent_object->hwnd());
  else
    scale.copy_from(screen_paper);
  place_x(scale.mm_x(x), scale.mm_x(x));
  place_y(scale.mm_y(y), scale.mm_y(y));
  set_size(thumb_width_mm, thumb_height_mm);
  create(x, y, scale.scale_x(thumb_width_mm), scale.scale_y(thumb_height_mm), test_path, source);
}

thumbnailClass::thumbnailClass(winTypeClass* parent_object, double number, double x, double y, double width,
                               double height, const paper& scale, const char* test_path, int source)
    : winTypeClass(parent_object, thumbnail_window_type), number_(number) {
  place_x(x, x);
  place_y(y, y);
  set_size(width, height);
  create(scale.px_x(x), scale.px_y(y), scale.scale_x(width), scale.scale_y(height), test_path, source);
}

void thumbnailClass::create(int x, int y, int width, int height, const char* test_path, int source) {
  HWND parent_window = parent ? parent->hwnd() : nullptr;
  DWORD style = parent_window ? (WS_CHILD | WS_BORDER) : WS_BORDER;
  HWND window = CreateWindowExA(0, "thumbnailClass", "thumb", style, x, y, width, height, parent_window, nullptr,
                                program_instance, nullptr);
  if (!window) infomessage("thumbnailClass window creation failed");
  set_hwnd(window);

  document_.load(test_path, source, number_);
  edited_lowpass_ = document_.entry() ? document_.entry()->lowpass_frequency() : default_lowpass_frequency;

  paper text_scale;
  info_text_.init(window, nullptr, " ", 7, 1.0, 1.0, text_scale);
  waveform_text_.init(window, nullptr, "-- Waveform Data --", waveform_lines, 1.0, 1.0, text_scale);
  for (int i = 1; i < waveform_lines; i++) waveform_text_.set_text(" ", i);
  if (loaded()) {
    for (int i = 0; i < 7; i++) info_text_.set_text(document_.info().lines[i], i);
    set_title(document_.caption());
  } else {
    info_text_.set_text(document_.path(), 0);
    info_text_.set_text("not loaded", 1);
  }
  add_item(&info_text_);
  if (parent_window) build_popup_menu();
  refresh_filter_text(true);
}

thumbnailClass::~thumbnailClass() {
  // Windows opened on this test (a measurement graph) close before its data
  // goes: none of them may paint a model that is being destroyed.
  remove_window_children(node);
  // Nothing may keep pointing at this thumbnail once it is gone.
  if (thumbnail_drag_active && trace_clipboard.source_window() == this) thumbnail_drag_active = 0;
  trace_clipboard.forget_source(this);
  if (thumb_slot && thumb_slot->owner == this) thumb_slot->owner = nullptr;
  if (popup_) DestroyMenu(popup_);
}

void thumbnailClass::set_number(double number) {
  number_ = number;
  document_.set_number(number);
  if (loaded()) info_text_.set_text(document_.info().lines[0], 0);
}

void thumbnailClass::set_background(HBRUSH brush) {
  background_ = brush;
  info_text_.set_background_brush(brush);
}

void thumbnailClass::toggle_sample_window() {
  if (!loaded() || !popup_) return;
  bool shown = (GetMenuState(popup_, thumb_sample_window, MF_BYCOMMAND) & MF_CHECKED) != 0;
  if (shown) {
    if (sample_window_) sample_window_->hide();
    set_menu_text(popup_, thumb_sample_window, "Show Sample Selection Window");
    set_menu_check(popup_, thumb_sample_window, 0);
    return;
  }
  if (!sample_window_) {
    if (document_.samples().get_count() == 0) return;
    RECT at{};
    GetWindowRect(hwnd(), &at);
    sample_window_ = new sampleSelectWindowClass(this, fmt("Samples for: %s", file_name()), 0.0,
                                                 screen_paper.mm_y(at.top), &document_.samples());
  }
  sample_window_->show();
  sample_window_->restore();
  set_menu_text(popup_, thumb_sample_window, "Hide Sample Selection Window");
  set_menu_check(popup_, thumb_sample_window, 1);
}

void thumbnailClass::build_popup_menu() {
  popup_ = CreatePopupMenu();
  if (loaded()) {
    HMENU copy_menu = CreatePopupMenu();
    AppendMenuA(copy_menu, MF_STRING, thumb_trace_clipboard, "Trace Clipboard (TCOPY)");
    AppendMenuA(copy_menu, MF_STRING, thumb_measurement_graph, "Measurement Graph");
    AppendMenuA(copy_menu, MF_STRING, thumb_comparison_graph, "Comparison Graph");
    AppendMenuA(copy_menu, MF_STRING, thumb_op_panel, "Osc Potentials Graph");
    AppendMenuA(copy_menu, MF_STRING, thumb_fft, "FFT Graph");
    AppendMenuA(copy_menu, MF_STRING, thumb_band_pass, "Band Pass Graph");
    AppendMenuA(copy_menu, MF_STRING, thumb_text_file, "Text File (csv,xy)");
    AppendMenuA(popup_, MF_POPUP, reinterpret_cast<UINT_PTR>(copy_menu), "Copy Test Data To");
    filter_menu_ = CreatePopupMenu();
    if (document_.samples().get_count() > 0)
      AppendMenuA(filter_menu_, MF_STRING, thumb_sample_window, "Show Sample Selection Window");
    AppendMenuA(filter_menu_, MF_STRING, thumb_60hz, "60 Hz");
    AppendMenuA(filter_menu_, MF_STRING, thumb_50hz, "50 Hz");
    AppendMenuA(filter_menu_, MF_STRING, thumb_spikes, "Spikes");
    AppendMenuA(filter_menu_, MF_STRING, thumb_lowpass, "Low Pass");
    AppendMenuA(filter_menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(filter_menu_, MF_STRING, thumb_lowpass_frequency, "Set Low Pass Frequency");
    AppendMenuA(popup_, MF_POPUP, reinterpret_cast<UINT_PTR>(filter_menu_), "Filter");
  }
  HMENU edit_menu = CreatePopupMenu();
  if (session_parent(parent)) {
    AppendMenuA(edit_menu, MF_STRING, thumb_cut, "Cut");
    AppendMenuA(edit_menu, MF_STRING, thumb_copy, "Copy");
    HMENU paste_menu = CreatePopupMenu();
    AppendMenuA(paste_menu, MF_STRING, thumb_paste_before, "Before This Thumbnail");
    AppendMenuA(paste_menu, MF_STRING, thumb_paste_after, "After This Thumbnail");
    AppendMenuA(edit_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(paste_menu), "Paste");
  } else {
    AppendMenuA(edit_menu, MF_STRING, thumb_copy, "Copy");
  }
  AppendMenuA(popup_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit_menu), "Edit Session");
  if (loaded()) AppendMenuA(popup_, MF_STRING, thumb_source_info, "Test source info");
}

void thumbnailClass::recalculate_ab(int propagate) {
  if (!document_.recalculate_ab(propagate)) return;
  if (winTypeClass* session = session_parent(parent)) call_opener(window_openers.show_summary, "show_summary", session);
}

void thumbnailClass::refresh_filter_text(bool recalculate) {
  if (popup_) {
    for (int id = thumb_60hz; id <= thumb_lowpass; id++) CheckMenuItem(popup_, id, MF_BYCOMMAND | MF_UNCHECKED);
    const char* flags = document_.state().filtering.text();
    for (int i = 0; i < 4 && flags[i]; i++)
      if (flags[i] == '1') CheckMenuItem(popup_, thumb_60hz + i, MF_BYCOMMAND | MF_CHECKED);
  }
  char text[128];
  document_.filter_text(text, sizeof text);
  waveform_text_.set_text(fmt("Filtering: %s", text), 6);
  if (recalculate) recalculate_ab(0);
  if (parent) parent->invalidate();
}

bool thumbnailClass::set_60hz_filter(uint8_t on) {
  bool changed = document_.set_60hz_filter(on);
  refresh_filter_text(changed);
  return changed;
}

bool thumbnailClass::set_50hz_filter(uint8_t on) {
  bool changed = document_.set_50hz_filter(on);
  refresh_filter_text(changed);
  return changed;
}

bool thumbnailClass::set_spike_filter(uint8_t on) {
  bool changed = document_.set_spike_filter(on);
  refresh_filter_text(changed);
  return changed;
}

bool thumbnailClass::set_lowpass_filter(uint8_t on) {
  bool changed = document_.set_lowpass_filter(on);
  refresh_filter_text(changed);
  return changed;
}

bool thumbnailClass::set_lowpass_frequency(double frequency) {
  bool changed = document_.set_lowpass_frequency(frequency);
  refresh_filter_text(changed);
  return changed;
}

void thumbnailClass::measure(HDC dc, const paper& scale) {
  bool printed = printing_flag != 0;
  double left = printed ? x() : 0.0;
  double top = printed ? y() : 0.0;
  info_text_.move_to(left + 1.0, top + 1.0);
  info_text_.measure(dc, scale);
  if (!loaded()) {
    set_size(std::max(info_text_.right() - left + 2.0, 40.0), std::max(info_text_.bottom() - top + 2.0, 10.0));
    return;
  }
  double h = std::max(info_text_.extent_y() + 2.0, 25.0);
  double gx0 = info_text_.right() + 1.0;
  double gx1 = info_text_.right() + 1.5 * h;
  double gy0 = info_text_.top();
  double gy1 = info_text_.top() + h;
  document_.graph().set_plot_area(gx0, gx1, gy0, gy1, scale, plot_mode);

  waveform_text_.set_text(document_.is_slave() ? "  (SLAVE)  " : " ", 1);
  {
    waveMeasurementModel& model = *document_.model();
    if (document_.is_flicker())
      waveform_text_.set_text(" ", 2);
    else if (!model.awave_found() || !model.bwave_found())
      waveform_text_.set_text("a-wave ---", 2);
    else
      waveform_text_.set_text(
          fmt("a-wave %6.1f uV at %4.1f mS", model.abs_awave_amplitude.value(), model.awave_implicit_time.value()), 2);
    // The b-wave's amplitude is measured from the a-wave's trough.
    if (!model.bwave_found())
      waveform_text_.set_text("b-wave ---", 3);
    else if (!model.awave_found())
      waveform_text_.set_text(fmt("b-wave    --- uV at %4.1f mS", model.bwave_implicit_time.value()), 3);
    else
      waveform_text_.set_text(
          fmt("b-wave %6.1f uV at %4.1f mS", model.bwave_amplitude.value(), model.bwave_implicit_time.value()), 3);
    waveform_text_.set_text(document_.state().auto_ab ? "--auto a/b" : "--", 4);
  }
  waveform_text_.move_to(gx1 + 2.0, top + 1.0);
  waveform_text_.measure(dc, scale);
  set_size(waveform_text_.right() - left + 2.0,
           std::max({waveform_text_.extent_y(), info_text_.extent_y(), gy1 - gy0}) + 2.0);
}

void thumbnailClass::paint_unloaded(HDC dc) {
  paper scale;
  scale.set_from_window(hwnd());
  info_text_.move_to(1.0, 1.0);
  info_text_.refresh(dc, scale);
}

void thumbnailClass::draw(HDC dc, const paper& scale) {
  if (!loaded()) {
    paint_unloaded(dc);
    return;
  }
  measure(dc, scale);
  graphClass& graph = document_.graph();
  graph.autoscale();
  graphPainter(graph).draw(dc, scale);
  waveMeasurementModel& model = *document_.model();
  double a = model.awave_point.value();
  double b = model.bwave_point.value();
  double ta = model.awave_time.value();
  double tb = model.bwave_time.value();
  graphPainter(graph).draw_line(dc, 13, 0.0, a, 0.0, b, R2_COPYPEN, table_pen(13));
  HPEN dashed = create_dashed_pen(1, 0);
  graphPainter(graph).draw_line(dc, 1, 0.0, a, tb, a, R2_COPYPEN, dashed);
  graphPainter(graph).draw_line(dc, 1, 0.0, b, tb, b, R2_COPYPEN, dashed);
  graphPainter(graph).draw_line(dc, 1, tb, a, tb, b, R2_COPYPEN, dashed);
  graphPainter(graph).draw_line(dc, 1, ta, a, ta, a + (b - a) / 3.0, R2_COPYPEN, dashed);
  if (dashed) DeleteObject(dashed);
  waveform_text_.refresh(dc, scale);
  paint_items(dc, scale);
}

void thumbnailClass::filter_command(int command) {
  const char* flags = document_.state().filtering.text();
  auto is_on = [flags](int position) { return static_cast<int>(std::string(flags).size()) > position && flags[position] == '1'; };
  switch (command) {
    case thumb_60hz:
      if (!is_on(0)) set_50hz_filter(0);
      set_60hz_filter(is_on(0) ? 0 : 1);
      break;
    case thumb_50hz:
      if (!is_on(1)) set_60hz_filter(0);
      set_50hz_filter(is_on(1) ? 0 : 1);
      break;
    case thumb_spikes:
      set_spike_filter(is_on(2) ? 0 : 1);
      break;
    case thumb_lowpass:
      set_lowpass_filter(is_on(3) ? 0 : 1);
      break;
    case thumb_lowpass_frequency: {
      edited_lowpass_ = document_.entry()->lowpass_frequency();
      POINT at{};
      GetCursorPos(&at);
      paper scale;
      scale.copy_from(screen_paper);
      new editNumberClass(this, fmt("%s Low-pass freq. [Hz]", file_name()), scale.mm_x(at.x), scale.mm_y(at.y),
                          edited_lowpass_, &edited_lowpass_, thumb_notice_lowpass_edited);
      CheckMenuItem(popup_, thumb_lowpass, MF_BYCOMMAND | MF_CHECKED);
      set_lowpass_filter(1);
      break;
    }
    default:
      break;
  }
  if (winTypeClass* session = session_parent(parent))
    call_opener(window_openers.session_filter_checks, "session_filter_checks", session);
  recalculate_ab(0);
  invalidate();
}

void thumbnailClass::copy_command(int command) {
  const traceClass* active = document_.entry()->active_trace();
  switch (command) {
    case thumb_comparison_graph: {
      // The comparison graph takes its own place in the window cascade.
      call_opener(window_openers.comparison_graph, "comparison_graph", this);
      break;
    }
    case thumb_op_panel: {
      POINT at = next_cascade_position();
      call_opener(window_openers.op_panel, "op_panel", this, active, at.x, at.y);
      break;
    }
    case thumb_fft: {
      POINT at = next_cascade_position();
      call_opener(window_openers.spectrum, "spectrum", this, active, at.x, at.y);
      break;
    }
    case thumb_band_pass: {
      POINT at = next_cascade_position();
      call_opener(window_openers.band_pass, "band_pass", this, active, at.x, at.y);
      break;
    }
    case thumb_text_file: {
      const char* place = get_program_setting("last_XY_file", true);
      const char* written = save_trace_text_file(hwnd(), document_.main_trace(), file_name(), place);
      if (written && *written) set_program_setting("last_XY_file", written);
      break;
    }
    default:
      break;
  }
}

void thumbnailClass::run_command(int command) {
  winTypeClass* session = session_parent(parent);
  switch (command) {
    case thumb_trace_clipboard:
      if (loaded()) trace_clipboard.store_thumbnail(this, document_.entry()->active_trace(), file_name());
      break;
    case thumb_measurement_graph:
      if (loaded()) {
        POINT at = next_cascade_position();
        call_opener(window_openers.measurement_graph, "measurement_graph", this, at.x, at.y);
        invalidate();
      }
      break;
    case thumb_comparison_graph:
    case thumb_op_panel:
    case thumb_fft:
    case thumb_band_pass:
    case thumb_text_file:
      if (loaded()) copy_command(command);
      break;
    case thumb_60hz:
    case thumb_50hz:
    case thumb_spikes:
    case thumb_lowpass:
    case thumb_lowpass_frequency:
      if (loaded()) filter_command(command);
      break;
    case thumb_sample_window:
      toggle_sample_window();
      break;
    case thumb_source_info:
      if (loaded()) {
        RECT at{};
        GetWindowRect(hwnd(), &at);
        new thumbStateClass(this, screen_paper.mm_x(at.right) + 10.0, screen_paper.mm_y(at.top));
      }
      break;
    case thumb_cut:
      if (session) call_opener(window_openers.session_cut, "session_cut", session, this);  // deletes this thumbnail
      break;
    case thumb_copy:
      move_to_thumb_clipboard(this);
      break;
    case thumb_paste_before:
    case thumb_paste_after:
      if (session)
        call_opener(window_openers.session_paste, "session_paste", session, this,
                    command == thumb_paste_before ? 1 : 0);
      break;
    default:
      break;
  }
}

intptr_t thumbnailClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_RBUTTONUP: {
      if (!popup_) return 0;
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ClientToScreen(window, &at);
      int command = track_popup_command(popup_, at.x, at.y, window);
      if (command) run_command(command);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      if (message == WM_LBUTTONDOWN && start_drag(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))))
        return 0;
      // A release here ends this thumbnail's drag (its item, which has the
      // mouse while it carries the trace, has then closed or is closing).
      if (message == WM_LBUTTONUP && thumbnail_drag_active && trace_clipboard.source_window() == this)
        thumbnail_drag_active = 0;
      HDC dc = GetDC(window);
      paper scale;
      scale.set_from_window(window);
      if (message == WM_LBUTTONDOWN)
        button_down(dc, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)), scale);
      else
        button_up(dc, scale);
      ReleaseDC(window, dc);
      return 0;
    }
    case WM_COMMAND:
      return 0;
    case WM_USER:
      if (wparam == thumb_notice_lowpass_edited && loaded()) {
        if (edited_lowpass_ < 0.1) {
          infomessage("*** Frequency cannot be set lower than 0.1 ***");
        } else if (edited_lowpass_ != document_.entry()->lowpass_frequency()) {
          set_lowpass_frequency(edited_lowpass_);
          recalculate_ab(0);
        }
      } else if (wparam == samples_notice_changed && loaded()) {
        document_.attach_samples();
        recalculate_ab(1);
        invalidate();
      } else if (wparam == samples_notice_closing) {
        sample_window_ = nullptr;
        if (popup_) {
          set_menu_text(popup_, thumb_sample_window, "Show Sample Selection Window");
          set_menu_check(popup_, thumb_sample_window, 0);
        }
      }
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

bool thumbnailClass::start_drag(int x, int y) {
  if (!loaded() || thumbnail_drag_active || !document_.graph().in_plot_area(x, y)) return false;
  if (!trace_clipboard.store_thumbnail(this, document_.entry()->active_trace(), file_name())) return false;
  thumbnail_drag_active = 1;
  POINT at{x, y};
  ClientToScreen(hwnd(), &at);
  const double x_mm = screen_paper.x_px_per_mm > 0.0 ? at.x / screen_paper.x_px_per_mm : 0.0;
  const double y_mm = screen_paper.y_px_per_mm > 0.0 ? at.y / screen_paper.y_px_per_mm : 0.0;
  // The item deletes itself when the drag ends (at once with no comparison
  // graph open to take the trace).
  call_opener(window_openers.drag_item, "drag_item", this, x_mm - 10.0, y_mm - 20.0);
  return true;
}

bool move_to_thumb_clipboard(thumbnailClass* thumbnail) {
  if (!thumbnail) {
    errormessage("*** move_to_thumb_clipboard: NO THUMBNAIL PROVIDED ***");
    return false;
  }
  auto entry = std::make_unique<thumbClipEntry>();
  entry->path = thumbnail->path();
  entry->file_name = thumbnail->file_name();
  entry->file_time = thumbnail->file_time();
  entry->source = thumbnail->source();
  entry->owner = thumbnail->parent;
  entry->width = thumbnail->width();
  entry->height = thumbnail->height();
  thumb_slot = std::move(entry);
  return true;
}

thumbnailClass* create_from_thumb_clipboard(winTypeClass* parent) {
  if (!thumb_slot) {
    errormessage("*** create_from_thumb_clipboard: CLIPBOARD IS NOT LOADED ***");
    return nullptr;
  }
  return new thumbnailClass(parent, 0, 0, 0, thumb_slot->path.c_str(), thumb_slot->source);
}

uint8_t thumbnail_drag_active = 0;

int32_t window_cascade_count = 0;

POINT next_cascade_position() {
  int k = ++window_cascade_count % 15;
  return POINT{k * 20 + 5, k * 20 + 20};
}
