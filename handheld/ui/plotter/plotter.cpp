#include "handheld/ui/plotter/plotter.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/colour_brushes.h"
#include "handheld/ui/plotter/electrode_graph.h"
#include "handheld/engine/protocols/interpreter_screen.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/acquisition/sample_statistics.h"
#include "handheld/engine/acquisition/signal_filters.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/ui/plotter/result_graph.h"
#include "handheld/ui/dialogs/unit_drawing.h"

namespace {

struct plotterRecord {
  HWND window = nullptr;
  HDC dc = nullptr;
  RECT plot = {0, 0, 0, 0};
  RECT client = {0, 0, 0, 0};
  int plot_colour = 5;
  int frame_colour = 2;
  int axis_pen = 3;
  plotArea area;
  scaleRing scales;
  wchar_t title[64] = L"---";
  int title_colour = 5;
  plotPaintCallback paint = nullptr;
  std::map<int, std::wstring> rows;  // the texts drawn, by row
};

// One plotter at a time; the user-interface thread and the test thread both
// draw, so every operation holds this lock.
std::recursive_mutex plotter_lock;
plotterRecord* current = nullptr;

struct {
  double x_min = 0.0, x_max = 10.0, y_min = 0.0, y_max = 10.0;
  plotPaintCallback paint = nullptr;
} defaults;

HPEN light_blue_pen = nullptr;

COLORREF table_colour(int index) {
  if (index == 8) return RGB(80, 160, 240);
  if (index >= 9 && index <= 16) return colour_of(index - 9);
  return colour_of(index);
}

HPEN table_pen(int index) {
  if (index >= 0 && index < 8) return solid_pens[index];
  if (index == 8) {
    if (light_blue_pen == nullptr) light_blue_pen = CreatePen(PS_SOLID, 1, table_colour(8));
    return light_blue_pen;
  }
  if (index >= 9 && index <= 16) return dash_pens[index - 9];
  return solid_pens[5];
}

HBRUSH table_brush(int index) {
  if (index < 0 || index >= COLOUR_BRUSH_COUNT || brushes[index] == nullptr) {
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  }
  return brushes[index];
}

const scaleEntry& scale() { return current->scales.current(); }
int column_of(double x) { return map_column(scale(), current->area, x); }
int row_of(double y) { return map_row(scale(), current->area, y); }

int cell_top(int row) {
  return row >= 1 ? current->client.top + 12 * row - 13 : current->client.bottom + 12 * row - 1;
}

// Keeps the text of a cell in its row's copy.
void remember(int row, int column, const std::wstring& text) {
  std::wstring& line = current->rows[row];
  if (column < 0) column = 0;
  if (line.size() < static_cast<size_t>(column) + text.size()) line.resize(column + text.size(), L' ');
  line.replace(column, text.size(), text);
}

void text_at(int x, int y, int colour, const std::wstring& text) {
  const bool in_plot = y >= current->plot.top && y <= current->plot.bottom;
  const int old_mode = SetBkMode(current->dc, OPAQUE);
  const COLORREF old_background =
      SetBkColor(current->dc, table_colour(in_plot ? current->plot_colour : current->frame_colour));
  draw_colour_text(current->dc, text.c_str(), x, y, colour);
  SetBkColor(current->dc, old_background);
  SetBkMode(current->dc, old_mode);
}

void cell_text(int colour, int row, int column, const std::wstring& text) {
  HGDIOBJ old = SelectObject(current->dc, fixed_font != nullptr ? fixed_font : GetStockObject(SYSTEM_FIXED_FONT));
  text_at(CELL_WIDTH * column, cell_top(row), colour, text);
  SelectObject(current->dc, old);
  remember(row, column, text);
}

void line_between(int pen, int x1, int y1, int x2, int y2, int rop) {
  HGDIOBJ old = SelectObject(current->dc, table_pen(pen));
  const int old_rop = SetROP2(current->dc, rop);
  MoveToEx(current->dc, x1, y1, nullptr);
  LineTo(current->dc, x2, y2);
  SetROP2(current->dc, old_rop);
  SelectObject(current->dc, old);
}

void clip_on() {
  HRGN region = CreateRectRgn(current->plot.left, current->plot.top, current->plot.right + 1, current->plot.bottom + 1);
  SelectClipRgn(current->dc, region);
  DeleteObject(region);
}

void clip_off() { SelectClipRgn(current->dc, nullptr); }

void draw_title() {
  RECT band = {current->client.left, current->client.top, current->client.right, current->plot.top};
  FillRect(current->dc, &band, table_brush(current->frame_colour));
  const int length = static_cast<int>(std::wcslen(current->title));
  cell_text(current->title_colour, 1, 16 - length / 2, current->title);
  current->rows[1] = current->title;
}

void automatic_axes(int colour, int pen) {
  if (pen != KEEP_COLOUR) current->axis_pen = pen;
  if (colour != KEEP_COLOUR) current->plot_colour = colour;
  FillRect(current->dc, &current->plot, table_brush(current->plot_colour));
  const bool b = channels.current.load() == 1;
  text_at(5, 20, b ? 1 : 7, b ? L"B" : L"A");
  const scaleEntry& e = scale();
  const int axis_column = column_of(e.x_origin);
  line_between(current->axis_pen, axis_column, current->area.top, axis_column, current->area.bottom, R2_COPYPEN);
  HGDIOBJ old_font = SelectObject(current->dc, small_font != nullptr ? small_font : GetStockObject(ANSI_VAR_FONT));
  SIZE size = {0, 0};
  GetTextExtentPoint32W(current->dc, L"0000", 4, &size);
  const int h = size.cy;
  const double y_step = tick_step(e.y_max - e.y_min);
  wchar_t label[32];
  int guard = 0;
  for (double y = std::trunc(e.y_min / y_step) * y_step; y <= e.y_max && guard < 1000; y += y_step, ++guard) {
    const int row = row_of(y);
    if (current->plot.top + h / 2 < row && row < current->plot.bottom - h / 2) {
      line_between(current->axis_pen, axis_column, row, axis_column + 5, row, R2_COPYPEN);
      std::swprintf(label, 32, L"%lg", y);
      text_at(axis_column + 7, row - 8, current->axis_pen, label);
    }
  }
  const int axis_row = row_of(e.y_origin);
  line_between(current->axis_pen, current->area.left, axis_row, current->area.right, axis_row, R2_COPYPEN);
  const double x_step = tick_step(e.x_max - e.x_origin);
  guard = 0;
  for (double t = x_step; t <= e.x_max && guard < 1000; t += x_step, ++guard) {
    const int column = column_of(e.x_origin + t);
    line_between(current->axis_pen, column, axis_row, column, axis_row - 5, R2_COPYPEN);
  }
  std::swprintf(label, 32, L"%lg", e.x_max);
  GetTextExtentPoint32W(current->dc, label, static_cast<int>(std::wcslen(label)), &size);
  text_at(current->area.right - size.cx, axis_row - 20, current->axis_pen, label);
  SelectObject(current->dc, old_font);
}

void repaint() {
  if (current->paint != nullptr) {
    current->paint(current->dc);
    return;
  }
  automatic_axes(current->plot_colour, current->axis_pen);
  draw_title();
}

void create_plotter(HWND dialog) {
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  auto* record = new (std::nothrow) plotterRecord;
  if (record == nullptr) {
    show_message(MESSAGE_INTERNAL, false, "*** CANNOT CREATE PLOTTER ***");
    return;
  }
  record->window = dialog;
  record->dc = GetDC(dialog);
  GetClientRect(dialog, &record->client);
  record->plot = record->client;
  record->plot.top += 14;
  record->plot.bottom -= 38;
  record->area.left = record->plot.left;
  record->area.right = record->plot.right;
  record->area.top = record->plot.top;
  record->area.bottom = record->plot.bottom;
  current = record;
  push_scale(defaults.x_min, defaults.x_max, defaults.y_min, defaults.y_max, -1.0, no_minimum_range);
  current->paint = defaults.paint;
}

void delete_plotter(HWND dialog) {
  // Only the dialog that made the plotter ends it.
  if (current == nullptr || current->window != dialog) return;
  ReleaseDC(current->window, current->dc);
  delete current;
  current = nullptr;
}

// The interpreter's screen, drawn on the plotter.
class plotterScreen : public interpreterScreen {
 public:
  void row_text(int colour, int row, int column, const wchar_t* text) override {
    graph_string1(colour, row, column, L"%ls", text);
  }
  void set_title(const wchar_t* title) override { graph_title(5, L"%ls", title); }
  void save_title() override { saved_ = plotter_title_buffer(); }
  void restore_title() override { graph_title(5, L"%ls", saved_.c_str()); }
  void erase_graph() override { erase_background_draw_axes(KEEP_COLOUR, KEEP_COLOUR); }
  void show_test_label(const testFileRecord& record) override {
    show_filter_labels();
    ::show_test_label(&record, channels.current.load());
  }
  void draw_sweep(const samplesBlock& sweep, double scale, double offset) override {
    plot(&sweep, 0, scale, offset);
  }
  void request_menu(int page, int menu) override;
  void show_result(const testFileRecord* records) override;

