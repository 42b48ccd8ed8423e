// What a comparison graph does with its messages: painting, the status bar,
// the gain labels, re-centring, the main menu's commands, the right-click
// pop-up with its per-trace commands, "Copy Trace To:", dropped files and
// the notices of the windows it opened.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cmath>
#include <cstring>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/controls/edit_number.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/windows/op_panel/op_panel.h"
#include "desktop/windows/fft_graphs/fft_window.h"
#include "desktop/windows/trace_panels/plot_attributes.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/windows/trace_panels/separation_panel.h"
#include "desktop/windows/trace_text/trace_text_dialogs.h"
#include "desktop/windows/meas_graph/meas_graph_rules.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/files/path_names.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/drawing/r_bitmap.h"
#include "desktop/winlib/controls/status_bar.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/windows/window_helpers.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

bool inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The extension of a path, lower case.
std::string lower_extension(const char* path) {
  byteObjectClass extension;
  file_extension(path, extension);
  std::string text = extension.text();
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

intptr_t comparisonPanelClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT: {
      quietReportScope quiet;
      paint_window(client_scale());
      return 0;
    }
    case WM_SIZE:
      resize_status_bar(status_, wparam, lparam);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_MOVE:
      window_x_ = x_of(lparam);
      window_y_ = y_of(lparam);
      return 0;
    case WM_COMMAND: {
      HWND control = reinterpret_cast<HWND>(lparam);
      if (control && paste_button_ && control == paste_button_->hwnd()) {
        add_trace(&trace_clipboard);
      } else if (control && trace_list_ && control == trace_list_->hwnd()) {
        if (HIWORD(wparam) == LBN_SELCHANGE) {
          int row = trace_list_->selection();
          if (row != selected_row_) {
            selected_row_ = row;
            tracePlusClass* entry = trace_entry(row + 1);
            if (entry) open_attributes_window(entry);
          }
        }
      } else if (!control) {
        command(LOWORD(wparam));
      }
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case WM_LBUTTONDOWN:
      left_button_down(x_of(lparam), y_of(lparam));
      return 0;
    case WM_LBUTTONUP:
      left_button_up(x_of(lparam), y_of(lparam));
      return 0;
    case WM_RBUTTONDOWN:
      right_button_down(x_of(lparam), y_of(lparam));
      return 0;
    case WM_MOUSEMOVE:
      if (graph_.in_plot_area(x_of(lparam), y_of(lparam))) show_cursor_values(x_of(lparam), y_of(lparam));
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) log_message("RETURN AT GRAPH WINDOW");
      return 0;
    case WM_DROPFILES:
      drop_files(reinterpret_cast<HDROP>(wparam));
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_USER:
      switch (wparam) {
        case cg_notice::lowpass_frequency:
          lowpass_notice(static_cast<int>(lparam));
          break;
        case cg_notice::copy_menu:
          copy_trace_to(lparam);
          break;
        case cg_notice::colour_changed:
          if (selected_row_ >= 0) update_trace_line(selected_row_ + 1, trace_entry(selected_row_ + 1));
          break;
        case cg_notice::separation_closed:
          if (lparam == 1) {
            hide_separation_panel();
            set_menu_check(menu_, cg_command::separate, 0);
          }
          break;
        case cg_notice::show_average:
          show_average(lparam);
          break;
        default:
          return 0;
      }
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

void comparisonPanelClass::show_cursor_values(int x, int y) {
  traceClass* first = graph_.trace_count() > 0 ? graph_.trace(0) : nullptr;
  if (!first) return;
  graph_.pixel_to_data(x, y, &cursor_x_, &cursor_y_);
  set_status_text(status_, 0, cursor_status_text(cursor_x_, first->x_units(), cursor_y_, first->y_units()));
}

void comparisonPanelClass::page_point(int x, int y, double* page_x, double* page_y) const {
  paper scale = client_scale();
  *page_x = scale.mm_x(x);
  *page_y = scale.mm_y(y);
}

void comparisonPanelClass::left_button_down(int x, int y) {
  double page_x = 0.0, page_y = 0.0;
  page_point(x, y, &page_x, &page_y);
  if (annotationItem* hit = find_annotation(this, page_x, page_y, 0.0, 0.0)) {
    double dx = 0.0, dy = 0.0;
    graph_.pixel_to_data(x, y, &dx, &dy);
    dragged_annotation_ = hit;
    drag_dx_ = hit->anchor_x() - dx;
    drag_dy_ = hit->anchor_y() - dy;
    return;
  }
  // Clicks on the list box reach the list box itself.
  if (trace_list_ && trace_list_->hwnd()) {
    RECT list{};
    GetWindowRect(trace_list_->hwnd(), &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    if (inside(list, x, y)) {
      log_message("RCLICK ON LIST BOX");
      return;
    }
  }
  // "X gain up", "X gain down", "Y gain up", "Y gain down".
  for (int i = 0; i < 4; i++) {
    if (!inside(gain_labels_[i].bounds(), x, y)) continue;
    doubleObject& gain = i < 2 ? x_gain_ : y_gain_;
    gain.set_value(i % 2 == 0 ? gain.stored_value() * 2.0 : gain.stored_value() / 2.0);
    InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
}

void comparisonPanelClass::left_button_up(int x, int y) {
  if (dragged_annotation_) {
    double dx = 0.0, dy = 0.0;
    graph_.pixel_to_data(x, y, &dx, &dy);
    // The annotation may have gone with its list since the press.
    for (int i = 0; i < annotation_count(); i++)
      if (annotation(i) == dragged_annotation_) dragged_annotation_->set_anchor(dx + drag_dx_, dy + drag_dy_);
    dragged_annotation_ = nullptr;
    InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
  if (!graph_.in_plot_area(x, y)) return;
  if (thumbnail_drag_active) {
    // A thumbnail's trace dropped here.
    thumbnail_drag_active = 0;
    add_trace(&trace_clipboard);
    InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
  centre_follows_ = 0;
  double cx = 0.0, cy = 0.0;
  graph_.pixel_to_data(x, y, &cx, &cy);
  x_centre_.set_value(cx);
  y_centre_.set_value(cy);
  traceClass* first = graph_.trace_count() > 0 ? graph_.trace(0) : nullptr;
  set_status_text(status_, 0,
                  cursor_status_text(cx, first ? first->x_units() : "", cy, first ? first->y_units() : ""));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void comparisonPanelClass::right_button_down(int x, int y) {
  POINT at{x, y};
  ClientToScreen(hwnd(), &at);
  double page_x = 0.0, page_y = 0.0;
  page_point(x, y, &page_x, &page_y);
  if (find_annotation(this, page_x, page_y, screen_paper.mm_x(at.x), screen_paper.mm_y(at.y))) {
    InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
  int chosen = track_popup_command(popup_, at.x, at.y, hwnd());
  if (chosen) popup_command(chosen, x, y);
}

void comparisonPanelClass::popup_command(int id, int x, int y) {
  switch (id) {
    case cg_command::paste_popup:
      add_trace(&trace_clipboard);
      break;
    case cg_command::marker1_popup:
      set_marker(0);
      break;
    case cg_command::marker2_popup:
      set_marker(1);
      break;
    case cg_command::annotation_popup: {
      double dx = 0.0, dy = 0.0;
      graph_.pixel_to_data(x, y, &dx, &dy);
      POINT at{x, y};
      ClientToScreen(hwnd(), &at);
      add_annotation(this, dx, dy, at.x, at.y);
      break;
    }
    default: {
      traceCommand decoded = decode_trace_command(id);
      if (decoded.number >= 1) {
        trace_command(decoded.number, decoded.command);
        if (plotAttributesWindow* window = attributes_of(trace_entry(decoded.number))) window->invalidate();
      }
      break;
    }
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void comparisonPanelClass::set_marker(int index) {
  textObjectClass& own = index == 0 ? marker1_text_ : marker2_text_;
  textObjectClass& other = index == 0 ? marker2_text_ : marker1_text_;
  graph_.set_marker(index, cursor_x_, cursor_y_);
  own.show();
  if (other.is_shown()) {
    delta_x_.set_value(std::fabs(graph_.marker2.x() - graph_.marker1.x()));
    delta_y_.set_value(std::fabs(graph_.marker2.y() - graph_.marker1.y()));
    deltas_text_.show();
  }
  if (index == 0 && menu_checked(cg_command::align_marker1)) alignment_time_ = graph_.marker1.x();
}

void comparisonPanelClass::align_off() {
  for (int id : {cg_command::align_menu, cg_command::separate, cg_command::align_flash, cg_command::align_marker1})
    set_menu_check(menu_, static_cast<UINT>(id), 0);
}

void comparisonPanelClass::set_scale_active(int flag) {
  set_menu_check(menu_, cg_command::scale_active, flag);
  graph_.use_filtered_extents = static_cast<uint8_t>(flag);
}

void comparisonPanelClass::hide_separation_panel() {
  if (separationPanelClass* panel = separation_panel()) panel->hide();
}

void comparisonPanelClass::reset_scaling() {
  const traceClass* latest = latest_entry_ ? latest_entry_->active_trace() : nullptr;
  double range = latest ? latest->xmax() - latest->xmin() : 0.0;
  if (!(range != 0.0) || !std::isfinite(range)) {
    errormessage("*** GRAPH X RANGE IS ZERO ***");
    return;
  }
  x_gain_.set_value(1.0);
  y_gain_.set_value(1.0);
  centre_follows_ = 1;
  x_span_ = x_view_span(range, x_gain());
  align_off();
  set_scale_active(0);
  hide_separation_panel();
}

void comparisonPanelClass::toggle_separation() {
  if (menu_checked(cg_command::separate)) {
    set_menu_check(menu_, cg_command::separate, 0);
    hide_separation_panel();
    return;
  }
  if (!menu_checked(cg_command::align_menu)) {
    set_menu_check(menu_, cg_command::align_menu, 1);
    set_menu_check(menu_, cg_command::align_flash, 1);
    set_menu_check(menu_, cg_command::align_marker1, 0);
    alignment_time_ = 0.0;
  }
  set_menu_check(menu_, cg_command::separate, 1);
  set_scale_active(1);
  if (separationPanelClass* panel = separation_panel()) {
    panel->show();
    panel->restore();
    return;
  }
  separation_panel_ = new separationPanelClass(this, screen_paper.mm_x(10), screen_paper.mm_y(10),
                                               fmt("CG%d Separation Panel", static_cast<int>(instance_number)),
                                               &separation_time_, &separation_voltage_);
}

void comparisonPanelClass::command(int id) {
  HWND window = hwnd();
  switch (id) {
    case cg_command::load_text:
      load_trace_file();
      break;
    case cg_command::save_all:
      save_all_traces();
      break;
    case cg_command::print:
      print_window(window, this, nullptr, "RARAZ");
      break;
    case cg_command::close:
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    case cg_command::copy_bitmap:
      copy_window_to_clipboard(window);
      break;
    case cg_command::paste:
      add_trace(&trace_clipboard);
      break;
    case cg_command::reset_scaling:
      reset_scaling();
      break;
    case cg_command::align_flash:
      if (!menu_checked(cg_command::align_flash)) {
        set_menu_check(menu_, cg_command::align_menu, 1);
        set_menu_check(menu_, cg_command::separate, 0);
        set_menu_check(menu_, cg_command::align_flash, 1);
        set_menu_check(menu_, cg_command::align_marker1, 0);
        set_scale_active(1);
        alignment_time_ = 0.0;
      } else {
        align_off();
      }
      break;
    case cg_command::align_marker1:
      if (!marker1_text_.is_shown()) {
        errormessage("*** Marker 1 needs to be placed first ***");
        break;
      }
      if (!menu_checked(cg_command::align_marker1)) {
        set_menu_check(menu_, cg_command::align_menu, 1);
        set_menu_check(menu_, cg_command::separate, 0);
        set_menu_check(menu_, cg_command::align_flash, 0);
        set_menu_check(menu_, cg_command::align_marker1, 1);
        set_scale_active(1);
        alignment_time_ = graph_.marker1.x();
      } else {
        align_off();
      }
      break;
    case cg_command::separate:
      toggle_separation();
      break;
    case cg_command::scale_active:
      set_scale_active(flip_menu_check(menu_, cg_command::scale_active));
      break;
    case cg_command::graph_only:
      graph_only_ = static_cast<uint8_t>(flip_menu_check(menu_, cg_command::graph_only));
      if (graph_only_) layout_changed_ = 1;
      break;
    case cg_command::gridlines: {
      uint8_t on = static_cast<uint8_t>(flip_menu_check(menu_, cg_command::gridlines));
      graph_.x_major_grid = graph_.x_minor_grid = graph_.y_major_grid = graph_.y_minor_grid = on;
      break;
    }
    case cg_command::average:
      if (!menu_checked(cg_command::average)) {
        if (!average_entry_ && graph_.trace_count() < 2) {
          errormessage("*** MUST HAVE AT LEAST 2 TRACES TO AVERAGE ***");
          break;
        }
        if (!average_entry_)
          show_average(average_code);
        else
          average_entry_->set_shown(1);
        set_menu_check(menu_, cg_command::average, 1);
      } else {
        set_menu_check(menu_, cg_command::average, 0);
        if (average_entry_) average_entry_->set_shown(0);
      }
      break;
    case cg_command::show_marker1:
    case cg_command::show_marker2:
      flip_menu_check(menu_, static_cast<UINT>(id));
      break;
    default:
      break;
  }
  if (window) InvalidateRect(window, nullptr, TRUE);
}

void comparisonPanelClass::show_average(intptr_t code) {
  if (code != average_code) return;
  auto* entry = new tracePlusClass(graph_.average_trace());
  graph_.average_entry = entry;
  average_entry_ = attach_trace(entry, nullptr);
  if (average_entry_ != entry) {
    // The graph refused it: nothing points at it any more.
    graph_.average_entry = nullptr;
    average_entry_ = nullptr;
  }
  if (!average_entry_ || !graph_.compute_average()) errormessage("*** UNABLE TO COMPUTE AVERAGE ***");
}

void comparisonPanelClass::trace_command(int number, int command_id) {
  tracePlusClass* entry = trace_entry(number);
  if (!entry) return;
  winTypeClass* owner = trace_owner(number);
  auto check = [&](int offset, int flag) { set_menu_check(popup_, trace_command_id(number, offset), flag); };
  auto flip = [&](int offset) { return flip_menu_check(popup_, trace_command_id(number, offset)); };
  switch (command_id) {
    case cg_trace::copy_measurement:
    case cg_trace::copy_op_panel:
    case cg_trace::copy_fft:
    case cg_trace::copy_comparison:
    case cg_trace::copy_text_file:
    case cg_trace::copy_clipboard:
    case cg_trace::copy_bitmap:
      copy_command(entry, owner, number, command_id);
      break;
    case cg_trace::show:
      entry->set_shown(static_cast<uint8_t>(flip(cg_trace::show)));
      break;
    case cg_trace::scale_to:
      entry->set_use_for_scaling(static_cast<uint8_t>(flip(cg_trace::scale_to)));
      break;
    case cg_trace::fill_none:
    case cg_trace::fill_solid:
    case cg_trace::fill_dash2:
    case cg_trace::fill_dash5:
    case cg_trace::fill_dash10: {
      for (int f : {cg_trace::fill_none, cg_trace::fill_solid, cg_trace::fill_dash2, cg_trace::fill_dash5,
                    cg_trace::fill_dash10})
        check(f, f == command_id ? 1 : 0);
      int dash = command_id == cg_trace::fill_dash2 ? 2 : command_id == cg_trace::fill_dash5 ? 5
                 : command_id == cg_trace::fill_dash10 ? 10 : 0;
      entry->set_no_line(command_id == cg_trace::fill_none ? 1 : 0);
      entry->set_dash(dash);
      break;
    }
    case cg_trace::symbol_point:
    case cg_trace::symbol_plus:
      check(cg_trace::symbol_point, command_id == cg_trace::symbol_point ? 1 : 0);
      check(cg_trace::symbol_plus, command_id == cg_trace::symbol_plus ? 1 : 0);
      entry->set_symbol(command_id == cg_trace::symbol_point ? 0 : 1);
      break;
    case cg_trace::filter_spikes:
      entry->set_spike_filter(static_cast<uint8_t>(flip(cg_trace::filter_spikes)));
      update_trace_line(number, entry);
      break;
    case cg_trace::filter_60hz:
      entry->set_60hz_filter(static_cast<uint8_t>(flip(cg_trace::filter_60hz)));
      update_trace_line(number, entry);
      break;
    case cg_trace::filter_50hz:
      entry->set_50hz_filter(static_cast<uint8_t>(flip(cg_trace::filter_50hz)));
      update_trace_line(number, entry);
      break;
    case cg_trace::filter_lowpass:
      entry->switch_lowpass_filter(static_cast<uint8_t>(flip(cg_trace::filter_lowpass)));
      update_trace_line(number, entry);
      break;
    case cg_trace::lowpass_frequency:
      lowpass_entry_ = entry->lowpass_frequency();
      new editNumberClass(this,
                          fmt("CG%d, Trace %d Low-pass freq. [Hz]", static_cast<int>(instance_number), number),
                          screen_paper.mm_x(100), screen_paper.mm_y(100), entry->lowpass_frequency(),
                          &lowpass_entry_, static_cast<uint32_t>(number));
      check(cg_trace::filter_lowpass, 1);
      entry->switch_lowpass_filter(1);
      update_trace_line(number, entry);
      break;
    default:
      if (command_id >= cg_trace::colour_menu && command_id <= cg_trace::colour_menu + 5) {
        set_trace_colour_checks(number, command_id - cg_trace::colour_menu);
        entry->set_color(command_id - cg_trace::colour_menu);
        update_trace_line(number, entry);
      }
      break;
  }
}

void comparisonPanelClass::copy_command(tracePlusClass* entry, winTypeClass* owner, int number, int kind) {
  traceClass* trace = entry->active_trace();
  switch (kind) {
    case cg_trace::copy_measurement:
    case cg_command::copy_measurement: {
      traceClipboardClass held;
      held.store(trace, nullptr);
      POINT at = next_cascade_position();
      open_measurement_graph(owner, &held, at.x, at.y);
      break;
    }
    case cg_trace::copy_comparison:
    case cg_command::copy_comparison: {
      auto* other = new comparisonPanelClass(this, "compare the compare", 0);
      other->add_trace_copy(trace, nullptr);
      break;
    }
    case cg_trace::copy_op_panel:
    case cg_command::copy_op_panel:
      open_op_panel(owner, trace, fmt("%s/%d", panel_name(), number), 10, 10, 600, 300);
      break;
    case cg_trace::copy_fft:
    case cg_command::copy_fft: {
      POINT at = next_cascade_position();
      open_spectrum_window(owner, fmt("%s/%d", panel_name(), number), trace, at.x, at.y, 450, 300);
      break;
    }
    case cg_trace::copy_text_file:
    case cg_command::copy_text_file:
      save_trace(trace);
      break;
    case cg_trace::copy_clipboard:
      trace_clipboard.store(trace, trace->name());
      break;
    case cg_trace::copy_bitmap:
      copy_window_to_clipboard(hwnd());
      break;
    default:
      break;
  }
}

void comparisonPanelClass::copy_trace_to(intptr_t position) {
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  int chosen = track_popup_command(copy_menu_, x_of(position) + frame.left, y_of(position) + frame.top, hwnd());
  if (!chosen) return;
  // The trace whose row is chosen; the latest added when no row is.
  int number = selected_row_ >= 0 ? selected_row_ + 1 : graph_.trace_count();
  tracePlusClass* entry = trace_entry(number);
  if (!entry) return;
  copy_command(entry, trace_owner(number), number, chosen);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void comparisonPanelClass::lowpass_notice(int number) {
  tracePlusClass* entry = trace_entry(number);
  if (!entry) {
    errormessage("### NO TRACE FOR REFERENCE NUMBER %d ###", number);
    return;
  }
  switch (check_lowpass_entry(entry->lowpass_frequency(), lowpass_entry_)) {
    case lowpassEntry::unchanged:
      return;
    case lowpassEntry::too_low:
      errormessage("*** Frequency cannot be set lower than 0.1 ***");
      return;
    case lowpassEntry::accepted:
      entry->set_lowpass_filter(1, lowpass_entry_);
      set_menu_check(popup_, trace_command_id(number, cg_trace::filter_lowpass), 1);
      update_trace_line(number, entry);
      return;
  }
}

void comparisonPanelClass::load_trace_file() {
  byteObjectClass folder;
  path_directory(get_program_setting("last_text_file", true), folder);
  traceClass* loaded = load_trace_text_file(folder.text(), true);
  if (!loaded) return;
  add_trace_copy(loaded, nullptr);
  delete loaded;
}

void comparisonPanelClass::save_trace(const traceClass* trace) {
  byteObjectClass folder(get_program_setting("last_text_file", true));
  const char* written = save_trace_text_file(hwnd(), trace, trace->label(), folder.text());
  if (written && *written) set_program_setting("last_text_file", written);
}

void comparisonPanelClass::save_all_traces() {
  int count = graph_.trace_count();
  const char* refusal = save_all_refusal(count);
  if (*refusal) {
    errormessage("%s", refusal);
    return;
  }
  byteObjectClass folder(get_program_setting("last_text_file", true));
  if (folder.text()[0] == '\0') folder.set("C:\\");
  for (int i = 1; i <= count; i++) {
    tracePlusClass* entry = trace_entry(i);
    if (!entry) continue;
    const char* written =
        save_trace_text_file(hwnd(), entry->active_trace(), fmt("Save Trace %d of %d", i, count), folder.text());
    // A cancelled dialog keeps the folder the next one starts in.
    if (!written || !*written) continue;
    folder.set(written);
    set_program_setting("last_text_file", written);
  }
}

void comparisonPanelClass::drop_files(HDROP drop) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH];
    if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
    std::string extension = lower_extension(path);
    tracePlusClass* added = nullptr;
    if (extension == "xy" || extension == "txt" || extension == "csv") {
      if (traceClass* loaded = load_trace_text_file(path, false)) {
        added = add_trace_copy(loaded, nullptr);
        delete loaded;
      }
    } else if (extension == "tst") {
      auto* thumbnail = new thumbnailClass(this, 0, 0, 0, path, 1);
      if (thumbnail->loaded() && thumbnail->document().entry()) {
        added = attach_trace(thumbnail->document().entry(), thumbnail);
      } else {
        errormessage("*** UNABLE TO LOAD DROPPED TEST ***\n[%s]", path);
        delete thumbnail;
      }
    }
    if (added) {
      byteObjectClass base;
      file_base_name(path, base);
      added->own_trace()->set_label(base.text());
      if (added->filtered_trace()) added->filtered_trace()->set_label(base.text());
    }
  }
  DragFinish(drop);
}
