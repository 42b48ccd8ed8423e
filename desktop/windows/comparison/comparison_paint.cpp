// The page of a comparison graph, on the screen or the printer: the view
// state that the commands set (alignment, separation, gains, centre, marker
// visibility, graph-only view) applied to the traces, the graph, and under it
// the trace list, the gain labels and the marker read-outs, or on a printed
// page the trace lines and the date.
#include <windows.h>

#include <cmath>
#include <cstdio>

#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/winlib/drawing/drawing.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/windows/meas_graph/meas_graph_rules.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/windows/trace_panels/plot_attributes.h"
#include "desktop/winlib/drawing/printing.h"

namespace {

constexpr int white_index = 9;
constexpr int plot_mode = 9;       // a white plot
constexpr int centre_pen = 14;     // the dashed blue pen
constexpr double edge_mm = 2.0;    // the plot's left and right margins
constexpr double under_plot_mm = 27.0;
constexpr int print_line_count = 5;

// "Marker 1: %6.2lf [%s], %6.2lf [%s]" and its kin.
std::string readout_text(const char* head, double x, const char* x_unit, double y, const char* y_unit) {
  char text[256];
  std::snprintf(text, sizeof text, "%s %6.2lf [%s], %6.2lf [%s]", head, x, x_unit, y, y_unit);
  return text;
}

}  // namespace

void comparisonPanelClass::apply_offsets() {
  bool aligned = menu_checked(cg_command::align_menu);
  bool separate = menu_checked(cg_command::separate);
  for (int i = 0; i < graph_.trace_count(); i++) {
    tracePlusClass* entry = graph_.trace_entry(i);
    if (!entry) continue;
    entry->set_offsets(0.0, 0.0);
    if (!aligned) continue;
    double y_at = 0.0;
    bool found = amplitude_near_time(*entry->active_trace(), alignment_time_, &y_at);
    traceOffsets offsets = alignment_offsets(i, separate, separation_time_, separation_voltage_, y_at, found);
    entry->set_offsets(offsets.x, offsets.y);
  }
}

void comparisonPanelClass::show_selected_attributes() {
  plotAttributesWindow* shown = nullptr;
  for (int i = 0; i < graph_.trace_count(); i++) {
    plotAttributesWindow* window = attributes_of(graph_.trace_entry(i));
    if (!window) continue;
    if (i == selected_row_ && !graph_only_) {
      shown = window;
      if (!IsWindowVisible(window->hwnd())) window->show();
    } else if (IsWindowVisible(window->hwnd())) {
      window->hide();
    }
  }
  if (shown && shown != attributes_window_) attributes_needs_placing_ = 1;
  attributes_window_ = shown;
}

