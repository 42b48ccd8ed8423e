// The graph's model: placement and margins, autoscale, the trace list and
// the average of its traces.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/graph/graph.h"
#include "desktop/winlib/tests/message_capture.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// A ramp y = offset + x from x0 to x1 in steps of step (stored points).
std::unique_ptr<traceClass> ramp(double x0, double x1, double step, double offset) {
  std::vector<double> x;
  std::vector<double> y;
  for (int i = 0; x0 + i * step <= x1 + 1e-9; i++) {
    x.push_back(x0 + i * step);
    y.push_back(offset + x0 + i * step);
  }
  auto trace = std::make_unique<traceClass>();
  trace->set_data(3, x.data(), y.data(), static_cast<int32_t>(x.size()));
  return trace;
}

// A graph placed on pixels 50..450 by 20..420 at 4 pixels per mm.
class Graph : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scale.rescale(2000, 2000, 500, 500));
    graph.set_plot_area_pixels(50, 450, 20, 420, scale, 9);
  }
  paper scale;
  graphClass graph;
};

// A graph with an average entry made from the graph's own average trace.
class Average : public Graph {
 protected:
  void SetUp() override {
    Graph::SetUp();
    graph.average_entry = new tracePlusClass(graph.average_trace());
    ASSERT_EQ(graph.add_trace_copy(graph.average_entry), graph.average_entry);
  }
  traceClass* average() { return graph.average_entry->own_trace(); }
};

}  // namespace

TEST_F(Graph, PlacementAndTheMarginOfY) {
  EXPECT_DOUBLE_EQ(graph.x(), 12.5);
  EXPECT_DOUBLE_EQ(graph.y(), 5.0);
  EXPECT_DOUBLE_EQ(graph.width(), 100.25);
  graph.set_ranges(0, 200, 0, 100);
  EXPECT_DOUBLE_EQ(graph.y_margin(), 2.0);
  struct row {
    double x, y;
    int px, py;
  };
  for (const row& c : {row{0, -2, 50, 420}, row{200, 102, 450, 20}, row{100, 50, 250, 220}}) {
    EXPECT_EQ(graph.x_map().to_pixel(c.x), c.px) << c.x;
    EXPECT_EQ(graph.y_map().to_pixel(c.y), c.py) << c.y;
  }
  double x = 0;
  double y = 0;
  graph.pixel_to_data(250, 220, &x, &y);
  EXPECT_DOUBLE_EQ(x, 100.0);
  EXPECT_DOUBLE_EQ(y, 50.0);
  // The frame's own pixels are inside.
  struct probe {
    int px, py, inside;
  };
  for (const probe& c : {probe{50, 20, 1}, probe{450, 420, 1}, probe{49, 100, 0}, probe{451, 100, 0},
                         probe{100, 19, 0}, probe{100, 421, 0}}) {
    EXPECT_EQ(graph.in_plot_area(c.px, c.py), c.inside) << c.px << "," << c.py;
  }
  // Placement in page units.
  graph.set_plot_area(10, 60, 5, 45, scale, 9);
  EXPECT_EQ(graph.plot_left(), 40);
  EXPECT_EQ(graph.plot_right(), 240);
  EXPECT_EQ(graph.plot_top(), 20);
  EXPECT_EQ(graph.plot_bottom(), 180);
  EXPECT_DOUBLE_EQ(graph.width(), 50.0);
}

TEST_F(Graph, RangesThatAreNoNumbersOrFlat) {
  message_capture capture;
  graph.set_ranges(0, 200, 0, 100);
  graph.set_y_range(std::numeric_limits<double>::quiet_NaN(), 1);
  graph.set_x_range(0, std::numeric_limits<double>::infinity());
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "*** graphClass::set_y_range - RANGE IS NOT A NUMBER (nan, 1) ***",
                                 "*** graphClass::set_x_range - RANGE IS NOT A NUMBER (0, inf) ***"}));
  EXPECT_EQ(graph.y_map().to_pixel(-2), 420);
  EXPECT_EQ(graph.x_map().to_pixel(200), 450);

  // A flat trace at 5 scales to a range around 5.
  double xs[] = {0, 10, 20};
  double ys[] = {5, 5, 5};
  graph.add_xy_arrays(xs, ys, 3, 2);
  graph.autoscale();
  EXPECT_TRUE(std::isfinite(graph.y_map().scale()));
  EXPECT_NEAR(graph.y_map().to_pixel(5), 220, 1);
}

