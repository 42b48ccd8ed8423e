#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/ui/plotter/result_graph.h"
#include "handheld/engine/storage/system_parameters.h"

namespace {

// The graph dialog open over the main dialog, as a page would open it.
class PlotterTest : public VanduTest {
 protected:
  void SetUp() override {
    VanduTest::SetUp();
    dialog_ = push_dialog(graph_dialog_procedure, GRAPH_DIALOG_ID);
    pump_until_idle(100);
  }
  void TearDown() override {
    VanduTest::TearDown();
    EXPECT_FALSE(plotter_exists());
  }
  // The pixel at a client point of the plot dialog, as the unit's screen shows it.
  uint32_t pixel(int x, int y) {
    HDC dc = GetDC(dialog_);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(dialog_, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  HWND dialog_ = nullptr;
};

std::unique_ptr<samplesBlock> ramp_block(int32_t points, uint32_t time) {
  auto block = std::make_unique<samplesBlock>();
  init_samples_block(*block);
  block->PointCount = points;
  block->Time = time;
  block->Divisor = 1.0;
  for (int32_t i = 0; i < points; ++i) block->Data[i] = i * 10;
  return block;
}

}  // namespace

TEST_F(PlotterTest, OnePlotterWhoseTextsAreKept) {
  ASSERT_TRUE(plotter_exists());
  RECT plot = plotter_plot_rect();
  RECT client;
  GetClientRect(dialog_, &client);
  EXPECT_EQ(plot.top, client.top + 14);
  EXPECT_EQ(plot.bottom, client.bottom - 38);

  graph_title(5, L"%ls", std::wstring(70, L'T').c_str());
  EXPECT_EQ(plotter_title_buffer(), std::wstring(63, L'T'));
  graph_title(5, L"READY");
  EXPECT_EQ(plotter_row_text(1), L"READY");
  clear_graph_strings();
  graph_string2(0, -1, 0, "CF: %4d rem.", 42);
  EXPECT_EQ(plotter_row_text(-1).substr(0, 12), L"CF:   42 rem");
  graph_string1(3, -3, 11, L"END OF PROTOCOL");
  EXPECT_NE(plotter_row_text(-3).find(L"END OF PROTOCOL"), std::wstring::npos);
  EXPECT_EQ(plotter_row_text(-3).substr(0, 1), L"A");  // the eye label comes first

  // A second graph dialog gets no plotter and leaves the first one's alone.
  clear_remote_transcript();
  HWND second = push_dialog(graph_dialog_procedure, GRAPH_DIALOG_ID);
  pump_until_idle(50);
  DestroyWindow(second);
  EXPECT_TRUE(plotter_exists());
  EXPECT_EQ(plotter_row_text(1), L"READY");
  EXPECT_NE(remote_transcript().find("*** second ***"), std::string::npos);
}

TEST_F(PlotterTest, ATraceDrawnWhereItsValuesMap) {
  push_scale(0.0, 100.0, 0.0, 1000.0, -1.0, no_minimum_range);
  erase_background(5);
  std::unique_ptr<samplesBlock> block = ramp_block(101, 100);  // 0..1000 uV over 100 ms
  ASSERT_EQ(plot_sample(block.get(), 0, 1.0, 0.0), 1);  // red
  const scaleEntry e = plotter_scale();
  RECT plot = plotter_plot_rect();
  plotArea area;
  area.left = plot.left;
  area.right = plot.right;
  area.top = plot.top;
  area.bottom = plot.bottom;
  // The middle of the ramp is red; the plot beside it stays black.
  const int x = map_column(e, area, 50.0), y = map_row(e, area, 500.0);
  bool red = false;
  for (int dx = -1; dx <= 1 && !red; ++dx) red = pixel(x + dx, y) == 0xFF0000u;
  EXPECT_TRUE(red);
  EXPECT_EQ(pixel(x, map_row(e, area, 100.0)), 0x000000u);
  pop_scale();
}

TEST_F(PlotterTest, RefusalsAndThinning) {
  std::unique_ptr<samplesBlock> block = ramp_block(1, 100);
  EXPECT_EQ(plot_sample(block.get(), 0, 1.0, 0.0), 0);
  block->PointCount = 12001;
  EXPECT_EQ(plot_sample(block.get(), 0, 1.0, 0.0), 0);
  block->PointCount = 100;
  block->Time = 0;
  EXPECT_EQ(plot_sample(block.get(), 0, 1.0, 0.0), 0);
  EXPECT_EQ(plot_sample(nullptr, 0, 1.0, 0.0), 0);
  // A full block thinned and low-passed for display, and a short one shown
  // as it is (fewer points than taps).
  store_system_parameter(PARAM_GRAPHDATAPOINTS, 300);
  store_system_parameter(PARAM_LPFREQ, 100);
  std::unique_ptr<samplesBlock> full = ramp_block(12000, 500);
  EXPECT_EQ(plot(full.get(), 3, 1.0, 0.0), 1);
  std::unique_ptr<samplesBlock> brief = ramp_block(20, 500);
  EXPECT_EQ(plot(brief.get(), 3, 1.0, 0.0), 1);
  EXPECT_DOUBLE_EQ(to_scale_units(plotter_scale().y_min + 5.0), 5.0);
}

TEST_F(PlotterTest, ResultGraphOfAStoredTest) {
  auto record = std::make_unique<testFileRecord>();
  init_test_record(*record);
  std::unique_ptr<samplesBlock> average = ramp_block(1000, 200);
  average->CollectionTime = 20;
  record->Average = *average;
  record->LastSweep = *average;
  show_test_result(record.get(), &record->Average, &record->LastSweep);
  EXPECT_NE(plotter_row_text(-3).find(L"END OF PROTOCOL"), std::wstring::npos);
  EXPECT_EQ(plotter_row_text(-1).substr(0, 5), L"Test:");
  DestroyWindow(dialog_);
  pump_until_idle(50);
  EXPECT_FALSE(plotter_exists());
  EXPECT_DOUBLE_EQ(to_scale_units(3.0), 123.4);
  EXPECT_EQ(xypoint(1, 0, 0), 0);  // reported: no graph
}

// Each text of the graph fits the cells it is given, measured with the
// font the graph draws in on its own device context, whatever face the
// system put in for the one asked for: no text runs into its neighbour's
// cells or past the graph's right edge.
TEST_F(PlotterTest, EveryTextFitsItsCells) {
  const struct {
    int column;
    std::wstring text;
  } cells[] = {
      {0, L"[0000000000]"},                   // the filter label, LP at column 13
      {0, L"Test:P01S01T0400A"},              // the test label before the result's texts
      {18, L"FLIC30"},                        // a step name beside the test label
      {3, L"MIN: -50@  51   MAX:  80@  20"},  // the stored test's extremes
      {1, L"s:      5e-05 -> 6e-05 volt/mcd"},      // a background fit
      {0, std::wstring(33, L'W')},            // a whole row of a wide letter
  };
  const RECT client = plotter_client_rect();
  for (const auto& cell : cells) {
    SCOPED_TRACE(testing::Message() << "column " << cell.column);
    const SIZE size = plotter_cell_text_extent(cell.text);
    ASSERT_GT(size.cx, 0);
    EXPECT_LE(size.cx, 7 * static_cast<int>(cell.text.size()));
    EXPECT_LE(size.cy, 12) << "a row's height";
    EXPECT_LE(7 * cell.column + size.cx, client.right) << "inside the graph";
  }
  for (wchar_t c = 0x20; c < 0x7f; ++c) {
    EXPECT_LE(plotter_cell_text_extent(std::wstring(1, c)).cx, 7) << static_cast<char>(c);
  }
}
