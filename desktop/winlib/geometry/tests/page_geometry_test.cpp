// Page records, placed boxes, marker geometry, points and the palette's
// colours: the arithmetic under every drawing, as tables.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/geometry/marker_geometry.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/points.h"
#include "desktop/winlib/geometry/position.h"

namespace {

paper scaled(double x_px_per_mm, double y_px_per_mm, int x_origin = 0, int y_origin = 0) {
  paper p;
  EXPECT_TRUE(p.rescale(100.0 * x_px_per_mm, 100.0 * y_px_per_mm, 100.0, 100.0));
  p.set_origin(x_origin, y_origin);
  return p;
}

}  // namespace

TEST(Paper, ANewRecordHasItsOriginAtZero) {
  paper p;
  EXPECT_EQ(p.x_origin, 0);
  EXPECT_EQ(p.y_origin, 0);
  EXPECT_EQ(screen_paper.x_origin, 0);
  EXPECT_EQ(printer_paper.y_origin, 0);
}

TEST(Paper, RescaleKeepsSizesScaleAndOrigin) {
  paper p;
  p.set_origin(3, 4);
  ASSERT_TRUE(p.rescale(1280, 1024, 320, 240));
  EXPECT_DOUBLE_EQ(p.x_px_per_mm, 4.0);
  EXPECT_NEAR(p.y_px_per_mm, 4.2667, 1e-4);
  EXPECT_DOUBLE_EQ(p.width_px, 1280);
  EXPECT_DOUBLE_EQ(p.height_mm, 240);
  EXPECT_EQ(p.x_origin, 3);
  EXPECT_EQ(p.y_origin, 4);
}

TEST(Paper, AZeroMillimetreSizeIsRefusedAndChangesNothing) {
  message_capture capture;
  paper p;
  ASSERT_TRUE(p.rescale(1280, 1024, 320, 240));
  EXPECT_FALSE(p.rescale(800, 600, 200, 0));
  EXPECT_FALSE(p.rescale(800, 600, 0, 150));
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "*** paper::rescale MM SIZE INVALID : (200, 0) ZERO NOT ALLOWED ***",
                                 "*** paper::rescale MM SIZE INVALID : (0, 150) ZERO NOT ALLOWED ***"}));
  EXPECT_DOUBLE_EQ(p.x_px_per_mm, 4.0);
  EXPECT_DOUBLE_EQ(p.width_px, 1280);
  EXPECT_DOUBLE_EQ(p.height_mm, 240);
}

TEST(Paper, AWindowKeepsItsSizeInMillimetresOnThePrinter) {
  paper screen;
  ASSERT_TRUE(screen.rescale(1280, 1024, 320, 240));
  paper window;
  window.set_origin(7, 7);
  ASSERT_TRUE(window.set_from_pixels(400, 256, screen));
  EXPECT_DOUBLE_EQ(window.width_mm, 100.0);
  EXPECT_DOUBLE_EQ(window.height_mm, 60.0);
  EXPECT_EQ(window.x_origin, 0);

  paper printer;
  ASSERT_TRUE(printer.rescale(4960.62, 7015.74, 210, 297));  // 600 dots per inch
  EXPECT_NEAR(printer.x_px_per_mm, 23.622, 1e-3);
  paper print;
  ASSERT_TRUE(print.set_for_printer(window.width_mm, window.height_mm, printer));
  EXPECT_NEAR(print.width_px, 2362.2, 0.1);
  EXPECT_NEAR(print.height_px, 60.0 * printer.y_px_per_mm, 1e-9);
  EXPECT_DOUBLE_EQ(print.width_mm, 100.0);
}

TEST(Paper, ARecordWithoutScaleCannotMeasureAWindow) {
  message_capture capture;
  paper unset;
  paper window;
  EXPECT_FALSE(window.set_from_pixels(400, 300, unset));
  EXPECT_FALSE(window.set_for_printer(100, 100, unset));
  EXPECT_EQ(capture.records().size(), 2u);
  EXPECT_DOUBLE_EQ(window.width_mm, 0.0);
}

TEST(Paper, MillimetresBecomePixelsByTruncationPlusOrigin) {
  struct conversion_case {
    double px_per_mm;
    int origin;
    double mm;
    int pixel;
  };
  const conversion_case cases[] = {
      {1.0, 5, 10.9, 15}, {1.0, 0, 0.99, 0},  {4.0, 0, 2.49, 9},  {4.0, 0, -0.2, 0},
      {4.0, 0, -0.3, -1}, {3.75, 10, 100.0, 385}, {2.0, -3, 1.0, -1},
  };
  for (const conversion_case& c : cases) {
    paper p = scaled(c.px_per_mm, c.px_per_mm, c.origin, c.origin);
    EXPECT_EQ(p.px_x(c.mm), c.pixel) << c.px_per_mm << " " << c.mm;
    EXPECT_EQ(p.px_y(c.mm), c.pixel) << c.px_per_mm << " " << c.mm;
  }
  paper p = scaled(4.0, 2.0, 10, 20);
  EXPECT_DOUBLE_EQ(p.mm_x(30), 5.0);
  EXPECT_DOUBLE_EQ(p.mm_y(30), 5.0);
  EXPECT_EQ(p.px_x(std::numeric_limits<double>::quiet_NaN()), 10);
  EXPECT_EQ(p.scale_x(1e300), INT_MAX);
  EXPECT_EQ(p.scale_x(-1e300), INT_MIN);
  // A point beyond the integer range stays at its end with the origin added.
  EXPECT_EQ(p.px_x(1e300), INT_MAX);
  EXPECT_EQ(p.px_y(1e300), INT_MAX);
  EXPECT_EQ(scaled(1.0, 1.0, -5, -5).px_x(-1e300), INT_MIN);
  EXPECT_DOUBLE_EQ(paper().mm_x(50), 0.0);
}

