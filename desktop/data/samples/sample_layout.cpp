#include "desktop/data/samples/sample_layout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double grid_row_mm = 40.5;
constexpr double grid_frame_mm = 7.0;
constexpr double grid_gap_mm = 1.0;
constexpr int most_added_columns = 5;

int rows_for(int samples, int columns) { return (samples + columns - 1) / columns; }

}  // namespace

sampleGrid sample_grid(int samples, double screen_height_mm) {
  sampleGrid grid;
  if (samples <= 0) return grid;
  if (samples < 6) {
    grid.columns = samples;
    grid.rows = 1;
    return grid;
  }
  grid.columns = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(samples))));
  grid.rows = rows_for(samples, grid.columns);
  for (int added = 0; added < most_added_columns; added++) {
    if (grid.rows * grid_row_mm + grid_frame_mm <= 0.9 * screen_height_mm) break;
    grid.columns++;
    grid.rows = rows_for(samples, grid.columns);
  }
  return grid;
}

void sample_grid_place(const sampleGrid& grid, int k, double cell_width, double cell_height, double* x, double* y) {
  int columns = std::max(1, grid.columns);
  *x = (k % columns) * (cell_width + grid_gap_mm);
  *y = (k / columns) * (cell_height + grid_gap_mm);
}

windowBox sample_selection_box(const sampleGrid& grid, double cell_width, double cell_height, double wanted_y,
                               double screen_width_mm, double screen_height_mm) {
  windowBox box;
  box.width = grid.columns * (cell_width + grid_gap_mm) + grid_gap_mm;
  box.height = grid.rows * (cell_height + 0.5) + 14.0 + 0.5;
  box.x = screen_width_mm - box.width;
  box.y = std::max(0.0, std::min(wanted_y, screen_height_mm - box.height));
  return box;
}

samplePrintPlan plan_sample_print(int samples, double page_width_mm, double page_height_mm) {
  samplePrintPlan plan;
  double pitch = sample_cell_mm + sample_print_spacing_mm;
  double usable = page_width_mm - sample_print_left_mm - sample_print_right_mm;
  plan.centre = usable / 2.0 + sample_print_left_mm;
  plan.per_row = std::max(1, static_cast<int>(usable / pitch));
  double row_left = plan.centre - (plan.per_row * pitch - sample_print_spacing_mm) / 2.0;
  double bottom = page_height_mm - sample_print_bottom_mm;
  if (samples <= 0) return plan;

  int page = 0;
  int rows_on_page = 0;
  double top = sample_print_average_bottom_mm + 5.0;
  for (int k = 0; k < samples; k += plan.per_row) {
    if (rows_on_page > 0 && top + sample_cell_mm + sample_print_label_mm > bottom) {
      page++;
      rows_on_page = 0;
      top = sample_print_average_top_mm;
    }
    for (int j = 0; j < plan.per_row && k + j < samples; j++)
      plan.cells.push_back(samplePrintCell{page, row_left + j * pitch, top});
    rows_on_page++;
    top += pitch;
  }
  plan.pages = page + 1;
  return plan;
}
