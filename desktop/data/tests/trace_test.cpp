#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/trace.h"
#include "desktop/data/trace_clipboard.h"

namespace {

std::vector<double> xs_of(const traceDataClass& t) {
  std::vector<double> out;
  for (int32_t i = 0; i < t.get_count(); i++) out.push_back(t.points()[i].x);
  return out;
}

std::vector<double> ys_of(const traceDataClass& t) {
  std::vector<double> out;
  for (int32_t i = 0; i < t.get_count(); i++) out.push_back(t.points()[i].y);
  return out;
}

void expect_extent(const traceDataClass& t, double xmin, double xmax, double ymin, double ymax) {
  EXPECT_EQ(t.xmin(), xmin);
  EXPECT_EQ(t.xmax(), xmax);
  EXPECT_EQ(t.ymin(), ymin);
  EXPECT_EQ(t.ymax(), ymax);
}

TEST(TraceData, SettersStoreThePointsAndTheirExtent) {
  traceClass t;
  const double x[] = {1.0, 2.0, 3.0};
  const double y[] = {4.0, -1.0, 2.5};
  ASSERT_TRUE(t.set_xy_arrays(x, y, 3));
  expect_extent(t, 1.0, 3.0, -1.0, 4.0);

  ASSERT_TRUE(t.set_y_values(y, 3));
  EXPECT_EQ(xs_of(t), (std::vector<double>{0.0, 1.0, 2.0}));
  expect_extent(t, 0.0, 2.0, -1.0, 4.0);

  const xyPair pairs[] = {{-2.0, 7.0}, {5.0, 8.0}};
  ASSERT_TRUE(t.set_xy_pairs(pairs, 2));
  expect_extent(t, -2.0, 5.0, 7.0, 8.0);

  ASSERT_TRUE(t.append_point(6.0, -3.0));
  EXPECT_EQ(t.get_count(), 3);
  expect_extent(t, -2.0, 6.0, -3.0, 8.0);

  xyPair* owned = new xyPair[1]{{9.0, 9.0}};
  ASSERT_TRUE(t.adopt_xy_pairs(owned, 1));
  EXPECT_EQ(t.points(), owned);
  expect_extent(t, 9.0, 9.0, 9.0, 9.0);
}

TEST(TraceData, EveryEmptySetterLeavesTheStartExtent) {
  message_capture capture;
  traceClass t;
  const double v[] = {1.0};
  const xyPair p[] = {{1.0, 1.0}};
  auto reset = [&] { t.set_xy_arrays(v, v, 1); };
  reset();
  t.set_xy_arrays(v, v, 0);
  expect_extent(t, 1e31, -1e31, 1e31, -1e31);
  reset();
  t.set_y_values(v, 0);
  expect_extent(t, 1e31, -1e31, 1e31, -1e31);
  reset();
  t.set_xy_pairs(p, 0);
  expect_extent(t, 1e31, -1e31, 1e31, -1e31);
  reset();
  t.adopt_xy_pairs(nullptr, 0);
  expect_extent(t, 1e31, -1e31, 1e31, -1e31);
  EXPECT_EQ(t.get_count(), 0);
  EXPECT_EQ(t.points(), nullptr);
  EXPECT_TRUE(capture.texts().empty());
}

TEST(TraceData, NullDataIsRefusedAndChangesNothing) {
  message_capture capture;
  traceClass t;
  const double v[] = {1.0, 2.0};
  t.set_y_values(v, 2);
  EXPECT_FALSE(t.set_xy_arrays(nullptr, v, 2));
  EXPECT_FALSE(t.set_xy_pairs(nullptr, 2));
  EXPECT_EQ(t.get_count(), 2);
  EXPECT_EQ(capture.texts().size(), 2u);
}

TEST(TraceData, ChangeYOnlyNeedsTheSameCountAndKeepsTheExtent) {
  message_capture capture;
  traceClass t;
  const double y[] = {1.0, 2.0, 3.0};
  t.set_y_values(y, 3);
  const double other[] = {10.0, 20.0, 30.0};
  ASSERT_TRUE(t.change_y_only(other, 3));
  EXPECT_EQ(ys_of(t), (std::vector<double>{10.0, 20.0, 30.0}));
  EXPECT_EQ(t.ymax(), 3.0);
  EXPECT_FALSE(t.change_y_only(other, 2));
  EXPECT_EQ(capture.texts(),
            (std::vector<std::string>{"traceDataClass::change_y_only *** DATA COUNT NOT THE SAME (is 2, not 3) ***"}));
  EXPECT_EQ(ys_of(t), (std::vector<double>{10.0, 20.0, 30.0}));
}

TEST(TraceData, LinearAxisExtentEndsAtTheLastStoredPoint) {
  traceClass t;
  std::vector<double> zeros(10, 0.0);
  t.set_y_values(zeros.data(), 10);
  t.set_linear_axis(0, 5.0, 2.0);
  EXPECT_EQ(t.x_at(0), 5.0);
  EXPECT_EQ(t.x_at(9), 23.0);
  EXPECT_EQ(t.xmin(), 5.0);
  EXPECT_EQ(t.xmax(), 23.0);

  t.set_linear_axis(1, 4.0, -1.0);
  EXPECT_EQ(t.y_at(9), -5.0);
  EXPECT_EQ(t.ymin(), -5.0);
  EXPECT_EQ(t.ymax(), 4.0);
}

TEST(TraceData, NearestIndex) {
  traceClass t;
  const double x[] = {0.0, 1.0, 2.0, 4.0};
  t.set_xy_arrays(x, x, 4);
  struct {
    double t;
    int32_t index;
  } cases[] = {
      {-0.5, -1}, {0.0, 0}, {0.4, 0}, {0.5, 1},  // a tie goes to the later point
      {1.6, 2},   {3.0, 3}, {2.9, 2}, {4.0, 3},  {99.0, 3},
  };
  for (const auto& c : cases) EXPECT_EQ(t.nearest_index(c.t), c.index) << c.t;
  traceClass empty;
  EXPECT_EQ(empty.nearest_index(0.0), -1);
}

TEST(TraceData, IndexOutsideThePointsIsReportedNotRead) {
  message_capture capture;
  traceClass t;
  const double y[] = {1.0, 2.0};
  t.set_y_values(y, 2);
  EXPECT_EQ(t.y_at(2), 0.0);
  EXPECT_EQ(t.x_at(-1), 0.0);
  xyPair p{7.0, 7.0};
  t.get_point(&p, 5);
  EXPECT_EQ(p.x, 7.0);
  EXPECT_EQ(capture.texts().size(), 3u);
  EXPECT_EQ(capture.texts()[0], "### traceDataClass::y_at - INDEX 2 OUTSIDE 2 POINTS ###");
}

TEST(TraceData, CopyDataTakesPointsExtentAndNameAndSurvivesItself) {
  traceClass a, b;
  const double y[] = {3.0, 1.0};
  a.set_y_values(y, 2);
  a.set_name("alpha");
  b.copy_data(a);
  EXPECT_EQ(ys_of(b), ys_of(a));
  EXPECT_STREQ(b.name(), "alpha");
  expect_extent(b, 0.0, 1.0, 1.0, 3.0);
  EXPECT_NE(b.points(), a.points());
  b.copy_data(b);
  EXPECT_EQ(ys_of(b), (std::vector<double>{3.0, 1.0}));
}

// Points i * 0.5 - 1 and (i % 3) * 2 - i, counting the points it makes.
class countingSource : public pointsSource {
 public:
  void fill(int32_t from, int32_t n, xyPair* out) const override {
    made += n;
    for (int32_t i = 0; i < n; i++) out[i] = xyPair{(from + i) * 0.5 - 1.0, ((from + i) % 3) * 2.0 - (from + i)};
  }
  mutable int32_t made = 0;
};

// A trace from a source makes its points once, when they are first read,
// for every copy that shares the source; its extent, its last x and a
// reading once (measurements) keep none. A copy changed afterwards has its
// own points.
TEST(TraceData, PointsFromASourceAreMadeWhenFirstRead) {
  auto source = std::make_shared<countingSource>();
  traceClass a;
  a.set_source(source, 7);
  traceClass b(&a);
  EXPECT_EQ(b.get_count(), 7);
  expect_extent(b, -1.0, 2.0, -6.0, 2.0);
  EXPECT_EQ(b.last_x(), 2.0);
  std::vector<xyPair> scratch;
  const xyPair* once = a.read_points(scratch);
  EXPECT_EQ(once, scratch.data());
  EXPECT_EQ(once[4].y, -2.0);
  EXPECT_TRUE(a.points_pending());
  EXPECT_TRUE(b.points_pending());
  const int32_t made_before = source->made;

  const traceClass& shown = b;
  EXPECT_EQ(ys_of(shown), (std::vector<double>{0.0, 1.0, 2.0, -3.0, -2.0, -1.0, -6.0}));
  EXPECT_EQ(source->made, made_before + 7);
  EXPECT_FALSE(b.points_pending());
  EXPECT_EQ(static_cast<const traceClass&>(a).points(), shown.points());
  EXPECT_EQ(source->made, made_before + 7);
  EXPECT_EQ(a.read_points(scratch), static_cast<const traceClass&>(a).points());

  a.points()[0].y = 50.0;
  EXPECT_EQ(shown.points()[0].y, 0.0);
  EXPECT_EQ(xs_of(a), xs_of(b));

  traceClass empty;
  empty.set_source(source, 0);
  EXPECT_EQ(empty.get_count(), 0);
  EXPECT_FALSE(empty.points_pending());
  expect_extent(empty, extent_low_start, extent_high_start, extent_low_start, extent_high_start);
}

TEST(Trace, DefaultsAndDisplayedCoordinates) {
  traceClass t;
  EXPECT_STREQ(t.label(), "unknown");
  EXPECT_STREQ(t.name(), "");
  EXPECT_STREQ(t.legend_text(), "");
  EXPECT_STREQ(t.x_units(), "unknown");
  EXPECT_STREQ(t.y_axis.name(), "unknown");
  EXPECT_EQ(t.color, 1);
  EXPECT_EQ(t.line_width, 1);
  EXPECT_EQ(t.symbol_size, 3.0);
  EXPECT_EQ(t.symbol_separation, 10.0);
  EXPECT_EQ(t.shown, 1);
  EXPECT_EQ(t.use_for_scaling, 1);

  const double x[] = {1.0, 2.0};
  const double y[] = {10.0, 20.0};
  t.set_data(4, x, y, 2);
  EXPECT_EQ(t.color, 4);
  t.set_x_offset(1.0);
  t.x_factor = 2.0;
  t.set_y_offset(-10.0);
  t.y_factor = 0.5;
  EXPECT_EQ(t.x(1), 6.0);
  EXPECT_EQ(t.y(1), 5.0);
  xyPair* shown = t.displayed_points();
  EXPECT_EQ(shown[0].x, 4.0);
  EXPECT_EQ(shown[0].y, 0.0);
  delete[] shown;
  t.replace_points(nullptr, 0);
  EXPECT_EQ(t.color, 4);
  EXPECT_EQ(t.displayed_points(), nullptr);
}

TEST(Trace, LoadCopiesStyleButKeepsOffsetsFactorsAndShownFlag) {
  traceClass source;
  const double y[] = {1.0, 2.0};
  source.set_y_values(5, y, 2);
  source.set_name("src");
  source.set_legend_text("legend");
  source.set_label("label");
  source.line_width = 3;
  source.dash_period = 5;
  source.symbol = symbol_circle;
  source.symbol_color = 2;
  source.set_x_units("mS");
  source.set_y_units("uV");
  source.set_x_offset(9.0);
  source.shown = 0;
  source.x_axis.set_name("time");

  traceClass target;
  target.set_y_offset(3.0);
  target.y_factor = 2.0;
  ASSERT_TRUE(target.load(&source));
  EXPECT_EQ(target.color, 5);
  EXPECT_EQ(target.line_width, 3);
  EXPECT_EQ(target.dash_period, 5);
  EXPECT_EQ(target.symbol, symbol_circle);
  EXPECT_EQ(target.symbol_color, 2);
  EXPECT_STREQ(target.name(), "src");
  EXPECT_STREQ(target.legend_text(), "legend");
  EXPECT_STREQ(target.label(), "label");
  EXPECT_STREQ(target.x_units(), "mS");
  EXPECT_STREQ(target.y_units(), "uV");
  EXPECT_EQ(target.y_offset(), 3.0);
  EXPECT_EQ(target.y_factor, 2.0);
  EXPECT_EQ(target.x_offset(), 0.0);
  EXPECT_EQ(target.shown, 1);
  EXPECT_STREQ(target.x_axis.name(), "unknown");
  EXPECT_EQ(ys_of(target), ys_of(source));

  message_capture capture;
  EXPECT_FALSE(target.load(nullptr));
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** traceClass::load (traceClass* is NULL) ***"}));
  EXPECT_EQ(target.get_count(), 2);
}

TEST(TraceClipboard, StoreNamesTheCopyAndForgetsADestroyedSource) {
  clipboardClass clipboard;
  EXPECT_FALSE(clipboard.loaded());
  EXPECT_EQ(clipboard.loaded_trace(), nullptr);

  traceClass source;
  const double y[] = {1.0, 2.0, 3.0};
  source.set_y_values(y, 3);
  source.set_legend_text("A");
  source.set_label("source label");
  ASSERT_TRUE(clipboard.store(&source, "B"));
  EXPECT_STREQ(clipboard.legend_text(), "AB");
  EXPECT_STREQ(clipboard.label(), "B");
  EXPECT_TRUE(clipboard.held());
  EXPECT_EQ(clipboard.loaded_trace(), &clipboard);
  EXPECT_EQ(clipboard.source_window(), nullptr);

  ASSERT_TRUE(clipboard.store(&source, nullptr));
  EXPECT_STREQ(clipboard.label(), "source label");
  EXPECT_STREQ(clipboard.legend_text(), "A");

  // The clipboard keeps its own copy: the source may go.
  {
    traceClass gone;
    gone.set_y_values(y, 2);
    int thumbnail_stand_in = 0;
    thumbnailClass* thumb = reinterpret_cast<thumbnailClass*>(&thumbnail_stand_in);
    ASSERT_TRUE(clipboard.store_thumbnail(thumb, &gone, nullptr));
    EXPECT_EQ(clipboard.source_window(), thumb);
    clipboard.forget_source(nullptr);
    EXPECT_EQ(clipboard.source_window(), thumb);
    clipboard.forget_source(thumb);
    EXPECT_EQ(clipboard.source_window(), nullptr);
  }
  EXPECT_EQ(clipboard.get_count(), 2);
  EXPECT_STRNE(clipboard.type_tag(), source.type_tag());

  message_capture capture;
  EXPECT_FALSE(clipboard.store(nullptr, "x"));
  EXPECT_EQ(capture.texts().size(), 1u);
}

}  // namespace
