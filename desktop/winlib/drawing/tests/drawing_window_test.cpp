// The drawing primitives and justified text on a memory bitmap at a known
// page scale: each lands on the expected pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/winlib/drawing/circles.h"
#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/drawing/drawing.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/text_drawing.h"
#include "desktop/winlib/tests/watchdog.h"

namespace {

constexpr int side = 200;
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF red = RGB(255, 0, 0);

// A white 200 x 200 bitmap selected into a memory context, read back from
// its bits.
class Bitmap : public ::testing::Test {
 protected:
  void SetUp() override {
    make_palette();
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
    RECT all{0, 0, side, side};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, pen_table[5]);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    ASSERT_TRUE(one.rescale(side, side, side, side));
    ASSERT_TRUE(four.rescale(4 * side, 4 * side, side, side));
  }
  void TearDown() override {
    SelectObject(dc, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF at(int x, int y) {
    GdiFlush();
    uint32_t v = bits[y * side + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  bool inked(int x, int y) { return at(x, y) != white; }
  // The rectangle of every pixel that is not white; empty when none.
  RECT ink() {
    RECT r{side, side, -1, -1};
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        if (!inked(x, y)) continue;
        if (x < r.left) r.left = x;
        if (y < r.top) r.top = y;
        if (x > r.right) r.right = x;
        if (y > r.bottom) r.bottom = y;
      }
    }
    return r;
  }

  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old_bitmap = nullptr;
  uint32_t* bits = nullptr;
  paper one;   // 1 px/mm
  paper four;  // 4 px/mm
};

}  // namespace

TEST_F(Bitmap, LinesLeaveOutTheirEndPixel) {
  draw_line(dc, 10, 5, 20, 5);
  EXPECT_EQ(at(10, 5), black);
  EXPECT_EQ(at(19, 5), black);
  EXPECT_EQ(at(20, 5), white);

  four.set_origin(3, 2);
  draw_line_scaled(dc, four, 2.0, 10.0, 2.0, 12.5);  // x 11, y 42 to 52
  EXPECT_EQ(at(11, 42), black);
  EXPECT_EQ(at(11, 51), black);
  EXPECT_EQ(at(11, 52), white);
  EXPECT_EQ(at(10, 45), white);

  draw_line_with_pen(dc, 0, 30, 60, 40, 60, R2_COPYPEN);
  EXPECT_EQ(at(35, 60), red);
  draw_line_index_pen_scaled(dc, 30.0, 70.0, 40.0, 70.0, one, 3, R2_COPYPEN);
  EXPECT_EQ(at(35, 70), RGB(0, 0, 255));
  // The pen was put back.
  draw_line(dc, 30, 80, 40, 80);
  EXPECT_EQ(at(35, 80), black);
}

TEST_F(Bitmap, ALineOutToAFarPointDrawsOnlyWhatCanBeSeen) {
  // A dashed wide pen out to the reach ends of the range the graph hands
  // over: drawn whole, the platform works dash by dash for good.
  HPEN dashed = create_dashed_pen(0, 3);
  ASSERT_NE(dashed, nullptr);
  HGDIOBJ old = SelectObject(dc, dashed);
  const int reach = 1 << 26;
  struct {
    int x1, y1, x2, y2;
    POINT from, to;  // the line's part inside the bitmap
  } cases[] = {
      {50, -reach, 50, reach, {50, 0}, {50, 199}},
      {-reach, 120, reach, 120, {0, 120}, {199, 120}},
      {-reach, -reach, reach, reach, {0, 0}, {199, 199}},
      {30, 30, 30, reach, {30, 30}, {30, 199}},
  };
  for (const auto& c : cases) {
    watchdog bound("a line out to a far point");
    draw_line(dc, c.x1, c.y1, c.x2, c.y2);
    // Dashes (with their gaps) along the whole visible part.
    int red_points = 0;
    for (int k = 0; k <= 100; k++) {
      int x = c.from.x + (c.to.x - c.from.x) * k / 100;
      int y = c.from.y + (c.to.y - c.from.y) * k / 100;
      if (at(x, y) == red) red_points++;
    }
    EXPECT_GT(red_points, 40) << c.x1 << "," << c.y1;
  }
  // Wholly outside: nothing.
  RECT before = ink();
  draw_line(dc, -reach, -5000, reach, -5000);
  RECT after = ink();
  EXPECT_TRUE(EqualRect(&before, &after));
  SelectObject(dc, old);
  DeleteObject(dashed);
}

TEST_F(Bitmap, ThePenTableHasSolidAndDashedPensAndNoPenTen) {
  for (int c = 0; c < colour_count; ++c) {
    LOGPEN solid{};
    ASSERT_TRUE(GetObjectA(pen_table[c], sizeof solid, &solid));
    EXPECT_EQ(solid.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(solid.lopnColor, colour_table[c]);
    LOGPEN dashed{};
    ASSERT_TRUE(GetObjectA(pen_table[dashed_pen_offset + c], sizeof dashed, &dashed));
    EXPECT_EQ(dashed.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(dashed.lopnColor, colour_table[c]);
    LOGBRUSH brush{};
    ASSERT_TRUE(GetObjectA(brush_table[c], sizeof brush, &brush));
    EXPECT_EQ(brush.lbColor, colour_table[c]);
  }
  EXPECT_EQ(pen_table[10], nullptr);
  message_capture capture;
  draw_line_with_pen(dc, 10, 0, 0, 50, 50, R2_COPYPEN);
  EXPECT_EQ(ink().right, -1);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"### PEN INDEX 10 NOT IN THE PEN TABLE ###"}));