TEST(Paper, CopiesCarryAllEightFields) {
  paper a = scaled(4.0, 3.0, 1, 2);
  paper b;
  a.copy_to(b);
  paper c;
  c.copy_from(a);
  for (const paper* p : {&b, &c}) {
    EXPECT_DOUBLE_EQ(p->x_px_per_mm, 4.0);
    EXPECT_DOUBLE_EQ(p->y_px_per_mm, 3.0);
    EXPECT_DOUBLE_EQ(p->width_px, 400.0);
    EXPECT_DOUBLE_EQ(p->height_px, 300.0);
    EXPECT_DOUBLE_EQ(p->width_mm, 100.0);
    EXPECT_DOUBLE_EQ(p->height_mm, 100.0);
    EXPECT_EQ(p->x_origin, 1);
    EXPECT_EQ(p->y_origin, 2);
  }
}

TEST(Position, MovingTheReferenceCarriesTheBox) {
  positionClass box(10.0, 20.0, 30.0, 40.0);
  EXPECT_DOUBLE_EQ(box.reference_x(), 10.0);
  box.place_x(10.0, 12.0);
  box.move_x(15.0);
  EXPECT_DOUBLE_EQ(box.x(), 17.0);
  EXPECT_DOUBLE_EQ(box.reference_x(), 15.0);
  box.move_to(0.0, 0.0);
  EXPECT_DOUBLE_EQ(box.left(), 2.0);
  EXPECT_DOUBLE_EQ(box.top(), 0.0);
  EXPECT_DOUBLE_EQ(box.right(), 32.0);
  EXPECT_DOUBLE_EQ(box.bottom(), 40.0);
  EXPECT_DOUBLE_EQ(box.extent_x(), 30.0);
  EXPECT_DOUBLE_EQ(box.extent_y(), 40.0);

  // Setting the corner moves the reference point as much.
  box.set_x(5.0);
  box.set_y(1.0);
  EXPECT_DOUBLE_EQ(box.reference_x(), 3.0);
  EXPECT_DOUBLE_EQ(box.reference_y(), 1.0);
  box.place_y(7.0, 8.0);
  EXPECT_DOUBLE_EQ(box.reference_y(), 7.0);
  EXPECT_DOUBLE_EQ(box.y(), 8.0);
  box.set_size(2.0, 3.0);
  EXPECT_DOUBLE_EQ(box.width(), 2.0);
  EXPECT_DOUBLE_EQ(box.height(), 3.0);
}

TEST(Position, ContainsIncludesEveryEdgeButPixelsExcludeRightAndBottom) {
  positionClass box(10.0, 10.0, 10.0, 5.0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct mm_case {
    double x, y;
    bool inside;
  };
  const mm_case mm_cases[] = {{10.0, 10.0, true}, {20.0, 15.0, true}, {15.0, 12.0, true}, {9.99, 12.0, false},
                              {20.01, 12.0, false}, {15.0, 15.01, false}, {nan, 12.0, false}, {15.0, nan, false}};
  for (const mm_case& c : mm_cases) EXPECT_EQ(box.contains(c.x, c.y), c.inside) << c.x << "," << c.y;

  paper scale = scaled(2.0, 2.0, 1, 1);  // box pixels: 21..40 x 21..30
  struct pixel_case {
    int x, y;
    bool inside;
  };
  const pixel_case pixel_cases[] = {{21, 21, true}, {40, 30, true}, {41, 25, false}, {30, 31, false},
                                    {20, 25, false}, {30, 20, false}};
  for (const pixel_case& c : pixel_cases) EXPECT_EQ(box.contains_pixel(c.x, c.y, scale), c.inside) << c.x << "," << c.y;
}

TEST(MarkerGeometry, TrianglesPointAwayFromTheirBase) {
  paper scale = scaled(3.0, 3.0, 10, 20);
  struct triangle_case {
    int direction;
    pixelPoint want[4];
  };
  // size 3 mm: L = 9 px, B = 3 px; apex (50, 60) with the origin.
  const triangle_case cases[] = {
      {0, {{50, 60}, {59, 63}, {59, 57}, {50, 60}}},
      {1, {{50, 60}, {41, 63}, {41, 57}, {50, 60}}},
      {2, {{50, 60}, {53, 69}, {47, 69}, {50, 60}}},
      {3, {{50, 60}, {53, 51}, {47, 51}, {50, 60}}},
  };
  for (const triangle_case& c : cases) {
    pixelPoint points[4];
    ASSERT_TRUE(triangle_marker_points(40, 40, 3.0, c.direction, scale, points));
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(points[i].x, c.want[i].x) << c.direction << " point " << i;
      EXPECT_EQ(points[i].y, c.want[i].y) << c.direction << " point " << i;
    }
  }
  pixelPoint points[4];
  EXPECT_FALSE(triangle_marker_points(40, 40, 3.0, 4, scale, points));
  EXPECT_FALSE(hit_triangle_marker(40, 40, 3.0, 4, scale, 50, 60));

  // Bounding rectangle of direction 0: x 50..58, y 57..62.
  EXPECT_TRUE(hit_triangle_marker(40, 40, 3.0, 0, scale, 50, 57));
  EXPECT_TRUE(hit_triangle_marker(40, 40, 3.0, 0, scale, 58, 62));
  EXPECT_FALSE(hit_triangle_marker(40, 40, 3.0, 0, scale, 59, 60));
  EXPECT_FALSE(hit_triangle_marker(40, 40, 3.0, 0, scale, 49, 60));
  EXPECT_TRUE(hit_triangle_marker(40, 40, 3.0, 3, scale, 47, 51));
}

