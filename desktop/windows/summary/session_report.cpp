#include "desktop/windows/summary/session_report.h"

#include <windows.h>

#include <algorithm>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/windows/device_link/device_link.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/data/program_version.h"
#include "desktop/data/record_fields.h"
#include "desktop/data/session/report_pages.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/windows/summary/summary.h"
#include "desktop/windows/table/table.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

constexpr double left_margin_mm = 15.0;
constexpr double right_margin_mm = 5.0;
constexpr double slot_height_mm = 35.0;
constexpr double slot_pitch_mm = 40.0;
constexpr double first_slot_mm = 15.0;
constexpr double table_row_mm = 7.0;
constexpr double table_left_mm = 18.0;
constexpr double summary_page_top_mm = 10.0;

// body rows of the table from body row start, with its header rows, in a
// box at (18 mm, top) as wide as the page less 25 mm.
void print_table_rows(HDC dc, tableClass& table, int start, int body, double top, double page_width_mm,
                      const paper& page) {
  const int rows = body + table.header_row_count();
  table.set_scroll_offset(start);
  table.set_visible_rows(rows);
  table.draw(dc, table_left_mm, top, page_width_mm - 25.0, rows * table_row_mm - 5.0, page, nullptr);
}

SIZE text_size(HDC dc, const char* text) {
  SIZE size = utf8_text_extent(dc, text, -1);
  return size;
}

void put_text(HDC dc, int x, int y, const char* text) { utf8_text_out(dc, x, y, text, -1); }

// The frame, title, print time and page line of a page.
void page_furniture(HDC dc, const paper& page, int width, int height, const char* title, const char* when, int number,
                    int total) {
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  HGDIOBJ old_pen = SelectObject(dc, table_pen(5));
  Rectangle(dc, page.scale_x(left_margin_mm), 0, width - page.scale_x(right_margin_mm),
            height - page.scale_y(right_margin_mm));
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  SIZE t = text_size(dc, title);
  put_text(dc, (width - page.scale_x(left_margin_mm)) / 2 - t.cx / 2, 2, title);
  SIZE w = text_size(dc, when);
  put_text(dc, width - page.scale_x(right_margin_mm) - w.cx - 10, height - w.cy - 3, when);
  const char* line = fmt("page %d of %d", number, total);
  SIZE l = text_size(dc, line);
  put_text(dc, page.scale_x(17.0), height - l.cy - page.scale_y(0.5), line);
}

}  // namespace

bool print_session_report(sessionPanelClass& panel, summaryClass* given) {
  if (panel.thumbnail_count() == 0) {
    errormessage("*** THE SESSION HOLDS NO TESTS TO PRINT ***");
    return false;
  }
  PRINTDLGA* job = print_begin(panel.hwnd(), "ERG Print Job", nullptr);
  if (!job) return false;
  HDC dc = job->hDC;
  auto caps = print_dialog_ui().device_caps;
  int width = caps(dc, HORZRES);
  int height = caps(dc, VERTRES);
  double width_mm = caps(dc, HORZSIZE);
  double height_mm = caps(dc, VERTSIZE);
  paper page;
  page.rescale(width, height, width_mm, height_mm);
  page.set_origin(0, 0);
  page.copy_to(printer_paper);
  SYSTEMTIME now;
  GetLocalTime(&now);
  char when[64];
  std::snprintf(when, sizeof when, "%.2d %s %d  %.2d:%.2d:%.2d", now.wDay, month_name(now.wMonth), now.wYear, now.wHour,
                now.wMinute, now.wSecond);

  // The title names the session's first test.
  byteObjectClass id, text;
  thumbnailClass* first = panel.thumbnail(0);
  if (first && first->loaded()) {
    record_text(first->document().record()->TestId, 20, 10, id);
    record_text(first->document().record()->SessionTitle, 64, 126, text);
  }
  char title[256];
  std::snprintf(title, sizeof title, "TEST ID [%5s], %s REPORT", id.text(), text.text());

  // The summary's table, or one made for the report.
  summaryClass* made = given ? nullptr : new summaryClass(&panel);
  summaryClass* summary = given ? given : made;
  tableClass* table = summary ? summary->table() : nullptr;
  // The scroll and height the summary window shows, given back after.
  const int shown_offset = table ? table->first_shown_row() - table->header_row_count() : 0;
  const int shown_rows = table ? table->visible_rows() : 0;
  const int table_rows = table ? table->row_count() : 0;
  const int heading_rows = table ? table->header_row_count() : 0;

  int count = panel.thumbnail_count();
  reportPages pages = paginate_report(count, height_mm, table_rows, heading_rows);
  HFONT font = make_font(page.scale_y(4.0), page.scale_x(2.0), 400, "Arial", 0);
  int number = 1;
  for (int start = 0; start < count; start += pages.per_page, number++) {
    if (number > 1) print_start_page(dc);
    HGDIOBJ old_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    page_furniture(dc, page, width, height, title, when, number, pages.total);
    const char* program = fmt("TOLMARO V%6.3f%s", program_version, program_title_suffix());
    put_text(dc, page.scale_x(65.0), height - text_size(dc, program).cy - page.scale_y(0.5), program);
    for (int k = 0; k < pages.per_page && start + k < count; k++) {
      thumbnailClass* shown = panel.thumbnail(start + k);
      double y = slot_pitch_mm * k + first_slot_mm;
      auto* print = new thumbnailClass(&panel, shown->number(), 20.0, y, width_mm - 15.0, slot_height_mm, page,
                                       shown->path(), shown->source());
      print->document().set_print_only();
      print->document().copy_analysis_from(shown->document());
      print->measure(dc, page);
      HGDIOBJ old_brush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
      HGDIOBJ old_pen = SelectObject(dc, table_pen(5));
      RoundRect(dc, page.scale_x(left_margin_mm), page.scale_y(y) - 1, width - page.scale_x(right_margin_mm),
                page.scale_y(y + print->height()), page.scale_x(5.0), page.scale_y(5.0));
      SelectObject(dc, old_pen);
      SelectObject(dc, old_brush);
      print->place_x(16.0, 16.0);
      print->place_y(y, y);
      print->draw(dc, page);
      delete print;
    }
    SelectObject(dc, old_font);
    if (start + pages.per_page < count) print_end_page(dc);
  }

  // The table below the last page's tests, then on pages of its own.
  int printed = 0;
  if (table && pages.rows_on_last_test_page > 0) {
    printed = pages.rows_on_last_test_page - heading_rows;
    double top = slot_pitch_mm * (count % pages.per_page) + first_slot_mm;
    print_table_rows(dc, *table, 0, printed, top, width_mm, page);
  }
  while (table && printed + heading_rows < table_rows) {
    print_end_page(dc);
    print_start_page(dc);
    HGDIOBJ old_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    page_furniture(dc, page, width, height, "REPORT SUMMARY", when, number++, pages.total);
    int body = std::min(table_rows - heading_rows - printed, report_summary_page_rows);
    print_table_rows(dc, *table, printed, body, summary_page_top_mm, width_mm, page);
    printed += body;
    SelectObject(dc, old_font);
  }
  DeleteObject(font);
  bool ended = print_end(job);
  if (table) {
    table->set_scroll_offset(shown_offset);
    table->set_visible_rows(shown_rows);
  }
  if (made) delete made;
  else if (summary) summary->invalidate();
  return ended;
}
