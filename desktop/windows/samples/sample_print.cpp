// The printed sample selection: the average of the included samples on the
// first page, then every sample in a 40 mm cell, green when included and red
// (and crossed) when not, as many pages as the cells take.
#include <cstdio>
#include <cstring>
#include <memory>

#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/windows/device_link/device_link.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/data/program_version.h"
#include "desktop/windows/samples/sample_cell.h"
#include "desktop/data/samples/sample_layout.h"
#include "desktop/windows/samples/sample_select.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

constexpr int white_plot = 9;

SIZE text_size(HDC dc, const char* text) {
  SIZE size = utf8_text_extent(dc, text, -1);
  return size;
}

void put_text(HDC dc, int x, int y, const char* text) { utf8_text_out(dc, x, y, text, -1); }

}  // namespace

bool sampleSelectWindowClass::print() {
  if (!samples_) return false;
  PRINTDLGA* job = print_begin(hwnd(), "ERG Print Job", nullptr);
  if (!job) return false;
  SYSTEMTIME now;
  GetLocalTime(&now);
  char when[64];
  std::snprintf(when, sizeof when, "%.2d %s %d  %.2d:%.2d:%.2d", now.wDay, month_name(now.wMonth), now.wYear,
                now.wHour, now.wMinute, now.wSecond);
  char heading[80];
  std::snprintf(heading, sizeof heading, "[%5s]", title());

  HDC dc = job->hDC;
  auto caps = print_dialog_ui().device_caps;
  int width = caps(dc, HORZRES);
  int height = caps(dc, VERTRES);
  paper page;
  page.rescale(width, height, caps(dc, HORZSIZE), caps(dc, VERTSIZE));
  page.set_origin(0, 0);
  page.copy_to(printer_paper);
  samplePrintPlan plan = plan_sample_print(samples_->get_count(), page.width_mm, page.height_mm);

  // The average graph of page 1, over the samples list as the test shows it.
  auto average = std::make_unique<graphClass>();
  double c = plan.centre;
  average->set_plot_area(c - sample_print_average_half_width_mm, c + sample_print_average_half_width_mm,
                         sample_print_average_top_mm, sample_print_average_bottom_mm, page, white_plot);
  if (traceClass* trace = samples_->average()) {
    tracePlusClass* entry = average->add_trace(trace);
    if (entry) {
      entry->set_sample_list(samples_);
      entry->active_trace()->use_for_scaling = 1;
    }
    average->autoscale();
  }

  HFONT font = make_font(page.scale_y(4.0), 0, 400, "Arial", 0);
  size_t next = 0;
  for (int number = 0; number < plan.pages; number++) {
    if (number > 0) print_start_page(dc);
    HGDIOBJ old_font = SelectObject(dc, font);
    int old_mode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    HGDIOBJ old_pen = SelectObject(dc, table_pen(5));
    Rectangle(dc, page.px_x(sample_print_left_mm), 0, width - page.scale_x(sample_print_right_mm),
              height - page.scale_y(sample_print_bottom_mm));
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    put_text(dc, page.px_x(c) - text_size(dc, heading).cx / 2, 2, heading);
    SIZE w = text_size(dc, when);
    put_text(dc, width - page.scale_x(sample_print_right_mm) - w.cx - 10, height - w.cy - 3, when);
    const char* program = fmt("TOLMARO V%6.3f%s", program_version, program_title_suffix());
    put_text(dc, page.px_x(sample_print_left_mm + 50.0), height - text_size(dc, program).cy - page.scale_y(0.5),
             program);
    if (number == 0 && average->trace_count() > 0) graphPainter(*average).draw(dc, page);

    for (; next < plan.cells.size() && plan.cells[next].page == number; next++) {
      int k = static_cast<int>(next);
      sampleCell cell(k, samples_->get_trace(k));
      cell.print(dc, page, plan.cells[next].x, plan.cells[next].y, samples_->get_sample_flag(k) != 0);
    }
    if (plan.pages > 1) {
      const char* line = fmt("page %d", number + 1);
      put_text(dc, page.px_x(sample_print_left_mm + 2.0), height - text_size(dc, line).cy - page.scale_y(0.5), line);
    }
    SetBkMode(dc, old_mode);
    SelectObject(dc, old_font);
    if (number + 1 < plan.pages) print_end_page(dc);
  }
  DeleteObject(font);
  return print_end(job);
}
