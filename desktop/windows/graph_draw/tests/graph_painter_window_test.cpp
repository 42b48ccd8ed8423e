// A graph drawn on a memory bitmap: its frame, a trace row, symbols,
// markers shown and hidden, the XOR cross-hair, and the printer's pens.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/messages/debug_log.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/printing.h"

namespace {

constexpr int side = 500;
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF silver = RGB(192, 192, 192);
constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF blue = RGB(0, 0, 255);

// A white bitmap with a graph on pixels 50..450 by 20..420 (4 px/mm),
// filled silver (colour 7), x from 0 to 200 and y from 0 to 100.
class Drawn : public ::testing::Test {
 protected:
  void SetUp() override {
    make_palette();
    ASSERT_TRUE(screen_paper.rescale(2000, 2000, 500, 500));
    scale.copy_from(screen_paper);
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    old_bitmap = SelectObject(dc, bitmap);
    clear();
    graph.set_plot_area_pixels(50, 450, 20, 420, scale, 7);
    graph.set_ranges(0, 200, 0, 100);
  }
  void TearDown() override {
    printing_flag = 0;
    SelectObject(dc, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void clear() {
    RECT all{0, 0, side, side};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  COLORREF at(int x, int y) {
    GdiFlush();
    uint32_t v = bits[y * side + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  // Pixels of column x between rows y0 and y1 that are neither silver nor c.
  int marks_in_column(int x, int y0, int y1, COLORREF c) {
    int n = 0;
    for (int y = y0; y <= y1; y++) n += at(x, y) != silver && at(x, y) != c;
    return n;
  }
  std::vector<uint32_t> snapshot() {
    GdiFlush();
    return std::vector<uint32_t>(bits, bits + side * side);
  }
  // A horizontal trace at y from x0 to x1, one point per unit of x.
  tracePlusClass* level(double y, double x0, double x1, int colour) {
    std::vector<double> xs;
    std::vector<double> ys;
    for (double x = x0; x <= x1; x += 1.0) {
      xs.push_back(x);
      ys.push_back(y);
    }
    return graph.add_xy_arrays(xs.data(), ys.data(), static_cast<int32_t>(xs.size()), colour);
  }
  int px(double x) { return graph.x_map().to_pixel(x); }
  int py(double y) { return graph.y_map().to_pixel(y); }

  paper scale;
  graphClass graph;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old_bitmap = nullptr;
  uint32_t* bits = nullptr;
};

}  // namespace

TEST_F(Drawn, FrameTicksAndATraceRow) {
  tracePlusClass* row = level(50, 0, 200, 0);
  row->own_trace()->line_width = 0;  // drawn one pixel wide
  graphPainter(graph).draw(dc, scale);
  // The frame: black on the bounds, the plot filled silver, white outside.
  EXPECT_EQ(at(50, 200), black);
  EXPECT_EQ(at(449, 200), black);
  EXPECT_EQ(at(300, 20), black);
  EXPECT_EQ(at(300, 419), black);
  EXPECT_EQ(at(300, 100), silver);
  EXPECT_EQ(at(30, 200), white);
  EXPECT_EQ(at(300, 440), white);
  // The y major tick at 0 runs in from the left edge (h / 25 = 16 pixels).
  EXPECT_EQ(at(60, py(0)), black);
  // The x major tick at 100 rises from the bottom edge.
  EXPECT_EQ(at(px(100), 410), black);
  // The trace row, one pixel high.
  int y = py(50);
  EXPECT_EQ(at(300, y), red);
  EXPECT_NE(at(300, y - 1), red);
  EXPECT_NE(at(300, y + 1), red);
  EXPECT_DOUBLE_EQ(graph.max_y, 50.0);
  EXPECT_DOUBLE_EQ(graph.min_y, 50.0);
  // The y labels: some ink right of the ticks near the label of 50.
  int ink = 0;
  for (int x = 70; x < 110; x++) ink += at(x, py(50) - 3) == black || at(x, py(50) + 2) == black;
  EXPECT_GT(ink, 0);
}

TEST_F(Drawn, TheContextsClipRegionHoldsAndStays) {
  level(50, 0, 200, 0);
  HRGN left_half = CreateRectRgn(0, 0, 250, side);
  SelectClipRgn(dc, left_half);
  graphPainter(graph).draw(dc, scale);
  EXPECT_EQ(at(200, py(50)), red);
  EXPECT_EQ(at(300, py(50)), white);  // neither the plot nor the trace right of the region
  HRGN after = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(dc, after), 1);
  EXPECT_TRUE(EqualRgn(after, left_half));
  SelectClipRgn(dc, nullptr);
  DeleteObject(after);
  DeleteObject(left_half);
}

TEST_F(Drawn, SymbolsEverySeparation) {
  graph.set_x_range(-30, 190);
  tracePlusClass* row = level(50, -20, 180, 0);
  traceClass* t = row->own_trace();
  t->symbol = symbol_plus;
  t->symbol_color = 3;
  t->symbol_separation = 10;
  t->line_width = 0;
  graphPainter(graph).draw(dc, scale);
  // A plus of 3 mm (6 pixels each way) at -20, -10, ..., 180; none between.
  int y = py(50) - 4;
  for (int k = -2; k <= 18; k++) {
    EXPECT_EQ(at(px(k * 10.0), y), blue) << k * 10;
    EXPECT_NE(at(px(k * 10.0 + 5), y), blue) << k * 10 + 5;
  }
}

TEST_F(Drawn, MarkersShownAndHidden) {
  level(50, 0, 200, 0);
  graph.set_marker(0, 130, 25);
  graphPainter(graph).draw(dc, scale);
  EXPECT_GT(marks_in_column(px(130), 60, 380, red), 20);  // dashed grey, XOR on silver
  int stroke = 0;  // the stroke at y, 10 units of x each way
  for (int x = px(130) + 3; x <= px(130) + 18; x++) stroke += marks_in_column(x, py(25), py(25), red);
  EXPECT_GT(stroke, 4);

  clear();
  graph.marker1.hide();
  graphPainter(graph).draw(dc, scale);
  EXPECT_EQ(marks_in_column(px(130), 60, 380, red), 0);

  // Set but never placed: not drawn.
  clear();
  graph.marker1.show();
  graph.marker1.set = 0;
  graphPainter(graph).draw(dc, scale);
  EXPECT_EQ(marks_in_column(px(130), 60, 380, red), 0);
}

TEST_F(Drawn, CrossHairDrawnTwiceLeavesNothing) {
  graphPainter(graph).draw(dc, scale);
  std::vector<uint32_t> before = snapshot();
  graph.xhair.show();
  graphPainter(graph).draw_xhair(dc, scale, 60, 40, R2_XORPEN);
  EXPECT_NE(snapshot(), before);
  EXPECT_EQ(graph.xhair.size, 3);
  EXPECT_EQ(graph.xhair.pen_index, 7);
  EXPECT_DOUBLE_EQ(graph.xhair.x(), 60.0);
  graphPainter(graph).draw_xhair(dc, scale, 60, 40, R2_XORPEN);
  EXPECT_EQ(snapshot(), before);

  // One step right moves by one pixel; at the frame's edge it hides.
  graphPainter(graph).xhair_right(dc, scale);
  EXPECT_EQ(px(graph.xhair.x()), px(60) + 1);
  graphPainter(graph).set_xhair_at_pixel(dc, scale, 450, 200, R2_XORPEN);
  graphPainter(graph).xhair_right(dc, scale);
  EXPECT_EQ(graph.xhair.shown, 0);
}

TEST_F(Drawn, FailuresWhilePaintingAreLoggedOnceAndNeverShown) {
  message_capture capture;
  const char* log_path = "data_graph_draw_test_log.txt";
  std::remove(log_path);
  log_open(log_path);
  // An average over traces that do not overlap, a symbol separation of 0, a
  // dashed line of one point.
  graph.average_entry = new tracePlusClass(graph.average_trace());
  graph.add_trace_copy(graph.average_entry);
  level(10, 0, 50, 0);
  tracePlusClass* late = level(20, 150, 200, 0);
  late->own_trace()->symbol = symbol_square;
  late->own_trace()->symbol_separation = 0;
  double one[] = {100, 50};
  graph.add_xy_pairs(reinterpret_cast<const xyPair*>(one), 1, 3)->set_dash(2);
  graphPainter(graph).draw(dc, scale);
  graphPainter(graph).draw(dc, scale);
  log_close();
  EXPECT_TRUE(capture.texts().empty());
  std::ifstream in(log_path);
  int overlap = 0;
  int separation = 0;
  for (std::string line; std::getline(in, line);) {
    overlap += line.find("*** TIME VALUES OF THE CURRENT TRACES DO NOT OVERLAP ***") != std::string::npos;
    separation += line.find("SYMBOL SEPARATION 0 IS NOT ABOVE 0") != std::string::npos;
  }
  in.close();
  std::remove(log_path);
  EXPECT_EQ(overlap, 1);
  EXPECT_EQ(separation, 1);
  EXPECT_NE(at(px(100), py(50)), blue);  // the one-point dashed line drew nothing
}

TEST_F(Drawn, ThePrinterTakesThickerMarkerPens) {
  level(50, 0, 200, 0);
  graph.set_marker(0, 130, 25);
  printer_paper.copy_from(scale);
  printing_flag = 1;
  graphPainter(graph).draw(dc, scale);
  EXPECT_EQ(at(50, 200), black);
  EXPECT_EQ(at(300, py(50)), red);
  // Three pixels wide: inked rows reach both neighbours of the column.
  int wide = 0;
  for (int y = 60; y < 380; y++) {
    wide += at(px(130) - 1, y) != silver && at(px(130) + 1, y) != silver && at(px(130) - 1, y) != red;
  }
  EXPECT_GT(wide, 20);
}