 private:
  std::wstring saved_;
};

void plotterScreen::request_menu(int page, int menu) { ::request_menu(main_dialog, page, menu, nullptr, 0, false); }

void plotterScreen::show_result(const testFileRecord* records) {
  if (records == nullptr) return;
  const testFileRecord& shown = records[channels.current.load() == 1 ? 1 : 0];
  show_test_result(&shown, &shown.Average, &shown.LastSweep);
}

plotterScreen the_screen;

}  // namespace

bool plotter_exists() {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  return current != nullptr;
}

bool graph_active(const wchar_t* caller) {
  if (current != nullptr) return true;
  show_message(4, false, "###\n%ls:\n CALL W/O GRAPH BEING ACTIVE.\n###", caller);
  return false;
}

INT_PTR CALLBACK graph_dialog_procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  switch (message) {
    case WM_INITDIALOG:
      if (current != nullptr) {
        show_message(0, false, "***  CANNOT  ***\n*** create ***\n*** second ***\n*** plotter. ***");
        return TRUE;
      }
      create_plotter(dialog);
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(dialog, &ps);
      if (current != nullptr && current->window == dialog) repaint();
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(table_brush(2));
    case WM_DESTROY:
      // However the dialog ends, its plotter ends with it.
      delete_plotter(dialog);
      return FALSE;
    case WM_USER:
      if (wParam == PAGE_CLOSE) {
        delete_plotter(dialog);
        DestroyWindow(dialog);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void set_plot_defaults(double x_min, double x_max, double y_min, double y_max, plotPaintCallback callback) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  defaults.x_min = x_min;
  defaults.x_max = x_max;
  defaults.y_min = y_min;
  defaults.y_max = y_max;
  defaults.paint = callback;
}

int push_scale(double x_min, double x_max, double y_min, double y_max, double x_origin, double min_range) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"push_scale")) return 0;
  fill_scale_entry(current->scales.push(), current->area, x_min, x_max, y_min, y_max, x_origin, min_range);
  return 1;
}

