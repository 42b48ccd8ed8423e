#include "desktop/windows/samples/sample_cell.h"

#include <cstring>

#include "desktop/winlib/messages/fmt.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/data/samples/sample_layout.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

constexpr int included_colour = 2;  // green
constexpr int excluded_colour = 0;  // red
constexpr int white_plot = 9;

}  // namespace

sampleCell::sampleCell(int number, const traceClass* trace) : number_(number) {
  if (trace) graph_.add_trace(trace);
}

void sampleCell::draw_graph(HDC dc, const paper& scale) {
  graph_.autoscale();
  graphPainter(graph_).draw(dc, scale);
}

void sampleCell::print(HDC dc, const paper& page, double x, double y, bool included) {
  RECT box{page.px_x(x), page.px_y(y), page.px_x(x + sample_cell_mm), page.px_y(y + sample_cell_mm)};
  FillRect(dc, &box, table_brush(included ? included_colour : excluded_colour));
  graph_.set_plot_area(x + 1.0, x + sample_cell_mm - 1.0, y + 1.0, y + sample_cell_mm - 1.0, page, white_plot);
  draw_graph(dc, page);
  if (!included) {
    HGDIOBJ old_pen = SelectObject(dc, table_pen(5));
    MoveToEx(dc, box.left, box.top, nullptr);
    LineTo(dc, box.right, box.bottom);
    SelectObject(dc, old_pen);
  }
  const char* label = fmt("Sample %2d", number_);
  int length = static_cast<int>(std::strlen(label));
  SIZE size = utf8_text_extent(dc, label, length);
  int old_align = SetTextAlign(dc, TA_LEFT | TA_TOP);
  utf8_text_out(dc, page.px_x(x + sample_cell_mm / 2.0) - size.cx / 2, page.px_y(y + sample_cell_mm + 0.5), label,
                length);
  SetTextAlign(dc, old_align);
}
