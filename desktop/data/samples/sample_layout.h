// Where the sample selection puts its samples: the grid of sample windows on
// the screen and the cells of its printed pages. Pure arithmetic in
// millimetres (portable, tested natively).
#ifndef DESKTOP_DATA_SAMPLES_SAMPLE_LAYOUT_H
#define DESKTOP_DATA_SAMPLES_SAMPLE_LAYOUT_H

#include <vector>

// A sample window (and a printed cell) is this square, in mm.
constexpr double sample_cell_mm = 40.0;

// The selection window's grid of samples.
struct sampleGrid {
  int columns = 1;
  int rows = 0;
};

// Below six samples one row; otherwise as many columns as the square root
// and rows enough for the rest, widened (up to five columns more) while the
// rows of 40.5 mm and the window's 7 mm would take more than 90 % of a
// screen screen_height_mm high. No samples: one column, no row.
sampleGrid sample_grid(int samples, double screen_height_mm);

// Top-left corner of sample k's window in the selection window's client
// area, for windows cell_width by cell_height mm: one mm apart, row by row.
void sample_grid_place(const sampleGrid& grid, int k, double cell_width, double cell_height, double* x, double* y);

struct windowBox {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
};

// The selection window around the grid, against the right edge of the
// screen, at wanted_y lowered to keep it on the screen but never above 0.
windowBox sample_selection_box(const sampleGrid& grid, double cell_width, double cell_height, double wanted_y,
                               double screen_width_mm, double screen_height_mm);

// The printed selection.
constexpr double sample_print_left_mm = 15.0;
constexpr double sample_print_right_mm = 5.0;
constexpr double sample_print_bottom_mm = 5.0;
constexpr double sample_print_spacing_mm = 6.0;
constexpr double sample_print_label_mm = 4.5;  // "Sample %2d", 0.5 mm below its cell, 4 mm high
constexpr double sample_print_average_top_mm = 10.0;
constexpr double sample_print_average_bottom_mm = 70.0;
constexpr double sample_print_average_half_width_mm = 80.0;

struct samplePrintCell {
  int page = 0;  // from 0
  double x = 0.0;
  double y = 0.0;
};

struct samplePrintPlan {
  double centre = 0.0;  // of the usable width, where titles and the average go
  int per_row = 1;
  int pages = 0;
  std::vector<samplePrintCell> cells;  // one per sample, in sample order
};

// Cells of 40 mm, 46 mm apart, as many to a row as the usable width (page
// less 20 mm of margins) holds (at least one), the row centred; page 1 starts
// 5 mm below the average graph, later pages at 10 mm; a row that would reach
// into the bottom margin with its labels starts a new page (a page always
// takes at least one row).
samplePrintPlan plan_sample_print(int samples, double page_width_mm, double page_height_mm);

#endif