int pop_scale() {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"pop_scale")) return 0;
  current->scales.pop();
  return 1;
}

int set_scale(double x_min, double x_max, double y_min, double y_max, double x_origin) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"set_scale")) return 0;
  fill_scale_entry(current->scales.current(), current->area, x_min, x_max, y_min, y_max, x_origin,
                   no_minimum_range);
  return 1;
}

int erase_background(int colour) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"erase_background")) return 0;
  if (colour != KEEP_COLOUR) current->plot_colour = colour;
  FillRect(current->dc, &current->plot, table_brush(current->plot_colour));
  return 1;
}

int erase_background_draw_axes(int colour, int pen) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"erase_background_draw_axes")) return 0;
  automatic_axes(colour, pen);
  return 1;
}

int draw_axes(int pen, double xa, double ya, double first_x, double x_step, double first_y, double y_step) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"draw_axes")) return 0;
  const scaleEntry& e = scale();
  line_between(pen, column_of(xa), row_of(e.y_min), column_of(xa), row_of(e.y_max), R2_COPYPEN);
  line_between(pen, column_of(e.x_min), row_of(ya), column_of(e.x_max), row_of(ya), R2_COPYPEN);
  HGDIOBJ old_font = SelectObject(current->dc, small_font != nullptr ? small_font : GetStockObject(ANSI_VAR_FONT));
  wchar_t label[32];
  SIZE size;
  const double tick_y = (e.y_max - e.y_min) * 0.05;
  if (x_step > 0) {
    int guard = 0;
    for (double x = first_x; x < e.x_max && guard < 1000; x += x_step, ++guard) {
      const int column = column_of(x);
      line_between(pen, column, row_of(ya), column, row_of(ya + tick_y), R2_COPYPEN);
      std::swprintf(label, 32, L"%lg", x);
      GetTextExtentPoint32W(current->dc, label, static_cast<int>(std::wcslen(label)), &size);
      int left = column - size.cx / 2;
      if (left + size.cx > current->area.right) left = current->area.right - size.cx;
      if (left < 0) left = 0;
      text_at(left, row_of(ya + tick_y) - 12, pen, label);
    }
  }
  if (y_step > 0) {
    int doublings = 0;
    while ((e.y_max - e.y_min) / y_step > 8 && doublings++ < 64) y_step *= 2;
    const double tick_x = (e.x_max - e.x_min) * 0.05;
    int guard = 0;
    for (double y = first_y; y < e.y_max && guard < 1000; y += y_step, ++guard) {
      const int row = row_of(y);
      line_between(pen, column_of(xa), row, column_of(xa + tick_x), row, R2_COPYPEN);
      std::swprintf(label, 32, L"%lg", y);
      GetTextExtentPoint32W(current->dc, label, static_cast<int>(std::wcslen(label)), &size);
      const int top = row - 7;
      if (top >= current->plot.top && top + size.cy <= current->plot.bottom) {
        text_at(column_of(xa + tick_x) + 2, top, pen, label);
      }
    }
  }
  SelectObject(current->dc, old_font);
  return 1;
}