  // A dashed line has gaps.
  HPEN pen = create_dashed_pen(0, 1);
  ASSERT_NE(pen, nullptr);
  draw_line_with_given_pen(dc, pen, 0, 100, 199, 100, R2_COPYPEN);
  DeleteObject(pen);
  int on = 0;
  for (int x = 0; x < 199; ++x) on += at(x, 100) == red;
  EXPECT_GT(on, 20);
  EXPECT_LT(on, 190);
}

TEST_F(Bitmap, RectanglesIncludeTheirFarEdges) {
  draw_rectangle_scaled(dc, one, 0.0, 0.0, 10.0, 10.0, 5, 0);
  EXPECT_EQ(at(0, 0), black);
  EXPECT_EQ(at(10, 10), black);
  EXPECT_EQ(at(10, 0), black);
  EXPECT_EQ(at(5, 5), red);
  EXPECT_EQ(at(11, 5), white);
  EXPECT_EQ(at(5, 11), white);
  RECT r = ink();
  EXPECT_EQ(r.right, 10);
  EXPECT_EQ(r.bottom, 10);
}

TEST_F(Bitmap, MarkersLieAroundTheirPoint) {
  // The smallest square: one pixel from the centre each way.
  draw_square_marker(dc, 50, 50, 0.5, one);
  EXPECT_EQ(at(50, 50), white);
  EXPECT_EQ(at(49, 49), black);
  EXPECT_EQ(at(51, 51), black);
  EXPECT_EQ(at(51, 49), black);
  EXPECT_EQ(at(52, 50), white);

  draw_cross(dc, 100, 100, 1.0, four);  // four pixels each way
  EXPECT_EQ(at(96, 100), black);
  EXPECT_EQ(at(103, 100), black);
  EXPECT_EQ(at(104, 100), white);
  EXPECT_EQ(at(100, 96), black);
  EXPECT_EQ(at(100, 95), white);

  draw_x_marker(dc, 150, 150, 1.0, four);
  EXPECT_EQ(at(147, 153), black);  // (x - h + 1, y + v - 1)
  EXPECT_EQ(at(150, 150), black);
  EXPECT_EQ(at(150, 146), white);

  draw_triangle_marker(dc, 20, 150, 3.0, 0, four);  // apex (20, 150), base at x 32
  EXPECT_EQ(at(20, 150), black);
  EXPECT_EQ(at(32, 148), black);
  EXPECT_EQ(at(19, 150), white);
  EXPECT_EQ(at(33, 150), white);
}

TEST_F(Bitmap, CirclesAreOutlinedAroundTheirCentre) {
  draw_circle_scaled(dc, four, 10.0, 10.0, 5.0);  // centre (40, 40), radius 20
  EXPECT_EQ(at(40, 40), white);
  EXPECT_TRUE(inked(20, 40) || inked(21, 40));
  EXPECT_TRUE(inked(40, 20) || inked(40, 21));
  RECT r = ink();
  EXPECT_GE(r.left, 20);
  EXPECT_LE(r.right, 60);

  SelectObject(dc, brush_table[2]);
  draw_filled_circle_scaled(dc, four, 30.0, 30.0, 5.0);
  EXPECT_EQ(at(120, 120), RGB(0, 255, 0));

  circleClass circle(40.0, 10.0, 2.0, 0);
  EXPECT_DOUBLE_EQ(circle.x(), 38.0);
  EXPECT_DOUBLE_EQ(circle.width(), 4.0);
  EXPECT_DOUBLE_EQ(circle.reference_x(), 40.0);
  circle.draw(dc, four);  // centre (160, 40), radius 8
  EXPECT_TRUE(at(152, 40) == red || at(153, 40) == red);
  circle.set_colour(3);
  circle.set_radius(3.0);
  EXPECT_DOUBLE_EQ(circle.x(), 37.0);
  EXPECT_DOUBLE_EQ(circle.width(), 4.0);
  circle.draw(dc, four);
  EXPECT_TRUE(at(148, 40) == RGB(0, 0, 255) || at(149, 40) == RGB(0, 0, 255));

  circleClass2 bare;
  EXPECT_DOUBLE_EQ(bare.x(), 5.0);
  bare.set_centre(25.0, 40.0, 2.0);
  RECT before = ink();
  bare.draw(dc, four);  // no pen: nothing
  RECT after = ink();
  EXPECT_EQ(before.bottom, after.bottom);
  bare.set(25.0, 40.0, 2.0, pen_table[5]);
  bare.draw(dc, four);
  EXPECT_TRUE(inked(92, 160) || inked(93, 160));
}