TEST(MarkerGeometry, SquaresAreAtLeastOnePixelEachWay) {
  paper one = scaled(1.0, 1.0);
  EXPECT_EQ(square_half_x(0.707 * 0.5, one), 1);
  EXPECT_EQ(square_half_y(0.0, one), 1);
  paper four = scaled(4.0, 2.0, 5, 5);
  EXPECT_EQ(square_half_x(2.0, four), 8);
  EXPECT_EQ(square_half_y(2.0, four), 4);
  // Around (105, 105): x 97..112, y 101..108.
  EXPECT_TRUE(hit_square(100, 100, 2.0, four, 97, 101));
  EXPECT_TRUE(hit_square(100, 100, 2.0, four, 112, 108));
  EXPECT_FALSE(hit_square(100, 100, 2.0, four, 113, 105));
  EXPECT_FALSE(hit_square(100, 100, 2.0, four, 105, 109));
  EXPECT_TRUE(hit_square(0, 0, 0.1, one, -1, -1));
  EXPECT_FALSE(hit_square(0, 0, 0.1, one, 1, 0));
}

TEST(Points, DistancesAndRotations) {
  point3 a;
  a.set(1.0, 2.0, 3.0);
  point3 b;
  b.set(4.0, 6.0);
  EXPECT_DOUBLE_EQ(b.z, 0.0);
  EXPECT_DOUBLE_EQ(distance3(a, b), std::sqrt(9.0 + 16.0 + 9.0));
  EXPECT_DOUBLE_EQ(b.distance_to(1.0, 2.0), 5.0);
  point3 c;
  c.copy(mmPointClass(7.0, 8.0));
  EXPECT_DOUBLE_EQ(c.x, 7.0);
  EXPECT_DOUBLE_EQ(c.z, 0.0);
  mmPointClass zero;
  EXPECT_DOUBLE_EQ(zero.x, 0.0);

  const double quarter = std::acos(0.0);
  struct rotation_case {
    int axis;
    double want[3];
  };
  // (1, 2, 3) a quarter turn about each axis.
  const rotation_case cases[] = {{0, {1.0, -3.0, 2.0}}, {1, {3.0, 2.0, -1.0}}, {2, {-2.0, 1.0, 3.0}}};
  for (const rotation_case& r : cases) {
    double x = 0, y = 0, z = 0;
    rotate_point3(r.axis, 1.0, 2.0, 3.0, &x, &y, &z, quarter);
    EXPECT_NEAR(x, r.want[0], 1e-12) << r.axis;
    EXPECT_NEAR(y, r.want[1], 1e-12) << r.axis;
    EXPECT_NEAR(z, r.want[2], 1e-12) << r.axis;
  }
  message_capture capture;
  double x = 0, y = 0, z = 0;
  rotate_point3(3, 1.0, 2.0, 3.0, &x, &y, &z, quarter);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"### rotate_point3: AXIS 3 NOT 0, 1 OR 2 ###"}));
  EXPECT_DOUBLE_EQ(y, 2.0);
}

TEST(Colours, TableNamesAndOutOfRangeIndexes) {
  EXPECT_EQ(colour_value(0), 0x0000FFu);
  EXPECT_EQ(colour_value(3), 0xFF0000u);
  EXPECT_EQ(colour_value(8), 0xE6E6E6u);
  EXPECT_STREQ(colour_name(4), "Violet");
  EXPECT_STREQ(colour_name(9), "White");
  EXPECT_STREQ(colour_name(10), "?");
  message_capture capture;
  EXPECT_EQ(colour_value(10), 0x000000u);
  EXPECT_EQ(colour_value(-1), 0x000000u);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"### COLOUR INDEX 10 OUT OF RANGE ###",
                                                       "### COLOUR INDEX -1 OUT OF RANGE ###"}));
}
