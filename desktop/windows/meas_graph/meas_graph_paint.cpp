// The page of a measurement graph, on the screen or the printer: the graph
// with its traces, the zero line and the marks of the measurement, and under
// it the parameter area.
#include <windows.h>

#include "desktop/winlib/drawing/drawing.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/data/record_fields.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/wave_measurement.h"

namespace {

constexpr int white_index = 9;
constexpr int plot_mode = 9;  // a white plot
constexpr double circle_radius_mm = 3.0;
// The parameter area's height under the plot, and the margin without it.
constexpr double parameter_area_mm = 45.0;
constexpr double bare_margin_mm = 3.0;

// Time of the first point of the test's average block from the flash.
double first_point_time(const testFileRecord* record) {
  blockFields fields{};
  if (!record || !read_block_fields(record->Average, fields)) return 0.0;
  return -static_cast<double>(fields.pretrigger);
}

}  // namespace

bool measGraphClass::view_checked(int id) const { return toggle_menu_check(menu_, static_cast<UINT>(id), 0) == 1; }

void measGraphClass::draw(HDC dc, const paper& scale) {
  if (!dc || !model_ || !thumbnail_alive()) return;
  bool printing = printing_flag != 0;

  SYSTEMTIME now{};
  GetLocalTime(&now);
  date_string_.set_format_text(
      date_line_text(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond).c_str());
  set_menu_check(menu_, mg_auto_slope, model_->slope_switch ? 1 : 0);

  HBRUSH brush = printing ? table_brush(white_index) : background_;
  HGDIOBJ old_brush = brush ? SelectObject(dc, brush) : nullptr;

  statistics_text_.measure(dc, scale);
  erg_text_.measure(dc, scale);
  title_text_.measure(dc, scale);
  title_text_.move_to(scale.width_mm / 2.0 - title_text_.width() / 2.0, 1.5);

  int margin_x = scale.px_x(1.0);
  int margin_y = scale.px_y(1.0);
  Rectangle(dc, margin_x, margin_y, truncate_to_int(scale.width_px) - margin_x,
            truncate_to_int(scale.height_px) - margin_y);
  title_text_.refresh(dc, scale);

  bool parameters = view_checked(mg_view_parameters);
  double bottom = scale.height_mm - (parameters ? parameter_area_mm : bare_margin_mm);
  graph_.set_plot_area(2.0, scale.width_mm - 3.0, title_text_.bottom() + 0.5, bottom, scale, plot_mode);

  bool scale_to_last = view_checked(mg_scale_last);
  if (last_entry_) {
    last_entry_->set_shown(view_checked(mg_view_last) ? 1 : 0);
    last_entry_->set_use_for_scaling(scale_to_last ? 1 : 0);
  }
  if (main_entry_) {
    main_entry_->set_shown(view_checked(mg_view_average) ? 1 : 0);
    main_entry_->set_use_for_scaling(scale_to_last ? 0 : 1);
  }
  graph_.autoscale();
  graphPainter(graph_).draw(dc, scale);
  graphPainter(graph_).draw_hline(dc, 2, 0.0, R2_COPYPEN);
  draw_marks(dc, scale, printing);
  if (parameters) draw_parameter_area(dc, scale);

  if (old_brush) SelectObject(dc, old_brush);
  if (repaint_again_ && !printing) {
    repaint_again_ = 0;
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
}

void measGraphClass::draw_marks(HDC dc, const paper& scale, bool printing) {
  waveMeasurementModel& m = *model_;
  const axisMap& x_map = graph_.x_map();
  const axisMap& y_map = graph_.y_map();

  if (thumbnail_->document().is_flicker()) {
    double period = flash_period(record_->ProgramVersion, record_->Config.RepeatInterval, record_->Config.PostTime);
    double y0 = y_map.data_start();
    double span = y_map.data_end() - y_map.data_start();
    for (double t : flash_tick_times(period, x_map.data_start(), x_map.data_end()))
      graphPainter(graph_).draw_line(dc, 2, t, y0 + span / 4.0, t, y0 + 3.0 * span / 4.0, R2_COPYPEN);
  }

  if (!printing) {
    for (const markSegment& s : wave_mark_segments(saved_awave_ms_, saved_awave_uv_, saved_bwave_ms_, saved_bwave_uv_))
      graphPainter(graph_).draw_line(dc, 18, s.x0, s.y0, s.x1, s.y1, R2_COPYPEN);
  }

  int width = printing ? 3 : 1;
  if (HPEN dashed = create_dashed_pen(0, width)) {
    for (const markSegment& s :
         wave_mark_segments(m.awave_time.value(), m.awave_point.value(), m.bwave_time.value(), m.bwave_point.value()))
      graphPainter(graph_).draw_line(dc, 0, s.x0, s.y0, s.x1, s.y1, R2_COPYPEN, dashed);
    DeleteObject(dashed);
  }

  if (view_checked(mg_view_baseline)) {
    if (HPEN dashed = create_dashed_pen(2, width)) {
      double t0 = first_point_time(record_);
      double t1 = x_map.data_end();
      graphPainter(graph_).draw_line(dc, 2, t0, m.baseline_at(t0), t1, m.baseline_at(t1), R2_COPYPEN, dashed);
      DeleteObject(dashed);
    }
  }

  if (view_checked(mg_view_circles)) {
    std::array<dataPoint, adjust_circle_count> centres = circle_centres();
    for (int i = 0; i < adjust_circle_count; i++) {
      int pen = static_cast<int>(selected_) == i ? 2 : 5;
      graphPainter(graph_).draw_circle(dc, scale, pen, centres[i].x, centres[i].y, circle_radius_mm);
    }
  }
}

void measGraphClass::update_graph_statistics() {
  // The extremes of the last solid trace drawn, at their times on the trace
  // (already measured from the flash).
  statistics_[0].set_value(graph_.max_y);
  statistics_[1].set_value(graph_.max_y_x);
  statistics_[2].set_value(graph_.min_y);
  statistics_[3].set_value(graph_.min_y_x);
  blockFields fields{};
  if (record_ && read_block_fields(record_->Average, fields)) {
    statistics_[4].set_value(fields.count);
    statistics_[5].set_value(fields.total_time);
  }
}

void measGraphClass::place_box(boxClass& box, textObjectClass& text, double x, double y, HDC dc,
                               const paper& scale) {
  text.measure(dc, scale);
  box.set_size(text.extent_x() + 2.0, text.extent_y() + 5.0);
  box.move_to(x, y);
  text.move_to(box.left() + 1.0, box.top() + 3.0);
  box.rescale(dc, scale);
}

void measGraphClass::draw_parameter_area(HDC dc, const paper& scale) {
  update_graph_statistics();
  double y = scale.y_px_per_mm > 0.0 ? (graph_.plot_bottom() - scale.y_origin) / scale.y_px_per_mm + 3.0 : 3.0;
  place_box(*parameter_box_, erg_text_, 2.0, y, dc, scale);
  double next = parameter_box_->bottom() + 1.0;

  if (graph_.xhair.shown) {
    xhair_text_.show();
    double value = 0.0;
    if (main_trace_ && amplitude_at(*main_trace_, graph_.xhair.x(), &value)) data_at_.set_value(value);
    xhair_text_.measure(dc, scale);
    xhair_text_.move_to(2.0, next);
    xhair_text_.refresh(dc, scale);
    next = xhair_text_.bottom();
  } else {
    xhair_text_.hide();
  }
  for (textObjectClass* marker : {&marker1_text_, &marker2_text_}) {
    marker->measure(dc, scale);
    marker->move_to(2.0, next);
    if (marker->is_shown()) {
      marker->refresh(dc, scale);
      next = marker->bottom();
    }
  }
  if (marker1_text_.is_shown() && marker2_text_.is_shown()) {
    deltas_text_.measure(dc, scale);
    deltas_text_.move_to(2.0, marker2_text_.bottom());
    if (deltas_text_.is_shown()) deltas_text_.refresh(dc, scale);
  }

  place_box(*statistics_box_, statistics_text_, parameter_box_->right() + 3.0, y, dc, scale);
  date_text_.measure(dc, scale);
  date_text_.move_to(scale.width_mm - date_text_.width() - 1.5, scale.height_mm - date_text_.height() - 1.0);

  erg_text_.refresh(dc, scale);
  statistics_text_.refresh(dc, scale);
  if (date_text_.is_shown()) date_text_.refresh(dc, scale);
}