int plot_sample(const samplesBlock* block, int pen, double scale_value, double offset) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (current == nullptr || current->window == nullptr) {
    defer_message(4, "### NO GRAPH DIALOG ###");
    return 0;
  }
  if (block == nullptr) {
    defer_message(4, "### plot_sample, testdata is NULL ###");
    return 0;
  }
  char text[80];
  if (block->PointCount < 2 || block->PointCount > kSamplesPerBlock) {
    std::snprintf(text, sizeof text, "### plot_sample, PointCount = %d ###", block->PointCount);
    defer_message(4, text);
    return 0;
  }
  if (block->Time == 0) {
    std::snprintf(text, sizeof text, "### plot_sample, Time = %u mS ###", block->Time);
    defer_message(4, text);
    return 0;
  }
  std::vector<POINT> points;
  points.reserve(block->PointCount);
  for (int32_t i = 0; i < block->PointCount; ++i) {
    const double t = static_cast<double>(i) * block->Time / (block->PointCount - 1);
    int row = row_of(uV(*block, t, scale_value, offset));
    if (row < current->plot.top) row = current->plot.top;
    if (row > current->plot.bottom) row = current->plot.bottom;
    points.push_back({column_of(t), row});
  }
  HGDIOBJ old = SelectObject(current->dc, table_pen(pen));
  Polyline(current->dc, points.data(), static_cast<int>(points.size()));
  SelectObject(current->dc, old);
  return 1;
}