TEST_F(Graph, AutoscaleOverScalingEntriesAndFilteredExtents) {
  // Nothing to scale to: the ranges stay.
  graph.set_ranges(0, 200, 0, 100);
  graph.autoscale();
  EXPECT_DOUBLE_EQ(graph.x_range_max(), 200.0);

  // A 60 Hz hum on a level of 20 over 0..200 ms at 2 kHz.
  std::vector<double> x;
  std::vector<double> y;
  for (int i = 0; i <= 400; i++) {
    x.push_back(i * 0.5);
    y.push_back(20.0 + 50.0 * std::sin(2 * pi * 60.0 * i * 0.0005));
  }
  tracePlusClass* hum = graph.add_xy_arrays(x.data(), y.data(), static_cast<int32_t>(x.size()), 3);
  tracePlusClass* empty = graph.add_xy_pairs(nullptr, 0, 5);  // empty: adds nothing
  ASSERT_NE(empty, nullptr);
  ASSERT_TRUE(hum->set_60hz_filter(1));
  const traceClass* own = hum->own_trace();
  const traceClass* filtered = hum->active_trace();
  ASSERT_NE(own, filtered);
  ASSERT_LT(filtered->ymax() - filtered->ymin(), own->ymax() - own->ymin());

  graph.autoscale();  // a filtered entry scales to its unfiltered copy
  double m = (own->ymax() - own->ymin()) * 0.02;
  EXPECT_DOUBLE_EQ(graph.y_map().data_start(), own->ymin() - m);
  EXPECT_DOUBLE_EQ(graph.y_map().data_end(), own->ymax() + m);
  EXPECT_DOUBLE_EQ(graph.x_range_min(), 0.0);
  EXPECT_DOUBLE_EQ(graph.x_range_max(), 200.0);

  graph.use_filtered_extents = 1;
  graph.autoscale();
  m = (filtered->ymax() - filtered->ymin()) * 0.02;
  EXPECT_DOUBLE_EQ(graph.y_map().data_start(), filtered->ymin() - m);
  EXPECT_DOUBLE_EQ(graph.y_map().data_end(), filtered->ymax() + m);

  // Offsets and factors count; an entry out of scaling does not.
  auto distant = ramp(0, 10, 1, 0);
  tracePlusClass* distant_entry = graph.add_trace(distant.get());
  distant_entry->set_x_offset(1000);
  distant_entry->active_trace()->x_factor = 2.0;
  graph.autoscale();
  EXPECT_DOUBLE_EQ(graph.x_range_max(), 2020.0);
  distant_entry->set_use_for_scaling(0);
  graph.autoscale();
  EXPECT_DOUBLE_EQ(graph.x_range_max(), 200.0);

  // No entry takes part: the last entry's own copy.
  hum->set_use_for_scaling(0);
  graph.set_use_for_scaling(empty->active_trace(), 0);
  graph.autoscale();
  EXPECT_DOUBLE_EQ(graph.x_range_min(), 2000.0);
  EXPECT_DOUBLE_EQ(graph.x_range_max(), 2020.0);
}

TEST_F(Graph, TraceList) {
  message_capture capture;
  auto a = ramp(0, 10, 1, 0);
  tracePlusClass* first = graph.add_trace(a.get());
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first->own_trace(), a.get());  // the entry copies the trace
  EXPECT_EQ(first->source_trace(), a.get());
  tracePlusClass* copy = graph.add_trace_copy(first);
  EXPECT_NE(copy, first);
  double pairs[] = {1, 2, 3, 4};
  tracePlusClass* third = graph.add_xy_pairs(reinterpret_cast<const xyPair*>(pairs), 2, 4);
  EXPECT_EQ(third->source_trace(), nullptr);  // nothing that outlives the call
  EXPECT_EQ(third->own_trace()->color, 4);
  EXPECT_DOUBLE_EQ(third->own_trace()->xmax(), 3.0);
  EXPECT_EQ(graph.trace_count(), 3);
  EXPECT_EQ(graph.trace_entry(2), third);
  EXPECT_EQ(graph.trace(1), copy->active_trace());

  std::vector<traceClass*> scanned;
  for (traceClass* t = graph.first_trace(); t; t = graph.next_trace()) scanned.push_back(t);
  EXPECT_EQ(scanned, (std::vector<traceClass*>{first->active_trace(), copy->active_trace(), third->active_trace()}));

  traceClass* removed = copy->own_trace();
  EXPECT_EQ(graph.remove_trace(removed), removed);
  EXPECT_EQ(graph.remove_trace(a.get()), nullptr);  // not an entry's own copy
  EXPECT_EQ(graph.trace_count(), 2);
  EXPECT_EQ(graph.trace(5), nullptr);
  EXPECT_EQ(graph.add_trace(nullptr), nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"### r_list::get(5) [nameless] ### INDEX IS OUT OF RANGE",
                                                       "*** graphClass::add_trace - TRACE IS NULL ***"}));
}