void comparisonPanelClass::place_attributes_window(const paper& scale, double plot_bottom, double list_right) {
  plotAttributesWindow* window = attributes_window();
  if (!window) return;
  double x = list_right;
  double y = plot_bottom + 0.5;
  if (std::fabs(window->position_x() - x) > 0.01 || std::fabs(window->position_y() - y) > 0.01)
    window->move_to(x, y, scale);
  // A graph too narrow for the attributes beside its list grows to hold
  // them (their controls are as wide as the font in use makes them).
  // A pixel's rounding is no shortage (the attributes take the room given).
  double short_by = x + window->width() + 5.0 - scale.width_mm;
  RECT frame{};
  if (short_by > 1.0 && GetWindowRect(hwnd(), &frame)) {
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left + scale.scale_x(short_by), frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (attributes_needs_placing_) {
    // As wide as the room right of the list, never narrower than it is.
    double room = scale.width_mm - x - 5.0;
    if (window->width() < room) window->resize(room, window->height(), scale);
    attributes_needs_placing_ = 0;
  }
}

void comparisonPanelClass::draw(HDC dc, const paper& scale) {
  if (!dc) return;
  bool printing = printing_flag != 0;
  for (textObjectClass& line : print_lines_) line.hide();
  apply_offsets();
  if (!printing) show_selected_attributes();

  if (graph_only_) {
    if (trace_list_) trace_list_->hide();
    if (paste_button_) paste_button_->hide();
  } else if (layout_changed_) {
    if (trace_list_) trace_list_->show();
    if (paste_button_) paste_button_->show();
    layout_changed_ = 0;
  }

  HBRUSH brush = printing ? table_brush(white_index) : background_;
  RECT page{0, 0, truncate_to_int(scale.width_px) + scale.x_origin, truncate_to_int(scale.height_px) + scale.y_origin};
  if (brush) FillRect(dc, &page, brush);

  plotAttributesWindow* attributes = printing ? nullptr : attributes_window();
  double plot_bottom = scale.height_mm - (graph_only_   ? 2.0
                                          : attributes ? attributes->height() + 2.0
                                                       : under_plot_mm);
  caption_text_.measure(dc, scale);
  caption_text_.move_to(scale.width_mm / 2.0, 1.5);
  caption_text_.refresh(dc, scale);
  double plot_top = caption_text_.bottom() + 0.5;
  if (plot_bottom < plot_top + 5.0) plot_bottom = plot_top + 5.0;
  graph_.set_plot_area(edge_mm, scale.width_mm - edge_mm, plot_top, plot_bottom, scale, plot_mode);

  if (graph_.trace_count() > 0) {
    graph_.use_filtered_extents = menu_checked(cg_command::scale_active) ? 1 : 0;
    graph_.autoscale();
    const axisMap& ym = graph_.y_map();
    x_span_ = x_view_span(graph_.x_range_max() - graph_.x_range_min(), x_gain());
    y_span_ = y_view_span(ym.data_end() - ym.data_start(), y_gain());
    if (centre_follows_) {
      x_centre_.set_value((graph_.x_range_max() + graph_.x_range_min()) / 2.0);
      y_centre_.set_value((ym.data_end() + ym.data_start()) / 2.0);
    }
    if (menu_checked(cg_command::show_marker1))
      graph_.marker1.show();
    else
      graph_.marker1.hide();
    if (menu_checked(cg_command::show_marker2))
      graph_.marker2.show();
    else
      graph_.marker2.hide();
    viewRange xr = view_range(x_centre(), x_span_);
    viewRange yr = view_range(y_centre(), y_span_);
    graph_.set_ranges(xr.low, xr.high, yr.low, yr.high);
    graphPainter(graph_).draw(dc, scale);
    if (!printing && !centre_follows_) {
      graphPainter(graph_).draw_line(dc, centre_pen, x_centre(), ym.data_start(), x_centre(), ym.data_end(), R2_COPYPEN);
      graphPainter(graph_).draw_line(dc, centre_pen, x_centre() - x_span_ / 20.0, y_centre(), x_centre() + x_span_ / 20.0,
                       y_centre(), R2_COPYPEN);
    }
    draw_annotations(dc, scale);
  } else {
    graph_.set_ranges(0.0, 10.0, 0.0, 10.0);
    graph_.autoscale();
    graphPainter(graph_).draw(dc, scale);
  }

  if (graph_only_) return;
  double plot_bottom_mm = (graph_.plot_bottom() - scale.y_origin) / scale.y_px_per_mm;
  if (printing) {
    draw_print_lines(dc, scale, plot_bottom_mm);
  } else {
    place_controls(dc, scale, plot_bottom_mm);
  }
}

double comparisonPanelClass::draw_readouts(HDC dc, const paper& scale, double x, double y) {
  if (!first_entry_) return y;
  const traceClass* units = first_entry_->active_trace();
  const char* xu = units->x_units();
  const char* yu = units->y_units();
  marker1_text_.set_format_text(
      readout_text("Marker 1:", graph_.marker1.x(), xu, graph_.marker1.y(), yu).c_str(), 0);
  marker2_text_.set_format_text(
      readout_text("Marker 2:", graph_.marker2.x(), xu, graph_.marker2.y(), yu).c_str(), 0);
  deltas_text_.set_format_text(readout_text("Change:  ", std::fabs(graph_.marker2.x() - graph_.marker1.x()), xu,
                                            std::fabs(graph_.marker2.y() - graph_.marker1.y()), yu)
                                   .c_str(),
                               0);
  for (textObjectClass* text : {&marker1_text_, &marker2_text_, &deltas_text_}) {
    if (!text->is_shown()) continue;
    text->measure(dc, scale);
    text->move_to(x, y);
    text->refresh(dc, scale);
    y = text->bottom();
  }
  return y;
}

void comparisonPanelClass::place_controls(HDC dc, const paper& scale, double plot_bottom) {
  // The gain labels in the bottom-left corner, two columns.
  double label_y = scale.height_mm - 10.0;
  for (textObjectClass& label : gain_labels_) label.measure(dc, scale);
  gain_labels_[0].move_to(7.5, label_y);
  gain_labels_[1].move_to(7.5, label_y + gain_labels_[0].height());
  double right_column = 7.5 + std::fmax(gain_labels_[0].width(), gain_labels_[1].width()) + 2.0;
  gain_labels_[2].move_to(right_column, label_y);
  gain_labels_[3].move_to(right_column, label_y + gain_labels_[2].height());
  for (textObjectClass& label : gain_labels_) label.refresh(dc, scale);

  double list_right = edge_mm;
  double list_bottom = plot_bottom + 1.0;
  if (trace_list_) {
    trace_list_->fit(scale);  // as wide as its widest row
    trace_list_->place(edge_mm, plot_bottom + 1.0, scale);
    if (selected_row_ >= 0 && trace_list_->selection() != selected_row_) trace_list_->set_selection(selected_row_);
    list_right = trace_list_->right();
    list_bottom = trace_list_->top() + trace_list_->window_height();
  }
  // The read-outs under the list: at its left edge while the attributes
  // window leaves room above the gain labels, else right of the labels.
  bool beside = attributes_window() != nullptr;
  double readout_x = beside ? edge_mm : std::fmax(gain_labels_[2].right(), gain_labels_[3].right()) + 5.0;
  double readouts_bottom = draw_readouts(dc, scale, readout_x, list_bottom + 0.5);

  place_attributes_window(scale, plot_bottom, list_right);
  if (paste_button_) {
    // Right of the list; under the read-outs while the attributes window
    // stands there.
    if (beside)
      paste_button_->place(edge_mm, std::fmax(list_bottom, readouts_bottom) + 1.0, scale);
    else
      paste_button_->place(list_right + 2.0 > 100.0 ? list_right + 2.0 : 100.0, plot_bottom + 1.0, scale);
  }
}

void comparisonPanelClass::draw_print_lines(HDC dc, const paper& scale, double plot_bottom) {
  double y = plot_bottom + 1.0;
  double right = 20.0;
  for (int i = 0; i < print_line_count; i++) {
    textObjectClass& line = print_lines_[i];
    tracePlusClass* entry = i < graph_.trace_count() ? graph_.trace_entry(i) : nullptr;
    if (entry) {
      const traceClass* own = entry->own_trace();
      traceFilterMarks marks{entry->has_spike_filter(), entry->has_60hz_filter(), entry->has_50hz_filter(),
                             entry->has_lowpass_filter(), entry->lowpass_frequency()};
      line.set_format_text(trace_long_line_text(i + 1, trace_style_text(own->color, own->points_only, own->dash_period),
                                                entry->active_trace()->legend_text(), marks)
                               .c_str(),
                           0);
    } else {
      line.set_format_text(" ", 0);
    }
    line.show();
    line.measure(dc, scale);
    line.move_to(20.0, y);
    line.refresh(dc, scale);
    y = line.bottom();
    if (line.right() > right) right = line.right();
  }
  draw_readouts(dc, scale, right + 5.0, plot_bottom + 1.0);

  SYSTEMTIME now{};
  GetLocalTime(&now);
  date_text_.set_format_text(
      date_line_text(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond).c_str(), 0);
  date_text_.measure(dc, scale);
  date_text_.move_to(scale.width_mm - date_text_.width() - 1.5, scale.height_mm - date_text_.height() - 1.0);
  date_text_.refresh(dc, scale);
}