int plot(const samplesBlock* block, int pen, double scale_value, double offset) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"plot")) return 0;
  if (block == nullptr || block->PointCount < 2 || block->PointCount > kSamplesPerBlock || block->Time == 0) {
    return plot_sample(block, pen, scale_value, offset);  // its refusal reports the block
  }
  std::unique_ptr<samplesBlock> copy(new (std::nothrow) samplesBlock(*block));
  if (!copy) {
    defer_message(4, "### MEMORY ALLOCATION FAILURE ###");
    return 0;
  }
  const int32_t count = block->PointCount;
  const int32_t step = thinning_step(count, static_cast<int32_t>(system_parameter(PARAM_GRAPHDATAPOINTS)));
  const double lp = system_parameter(PARAM_LPFREQ);
  const int32_t n = thinned_count(count, step);
  if (lp == 0.0 || !lowpass_applies(n)) {
    if (step == 1) return plot_sample(block, pen, scale_value, offset);
    for (int32_t k = 0; k < n; ++k) copy->Data[k] = block->Data[k * step];
    copy->PointCount = n;
    return plot_sample(copy.get(), pen, scale_value, offset);
  }
  std::vector<double> values(n);
  for (int32_t k = 0; k < n; ++k) values[k] = block->Data[k * step];
  const int taps = lowpass_taps(n);
  const double rate = (n - 1) * 1000.0 / block->Time;
  int m = 0;
  std::vector<double> filtered = lowpass_filter_trace(values.data(), n, taps, m, lp, rate);
  if (m <= 0 || static_cast<int>(filtered.size()) < m) return plot_sample(copy.get(), pen, scale_value, offset);
  const int32_t h = (n - m) / 2 + 1;
  int32_t at = 0;
  for (int32_t i = h; i < 2 * h && i < count && at < kSamplesPerBlock; ++i) copy->Data[at++] = block->Data[i];
  for (int i = 0; i < m && at < kSamplesPerBlock; ++i) copy->Data[at++] = static_cast<int32_t>(filtered[i]);
  copy->PointCount = at;
  copy->Time = static_cast<uint32_t>(block->Time - static_cast<double>(h) * block->Time / (n - 1));
  return plot_sample(copy.get(), pen, scale_value, offset);
}

int plot_last_sweep(const testFileRecord* record, int pen) {
  if (record == nullptr) return plot_sample(nullptr, pen, 1.0, 0.0);
  return plot_sample(&record->LastSweep, pen, record->Config.Scale, record->Config.Offset);
}

int plot_average(const testFileRecord* record, int pen) {
  if (record == nullptr) return plot_sample(nullptr, pen, 1.0, 0.0);
  return plot_sample(&record->Average, pen, record->Config.Scale, record->Config.Offset);
}

int xypoint(int colour, double x, double y) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"xypoint")) return 0;
  int column = column_of(x), row = row_of(y);
  if (column < current->area.left) column = current->area.left;
  if (column > current->area.right) column = current->area.right;
  if (row < current->area.top) row = current->area.top;
  if (row > current->area.bottom) row = current->area.bottom;
  SetPixel(current->dc, column, row, table_colour(colour));
  return 1;
}

int hline(double y, int pen) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"hline")) return 0;
  const int row = row_of(y);
  line_between(pen, current->area.left, row, current->area.right, row, R2_COPYPEN);
  return 1;
}

int xyline(int pen, double x1, double y1, double x2, double y2, int raster_mode) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"xyline")) return 0;
  line_between(pen, column_of(x1), row_of(y1), column_of(x2), row_of(y2), raster_mode);
  return 1;
}

int xyplus(int pen, double x, double y, int half) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"xyplus")) return 0;
  const int column = column_of(x), row = row_of(y);
  const RECT& r = current->plot;
  if (column < r.left || column > r.right || row < r.top || row > r.bottom) return 1;
  clip_on();
  line_between(pen, column - half, row, column + half + 1, row, R2_COPYPEN);
  line_between(pen, column, row - half, column, row + half + 1, R2_COPYPEN);
  clip_off();
  return 1;
}

int xyhmarker(int pen, double y) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"xyhmarker")) return 0;
  const int row = row_of(y);
  line_between(pen, current->area.left, row, current->area.right, row, R2_XORPEN);
  return row;
}

int graph_string1(int colour, int row, int column, const wchar_t* format, ...) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"graph_string1")) return 0;
  wchar_t text[128];
  va_list args;
  va_start(args, format);
  if (std::vswprintf(text, 128, format, args) < 0) text[127] = L'\0';
  va_end(args);
  cell_text(colour, row, column, text);
  return 1;
}