TEST_F(Bitmap, JustifiedTextStartsCentresOrEndsAtThePoint) {
  HFONT font = make_font(24, 0, 400, "Arial", 0);
  ASSERT_NE(font, nullptr);
  push_font(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SIZE size = text_extent(dc, "WWWW", nullptr);
  ASSERT_GT(size.cx, 10);

  struct justified_case {
    int code;
    int left, top;  // where the text's box starts
  };
  const justified_case cases[] = {
      {0, 100, 50},
      {7, 100 - size.cx / 2, 50},
      {9, 100 - size.cx, 50 - size.cy},
  };
  for (const justified_case& c : cases) {
    RECT all{0, 0, side, side};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SIZE drawn = text_out_justified(dc, 100, 50, c.code, "%s", "WWWW");
    EXPECT_EQ(drawn.cx, size.cx);
    RECT r = ink();
    ASSERT_GE(r.right, 0) << c.code;
    // The glyphs' own bearings move the ink a pixel or two.
    EXPECT_GE(r.left, c.left - 2) << c.code;
    EXPECT_LE(r.left, c.left + 3) << c.code;
    EXPECT_LE(r.right, c.left + size.cx + 1) << c.code;
    EXPECT_GE(r.right, c.left + size.cx - 4) << c.code;
    EXPECT_GE(r.top, c.top) << c.code;
    EXPECT_LT(r.bottom, c.top + size.cy) << c.code;
  }

  RECT all{0, 0, side, side};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  message_capture capture;
  text_out_justified(dc, 100, 50, 5, "%s", "WWWW");
  EXPECT_EQ(ink().right, -1);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"### JUSTIFICATION 5 NOT IMPLEMENTED ###"}));
  ASSERT_TRUE(pop_and_delete_font());
}

TEST_F(Bitmap, TextsAreWrittenAndMeasuredInMillimetres) {
  SetBkMode(dc, TRANSPARENT);
  four.set_origin(0, 0);
  text_out_scaled(dc, four, 10.0, 20.0, "Hg");
  RECT r = ink();
  EXPECT_GE(r.left, 40);
  EXPECT_GE(r.top, 80);
  EXPECT_LT(r.left, 48);

  SIZE percent = text_extent(dc, "50%d", nullptr);
  EXPECT_DOUBLE_EQ(text_width_scaled(dc, four, "50%d"), percent.cx / 4.0);
  EXPECT_DOUBLE_EQ(text_height_scaled(dc, four, "50%d"), percent.cy / 4.0);
  EXPECT_EQ(text_width_px(dc, "%d%%", 50), text_extent(dc, "50%", nullptr).cx);
  EXPECT_EQ(text_height_px(dc, "%s", "Hg"), text_extent(dc, "Hg", nullptr).cy);
  mmPointClass size;
  text_size_scaled(dc, one, "Hg", &size);
  EXPECT_DOUBLE_EQ(size.x, text_extent(dc, "Hg", nullptr).cx);

  // Formatted texts are cut at 255 characters.
  std::string long_text(300, 'i');
  EXPECT_EQ(text_width_px(dc, "%s", long_text.c_str()), text_extent(dc, long_text.substr(0, 255).c_str(), nullptr).cx);
}

TEST_F(Bitmap, ADeviceGivesItsScaleAndOneWithoutMillimetresIsRefused) {
  paper device;
  device.set_origin(5, 5);
  ASSERT_TRUE(device.set_from_device(dc));  // a memory context takes the screen's
  EXPECT_DOUBLE_EQ(device.x_px_per_mm, screen_paper.x_px_per_mm);
  EXPECT_DOUBLE_EQ(device.height_mm, screen_paper.height_mm);
  EXPECT_EQ(device.x_origin, 0);

  message_capture capture;
  EXPECT_FALSE(device.set_from_device(nullptr));  // reports 0 mm
  EXPECT_EQ(capture.texts(),
            (std::vector<std::string>{"*** paper::rescale MM SIZE INVALID : (0, 0) ZERO NOT ALLOWED ***"}));
  EXPECT_DOUBLE_EQ(device.x_px_per_mm, screen_paper.x_px_per_mm);
}
