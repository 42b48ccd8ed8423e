// Where the selection puts its sample windows and its printed cells.
#include <gtest/gtest.h>

#include "desktop/data/samples/sample_layout.h"

namespace {

TEST(SampleGrid, ColumnsAndRowsForTheSampleCount) {
  struct row {
    int samples;
    double screen_mm;
    int columns;
    int rows;
  };
  const row table[] = {
      {0, 270.0, 1, 0},     // nothing to show
      {1, 270.0, 1, 1},     //
      {5, 270.0, 5, 1},     // below six: one row
      {6, 270.0, 2, 3},     // square root 2, three rows (3 x 40.5 + 7 = 128.5 mm fits 243 mm)
      {6, 143.0, 2, 3},     // 128.5 <= 128.7: still fits
      {6, 142.0, 3, 2},     // 128.5 > 127.8: one more column
      {10, 270.0, 3, 4},    // 4 rows: 169 mm
      {40, 270.0, 8, 5},    // 6 x 7 (290.5 mm) and 7 x 6 (250 mm) too tall for 243 mm: 8 x 5
      {40, 1000.0, 6, 7},   // a tall screen keeps the square
      {100, 100.0, 15, 7},  // at most five columns more, however tall it stays
  };
  for (const row& r : table) {
    sampleGrid grid = sample_grid(r.samples, r.screen_mm);
    EXPECT_EQ(grid.columns, r.columns) << r.samples << " samples on " << r.screen_mm << " mm";
    EXPECT_EQ(grid.rows, r.rows) << r.samples << " samples on " << r.screen_mm << " mm";
  }
}

TEST(SampleGrid, WindowsGoRowByRowAndTheSelectionStaysOnTheScreen) {
  sampleGrid grid = sample_grid(7, 270.0);  // 2 columns, 4 rows
  double x = -1.0;
  double y = -1.0;
  sample_grid_place(grid, 0, 40.0, 40.0, &x, &y);
  EXPECT_DOUBLE_EQ(x, 0.0);
  EXPECT_DOUBLE_EQ(y, 0.0);
  sample_grid_place(grid, 3, 40.0, 40.0, &x, &y);
  EXPECT_DOUBLE_EQ(x, 41.0);
  EXPECT_DOUBLE_EQ(y, 41.0);
  sample_grid_place(grid, 6, 40.0, 40.0, &x, &y);
  EXPECT_DOUBLE_EQ(x, 0.0);
  EXPECT_DOUBLE_EQ(y, 123.0);

  windowBox box = sample_selection_box(grid, 40.0, 40.0, 20.0, 338.0, 270.0);
  EXPECT_DOUBLE_EQ(box.width, 2 * 41.0 + 1.0);
  EXPECT_DOUBLE_EQ(box.height, 4 * 40.5 + 14.5);
  EXPECT_DOUBLE_EQ(box.x, 338.0 - 83.0);
  EXPECT_DOUBLE_EQ(box.y, 20.0);
  // Asked too low: lifted to end at the screen's bottom; too tall: at the top.
  EXPECT_DOUBLE_EQ(sample_selection_box(grid, 40.0, 40.0, 200.0, 338.0, 270.0).y, 270.0 - 176.5);
  EXPECT_DOUBLE_EQ(sample_selection_box(grid, 40.0, 40.0, 200.0, 338.0, 150.0).y, 0.0);
}

TEST(SamplePrint, TwelveSamplesFillThreeRowsOfPageOneBelowTheAverage) {
  samplePrintPlan plan = plan_sample_print(12, 210.0, 297.0);  // usable 190 mm: four cells of 46
  EXPECT_EQ(plan.per_row, 4);
  EXPECT_EQ(plan.pages, 1);
  ASSERT_EQ(plan.cells.size(), 12u);
  EXPECT_DOUBLE_EQ(plan.centre, 110.0);
  double row_left = 110.0 - (4 * 46.0 - 6.0) / 2.0;
  EXPECT_DOUBLE_EQ(plan.cells[0].x, row_left);
  EXPECT_DOUBLE_EQ(plan.cells[0].y, 75.0);
  EXPECT_DOUBLE_EQ(plan.cells[3].x, row_left + 3 * 46.0);
  EXPECT_DOUBLE_EQ(plan.cells[4].x, row_left);
  EXPECT_DOUBLE_EQ(plan.cells[4].y, 121.0);
  EXPECT_DOUBLE_EQ(plan.cells[11].y, 167.0);
}

TEST(SamplePrint, RowsThatReachTheBottomMarginGoToTheNextPage) {
  // A4: page 1 holds rows at 75, 121, 167, 213 (213 + 44.5 <= 292); a fifth
  // at 259 would not. Later pages start at 10 mm and hold six rows.
  samplePrintPlan plan = plan_sample_print(4 * 4 + 4 * 6 + 1, 210.0, 297.0);
  EXPECT_EQ(plan.pages, 3);
  EXPECT_EQ(plan.cells[15].page, 0);
  EXPECT_DOUBLE_EQ(plan.cells[15].y, 213.0);
  EXPECT_EQ(plan.cells[16].page, 1);
  EXPECT_DOUBLE_EQ(plan.cells[16].y, 10.0);
  EXPECT_DOUBLE_EQ(plan.cells[39].y, 10.0 + 5 * 46.0);
  EXPECT_EQ(plan.cells[40].page, 2);

  // A page too small for any row still takes one row a page; a page too
  // narrow for a cell still takes one a row.
  samplePrintPlan tiny = plan_sample_print(3, 30.0, 60.0);
  EXPECT_EQ(tiny.per_row, 1);
  EXPECT_EQ(tiny.pages, 3);
  EXPECT_EQ(plan_sample_print(0, 210.0, 297.0).pages, 0);
}

}  // namespace
