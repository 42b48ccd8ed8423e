// The unit's graph plotter: at most one at a time, inside the graph dialog
// (resource 127), drawing a recorded block against time with axes, ticks,
// markers, a title line and three text rows below the plot. The protocol
// interpreter, the calibration and electrode pages, the status pages and
// the result graph draw through these operations, all on the one current
// plotter; any thread may call them (one lock is held for each).
//
// Colour arguments index the unit's tables: 0 red, 1 yellow, 2 green,
// 3 blue, 4 magenta, 5 black, 6 grey, 7 white, 8 light blue; 9 to 16 the
// dashed pens of 0 to 7; 17 keeps the current colour.
#ifndef HANDHELD_UI_PLOTTER_PLOTTER_H
#define HANDHELD_UI_PLOTTER_PLOTTER_H

#include <windows.h>

#include <string>

#include "handheld/ui/plotter/plot_scales.h"
#include "handheld/engine/storage/stored_records.h"

const int GRAPH_DIALOG_ID = 127;
const int KEEP_COLOUR = 17;

// The graph dialog's procedure: it makes the plotter on WM_INITDIALOG and
// ends it on PAGE_CLOSE.
INT_PTR CALLBACK graph_dialog_procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A plotter exists; otherwise the caller's name is reported and false.
bool graph_active(const wchar_t* caller);
bool plotter_exists();

typedef void (*plotPaintCallback)(HDC dc);
void set_plot_defaults(double x_min, double x_max, double y_min, double y_max, plotPaintCallback callback);

int push_scale(double x_min, double x_max, double y_min, double y_max, double x_origin, double min_range);
int pop_scale();
int set_scale(double x_min, double x_max, double y_min, double y_max, double x_origin);
int erase_background(int colour);
int erase_background_draw_axes(int colour, int pen);
int draw_axes(int pen, double x_axis, double y_axis, double first_x, double x_step, double first_y, double y_step);
int plot(const samplesBlock* block, int pen, double scale, double offset);
int plot_sample(const samplesBlock* block, int pen, double scale, double offset);
int plot_last_sweep(const testFileRecord* record, int pen);
int plot_average(const testFileRecord* record, int pen);
int xypoint(int colour, double x, double y);
int hline(double y, int pen);
int xyline(int pen, double x1, double y1, double x2, double y2, int raster_mode);
int xyplus(int pen, double x, double y, int half_size);
int xyhmarker(int pen, double y);
int graph_string1(int colour, int row, int column, const wchar_t* format, ...);
int graph_string2(int colour, int row, int column, const char* format, ...) __attribute__((format(gnu_printf, 4, 5)));
int graph_title(int colour, const wchar_t* format, ...);
int graph_title_narrow(int colour, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
// The current title (empty without a plotter).
std::wstring plotter_title_buffer();
// y less the current entry's y minimum; 123.4 without a plotter.
double to_scale_units(double y);
int clear_graph_strings();
int show_filter_labels();
int show_test_label(const testFileRecord* record, int channel);

// The texts drawn since the rows were last cleared, by row (title: row 1;
// rows -1, -2, -3 below the plot), each cell at its column: what a test
// reads in place of pixels.
std::wstring plotter_row_text(int row);
// A cell text's extent as the plotter draws it (its font on its device
// context; 0 x 0 without a plotter), and the graph's client rectangle.
SIZE plotter_cell_text_extent(const std::wstring& text);
RECT plotter_client_rect();
// The current scale entry (a copy), and the plot rectangle.
scaleEntry plotter_scale();
RECT plotter_plot_rect();

// The interpreter's and the electrode measurements' screens on the
// plotter: installs them (false: headless).
void install_plotter_screen(bool install);

#endif