int graph_string2(int colour, int row, int column, const char* format, ...) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"graph_string2")) return 0;
  char text[128];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  cell_text(colour, row, column, widen(std::string(text).substr(0, 62)));
  return 1;
}

int graph_title(int colour, const wchar_t* format, ...) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!graph_active(L"graph_title")) return 0;
  wchar_t text[256];
  va_list args;
  va_start(args, format);
  if (std::vswprintf(text, 256, format, args) < 0) text[255] = L'\0';
  va_end(args);
  std::wcsncpy(current->title, text, 63);
  current->title[63] = L'\0';
  if (colour != KEEP_COLOUR) current->title_colour = colour;
  draw_title();
  return 1;
}

int graph_title_narrow(int colour, const char* format, ...) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (current == nullptr) return 0;
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return graph_title(colour, L"%ls", widen(std::string(text).substr(0, 63)).c_str());
}

SIZE plotter_cell_text_extent(const std::wstring& text) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  SIZE size = {0, 0};
  if (current == nullptr) return size;
  HGDIOBJ old = SelectObject(current->dc, fixed_font != nullptr ? fixed_font : GetStockObject(SYSTEM_FIXED_FONT));
  GetTextExtentPoint32W(current->dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(current->dc, old);
  return size;
}

RECT plotter_client_rect() {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  return current != nullptr ? current->client : RECT{0, 0, 0, 0};
}

std::wstring plotter_title_buffer() {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  return current != nullptr ? current->title : L"";
}

double to_scale_units(double y) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  return current != nullptr ? y - scale().y_min : 123.4;
}

int clear_graph_strings() {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!plotter_exists()) return 0;
  const std::wstring blanks(33, L' ');
  for (int row = -1; row >= -3; --row) {
    current->rows[row].clear();
    cell_text(5, row, 0, blanks);
  }
  const std::string eye = eye_label(channels.a_on.load() != 0, channels.b_on.load() != 0,
                                    channels.eye_a.load() == kEyeNone ? 1 : channels.eye_a.load() == kEyeOD ? 2 : 3,
                                    channels.eye_b.load() == kEyeNone ? 1 : channels.eye_b.load() == kEyeOD ? 2 : 3);
  graph_string2(5, -3, 0, "%-10.10s", eye.c_str());
  return 1;
}

int show_filter_labels() {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!plotter_exists()) return 0;
  graph_string2(5, -2, 0, "[%10s]", "0000000000");
  const double lp = system_parameter(PARAM_LPFREQ);
  if (lp != 0.0) graph_string2(0, -2, 13, "LP%d", static_cast<int>(lp));
  const double notch = system_parameter(PARAM_NOTCHFREQ);
  if (notch != 0.0) graph_string2(0, -2, 19, "%dHz", static_cast<int>(notch));
  const double flash_fill = system_parameter(PARAM_FLASHFILL), background_fill = system_parameter(PARAM_BKGFILL);
  if (fill_in_fitted() && flash_fill + background_fill > 0) {
    graph_string2(0, -2, 12, "FILL[%3.0f,%3.0f%s]", flash_fill, background_fill, "%");
  }
  return 1;
}

int show_test_label(const testFileRecord* record, int channel) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (!plotter_exists() || record == nullptr) return 0;
  return graph_string1(5, -1, 0, L"Test:%ls", make_test_name(*record, channel).c_str());
}

std::wstring plotter_row_text(int row) {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  if (current == nullptr) return L"";
  auto found = current->rows.find(row);
  return found != current->rows.end() ? found->second : L"";
}

scaleEntry plotter_scale() {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  return current != nullptr ? scale() : scaleEntry();
}

RECT plotter_plot_rect() {
  std::lock_guard<std::recursive_mutex> hold(plotter_lock);
  return current != nullptr ? current->plot : RECT{0, 0, 0, 0};
}

void install_plotter_screen(bool install) {
  set_interpreter_screen(install ? &the_screen : nullptr);
  install_electrode_graph(install);
}
