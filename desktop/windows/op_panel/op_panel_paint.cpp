// The refresh of an OP panel, on the screen or the printer: the source
// filtered again with the current band, the graph at the current view, the
// sliders with their captions and the texts at the bottom right.
#include <windows.h>

#include <algorithm>

#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/windows/meas_graph/meas_graph_rules.h"
#include "desktop/windows/op_panel/op_panel.h"
#include "desktop/windows/op_panel/op_panel_rules.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/data/trace_filters.h"

namespace {

constexpr int white_index = 9;
constexpr int black_index = 5;
constexpr int centre_line_index = 3;
constexpr double control_strip = 40.0;
constexpr double slider_width = 75.0;

}  // namespace

void opPanelClass::place_right(textObjectClass& text, HDC dc, const paper& scale, double bottom) {
  text.measure(dc, scale);
  text.move_to(scale.width_mm - text.width() - 1.5, bottom - text.height());
}

void opPanelClass::draw(HDC dc, const paper& scale) {
  if (!dc || !shown_ || !source_) return;
  const bool printing = printing_flag != 0;
  const double W = scale.width_mm;
  const double H = scale.height_mm;

  HBRUSH brush = printing ? table_brush(white_index) : background_;
  RECT area{scale.px_x(1.0), scale.px_y(1.0), scale.px_x(W - 1.0), scale.px_y(H - 1.0)};
  if (brush) FillRect(dc, &area, brush);

  caption_text_.measure(dc, scale);
  caption_text_.move_to(W / 2.0 - caption_text_.width() / 2.0, 1.5);
  graph_.set_plot_area_pixels(scale.px_x(2.0), scale.px_x(W - 2.0), scale.px_y(caption_text_.bottom()),
                              scale.px_y(H - control_strip), scale, printing ? 9 : 0);

  // A source too short for the taps is shown as it is (the filter copies it).
  fir_filter_trace(source_.get(), taps_, low_, high_, shown_);

  const int32_t n = shown_->get_count();
  double ymin = 1e8, ymax = -1e8;
  for (int32_t i = 0; i < n; i++) {
    ymin = std::min(ymin, shown_->y(i));
    ymax = std::max(ymax, shown_->y(i));
  }
  double low = 0.0, high = 0.0;
  op_y_range(ymin, ymax, &low, &high);
  graph_.set_y_range(low, high);
  opView view = n > 0 ? op_view(shown_->x(0), shown_->x(n - 1), centre_offset_, magnification_)
                      : opView{0.0, 0.0, 1.0};
  graph_.set_x_range(view.x_min, view.x_max);

  graphPainter(graph_).draw_axes(dc);
  const int32_t colour = shown_->color;
  shown_->color = printing ? black_index : white_index;
  graphPainter(graph_).draw(dc, scale);
  shown_->color = colour;
  const double y0 = graph_.y_map().data_start();
  const double y1 = graph_.y_map().data_end();
  const double span = y1 - y0;
  graphPainter(graph_).draw_line(dc, centre_line_index, view.centre, y0 + span / 8.0, view.centre, y1 - span / 8.0, R2_COPYPEN);

  struct placedSlider {
    trackbarClass* slider;
    double x;
    double rise;
    std::string caption;
  } sliders[] = {{low_slider_.get(), 2.0, 11.0, op_low_caption(low_)},
                 {high_slider_.get(), 2.0, 22.0, op_high_caption(high_)},
                 {centre_slider_.get(), 2.0, 39.0, op_centre_caption(view.centre)},
                 {magnification_slider_.get(), 2.0 + 20.0 + slider_width, 39.0,
                  op_magnification_caption(magnification_)}};
  // The sliders are windows on the screen: a printed page leaves them where
  // they are.
  for (placedSlider& s : sliders) {
    if (!s.slider) continue;
    s.slider->set_caption(s.caption.c_str());
    if (printing) continue;
    s.slider->place(s.x, H - s.rise, scale);
    s.slider->rescale(dc, scale);
  }

  local_time_stamp now = current_local_time();
  date_string_.set_format_text(
      literal_format(date_line_text(now.year, now.month, now.day, now.hour, now.minute, now.second)).c_str());
  band_string_.set_format_text(literal_format(op_band_text(low_, high_)).c_str());
  view_string_.set_format_text(literal_format(op_view_text(view.centre, magnification_)).c_str());
  place_right(date_text_, dc, scale, H - 1.0);
  place_right(band_text_, dc, scale, date_text_.top() - 0.5);
  place_right(view_text_, dc, scale, band_text_.top() - 0.5);
  paint_items(dc, scale);
}