TEST_F(Graph, Markers) {
  message_capture capture;
  EXPECT_EQ(graph.marker1.shown, 1);
  EXPECT_EQ(graph.marker1.set, 0);
  EXPECT_EQ(graph.xhair.shown, 0);
  EXPECT_EQ(graph.xhair.pen_index, 2);
  EXPECT_EQ(graph.xhair.size, 5);
  graph.marker2.hide();
  graph.set_marker(1, 30, 40);
  EXPECT_EQ(graph.marker2.shown, 1);
  EXPECT_EQ(graph.marker2.set, 1);
  EXPECT_DOUBLE_EQ(graph.marker2.x(), 30.0);
  EXPECT_DOUBLE_EQ(graph.marker2.y(), 40.0);
  graph.set_marker(2, 1, 1);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** graphClass - MARKER 2 DOES NOT EXIST ***"}));
}

TEST_F(Average, TwoOverlappingRampsOnTheHalfMillisecondGrid) {
  // Stored at 0.25 ms so that every grid time is a stored point.
  auto a = ramp(0, 100, 0.25, 0);
  auto b = ramp(50, 200, 0.25, 1000);
  graph.add_trace(a.get());
  graph.add_trace(b.get());
  ASSERT_TRUE(graph.compute_average());
  EXPECT_EQ(graph.averaged_count(), 2);
  const traceClass* avg = average();
  ASSERT_EQ(avg->get_count(), 100);
  for (int i = 0; i < avg->get_count(); i++) {
    double t = 50.0 + 0.5 * i;
    EXPECT_DOUBLE_EQ(avg->x_at(i), t);
    EXPECT_DOUBLE_EQ(avg->y_at(i), 500.0 + t);
  }
  EXPECT_STREQ(avg->label(), "");
}

TEST_F(Average, GridTimesAreLookedUpAtEachTracesStoredX) {
  // The second trace is stored from 0, shown from 50 by its offset, and a
  // third is stored at half its shown times (x factor 2).
  auto a = ramp(0, 100, 0.25, 0);
  auto b = ramp(0, 150, 0.25, 1050);
  auto c = ramp(25, 100, 0.125, 0);
  tracePlusClass* be = graph.add_trace(b.get());
  be->set_x_offset(50);
  graph.add_trace(a.get());
  tracePlusClass* ce = graph.add_trace(c.get());
  ce->active_trace()->x_factor = 2.0;  // shown 50..200, y = x / 2
  ASSERT_TRUE(graph.compute_average());
  EXPECT_EQ(graph.averaged_count(), 3);
  const traceClass* avg = average();
  ASSERT_EQ(avg->get_count(), 100);
  for (int i = 0; i < avg->get_count(); i += 33) {
    double t = 50.0 + 0.5 * i;
    // b at stored t - 50 is 1050 + t - 50; a is t; c at stored t / 2 is t / 2.
    EXPECT_DOUBLE_EQ(avg->y_at(i), (1000.0 + t + t + t / 2.0) / 3.0) << t;
  }
}

TEST_F(Average, RefusalsKeepThePreviousAverage) {
  message_capture capture;
  graphClass bare;
  EXPECT_FALSE(bare.compute_average());
  EXPECT_FALSE(graph.compute_average());  // only the average entry
  auto a = ramp(0, 100, 1, 0);
  auto b = ramp(99.5, 200, 1, 0);
  tracePlusClass* ae = graph.add_trace(a.get());
  tracePlusClass* be = graph.add_trace(b.get());

  // The average entry and one other: that one trace.
  be->set_use_for_scaling(0);
  ASSERT_TRUE(graph.compute_average());
  EXPECT_EQ(graph.averaged_count(), 1);
  ASSERT_EQ(average()->get_count(), 200);
  EXPECT_DOUBLE_EQ(average()->y_at(21), 11.0);  // t = 10.5: a tie goes to the later point

  be->set_use_for_scaling(1);
  EXPECT_FALSE(graph.compute_average());  // 0.5 ms of overlap
  ae->set_use_for_scaling(0);
  be->set_use_for_scaling(0);
  EXPECT_FALSE(graph.compute_average());
  EXPECT_EQ(average()->get_count(), 200);

  // An absurd span is refused before any room is taken.
  auto wide_a = ramp(0, 1e8, 1e8, 0);
  auto wide_b = ramp(0, 1e8, 1e8, 0);
  graph.add_trace(wide_a.get());
  graph.add_trace(wide_b.get());
  EXPECT_FALSE(graph.compute_average());
  EXPECT_EQ(average()->get_count(), 200);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "*** NO AVERAGE TRACE FOUND ***",
                                 "*** NOT ENOUGH TRACES TO AVERAGE ***",
                                 "*** TIME VALUES OF THE CURRENT TRACES DO NOT OVERLAP ***",
                                 "*** NO TRACES TO AVERAGE ***",
                                 "*** AVERAGE CALCULATION, TIME SPAN TOO LONG (0 TO 1e+08) ***",
                             }));
}
