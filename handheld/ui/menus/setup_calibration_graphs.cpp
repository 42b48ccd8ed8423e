#include "handheld/ui/menus/setup_calibration_graphs.h"

#include <algorithm>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/menus/setup_calibration_run.h"
#include "handheld/ui/menus/setup_menus.h"

namespace {

const int COPY_MODE = R2_COPYPEN;
const int INVERT_MODE = R2_NOT;  // raster mode 6
const int BLACK = 5;
const int RED = 0;
const int GREEN = 2;
const int WHITE = 7;  // the plot's background: the points are black
const int PLUS_HALF_SIZE = 10;
const int FULL_SCALE_COUNTS = 8388608;
const int MID_SCALE_COUNTS = 4194304;
const int CAPTURE_POINTS_SHOWN = 1000;

calibrationRun& run = calibration_run;

// The plot erased on a scale that always has a width and a height.
void scale_to(double x_min, double x_max, double y_min, double y_max) {
  if (!(x_max > x_min)) x_max = x_min + 1.0;
  if (!(y_max > y_min)) y_max = y_min + 1.0;
  set_scale(x_min, x_max, y_min, y_max, x_min);
  erase_background_draw_axes(WHITE, KEEP_COLOUR);
}

void plot_points(int pen) {
  for (int i = 0; i < run.line.count; ++i) xyplus(pen, run.line.points[i].x, run.line.points[i].y, PLUS_HALF_SIZE);
}

// The points' range widened by a share of it on each side.
void scale_to_points(double margin) {
  const double dx = (run.line.largest_x - run.line.smallest_x) * margin;
  const double dy = (run.line.largest_y - run.line.smallest_y) * margin;
  scale_to(run.line.smallest_x - dx, run.line.largest_x + dx, run.line.smallest_y - dy, run.line.largest_y + dy);
}

void fitted_line(int pen, int mode) {
  xyline(pen, run.line.smallest_x, line_fit_value(run.line, run.line.smallest_x), run.line.largest_x,
         line_fit_value(run.line, run.line.largest_x), mode);
}

}  // namespace

void plot_flash_calibration(HDC) {
  line_fit_value(run.line, 0.0);
  const bool curve = poly_fit_value(run.poly, 0.0) != kResultNotObtained;
  const double x_min = std::min(run.line.smallest_x - 500.0, 9500.0);
  const double x_max = std::max(run.line.largest_x + 500.0, 30800.0);
  const double y_min = curve ? std::min(poly_fit_value(run.poly, 9500.0), 0.3) : 0.3;
  const double y_max = curve ? std::max(poly_fit_value(run.poly, 30800.0), 0.5) : 0.5;
  scale_to(x_min, x_max, y_min, y_max);
  graph_title(BLACK, L"FLASH INTENSITY CALIBRATION");
  const char* const labels[3] = {"C0: %10lg -> %10lg", "C1: %10lg -> %10lg", "C2: %10lg -> %10lg"};
  for (int t = 0; t < 3; ++t) graph_string2(BLACK, t - 3, 0, labels[t], run.old_values[t], run.poly.coefficients[t]);
  plot_points(BLACK);
  xyline(GREEN, x_min, line_fit_value(run.line, x_min), x_max, line_fit_value(run.line, x_max), COPY_MODE);
  if (!curve) return;
  for (double x = x_min; x <= x_max; x += 50.0) xypoint(RED, x, poly_fit_value(run.poly, x));
}

void plot_background_calibration(HDC) {
  line_fit_value(run.line, 0.0);
  const double x_min = run.line.smallest_x - 100.0, x_max = run.line.largest_x + 100.0;
  const double y_at_min = run.old_values[0] * x_min + run.old_values[1];
  const double y_at_max = run.old_values[0] * x_max + run.old_values[1];
  scale_to(x_min, x_max, std::min(y_at_min, y_at_max), std::max(y_at_min, y_at_max));
  graph_title(BLACK, L"BACKGROUND INTENSITY CALIBRATION");
  graph_string2(BLACK, -3, 1, "s: %10lg -> %lg volt/mcd", run.old_values[0], run.line.slope);
  graph_string2(BLACK, -2, 1, "i: %10lg -> %lg volt", run.old_values[1], run.line.intercept);
  xyline(RED, x_min, line_fit_value(run.line, x_min), x_max, line_fit_value(run.line, x_max), INVERT_MODE);
  plot_points(BLACK);
}

void plot_datapoint_acquisition(HDC) {
  scale_to(0.0, CAPTURE_POINTS_SHOWN, 0.0, FULL_SCALE_COUNTS);
  if (run.capture) {
    const int shown = std::min(CAPTURE_POINTS_SHOWN, run.capture->PointCount + 1);
    for (int i = 0; i < shown; ++i) xypoint(BLACK, i, run.capture->Data[i]);
  }
  hline(run.mean_peak, 11);
  hline(MID_SCALE_COUNTS, RED);
  hline(run.mean_trough, 12);
  graph_string2(BLACK, -3, 1, "Is sinewave distortion free");
  graph_string2(BLACK, -2, 1, "and approximately centered?");
  graph_string2(BLACK, -1, 1, "t-b: %lg", run.mean_peak - run.mean_trough);
}

void plot_data_calibration(HDC) {
  line_fit_value(run.line, 0.0);
  scale_to_points(0.05);
  graph_title(BLACK, L"DATA POINT ACQUISITION");
  graph_string2(BLACK, -3, 2, "Slope    : %lg uV/count", run.line.slope);
  graph_string2(BLACK, -2, 2, "Intercept: %lg uV", run.line.intercept);
  graph_string2(BLACK, -1, 10, "(%lg uV p-p)", run.line.slope * FULL_SCALE_COUNTS);
  plot_points(BLACK);
  fitted_line(RED, INVERT_MODE);
}

void plot_impedance_calibration(HDC) {
  line_fit_value(run.line, 0.0);
  scale_to_points(0.1);
  graph_title_narrow(BLACK, "%s-%s IMPEDANCE RESULTS", calibration_choice.channel == 1 ? "B" : "A",
                     calibration_choice.electrode == 1 ? "REF" : "EYE");
  graph_string2(BLACK, -3, 2, "Slope     : %lg ohms/uV", run.line.slope);
  graph_string2(BLACK, -2, 2, "Intercept : %lg ohms", run.line.intercept);
  plot_points(BLACK);
  fitted_line(RED, COPY_MODE);
}

calibrationPainter calibration_fit_painter(int mode) {
  switch (mode) {
    case CAL_FLASH: return plot_flash_calibration;
    case CAL_BACKGROUND: return plot_background_calibration;
    case CAL_DATA: return plot_data_calibration;
    default: return plot_impedance_calibration;
  }
}
