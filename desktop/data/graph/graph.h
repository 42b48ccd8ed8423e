// graphClass: the plotting engine of the desktop's graphs (the thumbnail's
// small graph, the measurement and comparison graphs, the inverse-transform
// window, the oscillatory-potentials panel and the sample windows).
//
// It owns a list of trace entries, maps data to pixels along two linear axes
// (axis_map.h), scales itself to its traces, keeps a cross-hair and two
// markers and computes the average of its traces. The windows draw it on the
// screen or the printer through a graphPainter (graph_painter.h). A graph is
// a member of its window and lives on that window's thread.
#ifndef DESKTOP_DATA_GRAPH_GRAPH_H
#define DESKTOP_DATA_GRAPH_GRAPH_H

#include <cstdint>

#include "desktop/data/graph/axis_map.h"
#include "desktop/winlib/values/double_objects.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/position.h"
#include "desktop/winlib/containers/r_list.h"
#include "desktop/data/trace.h"

// A marker (or the cross-hair): a data point, a shown and a set flag. The
// pen index and size serve the cross-hair only.
class graphMarker {
 public:
  explicit graphMarker(uint8_t shown_at_start);

  void show() { shown = 1; }
  void hide() { shown = 0; }
  double x() const { return x_value.stored_value(); }
  double y() const { return y_value.stored_value(); }
  void set_point(double x, double y);

  doubleObject x_value;  // 0.0 at construction
  doubleObject y_value;
  uint8_t shown;
  uint8_t set = 0;
  int32_t pen_index = 2;
  int32_t size = 5;
};

// A graph's average runs on a grid of this step (x units, milliseconds)...
constexpr double average_grid_step = 0.5;
// ...over at most this many grid points; a longer span is refused.
constexpr int32_t average_grid_limit = 10000000;

class graphClass : public positionClass {
 public:
  graphClass();
  // Deletes every entry and the average trace.
  ~graphClass() override;
  graphClass(const graphClass&) = delete;
  graphClass& operator=(const graphClass&) = delete;

  // Placement in pixels: the box in page units through scale, the maps'
  // pixel ends (x left to right, y bottom to top; the data ranges are
  // kept), the integer bounds (the painter clips traces to them) and the
  // plot mode (a colour index that fills the plot).
  void set_plot_area_pixels(int left, int right, int top, int bottom, const paper& scale, int mode);
  // The same from a rectangle in page units.
  void set_plot_area(double x0, double x1, double y0, double y1, const paper& scale, int mode);

  // Ranges: x as given; y with a margin of 2 % of its width at both ends.
  // Equal ends are widened first; ends that are no numbers are refused with
  // a message and the range is kept.
  void set_x_range(double min, double max);
  void set_y_range(double min, double max);
  void set_ranges(double x0, double x1, double y0, double y1);
  // Scales both axes to the displayed extents of the entries that take part
  // in scaling (see graph.cpp); nothing for an empty list or empty traces.
  void autoscale();

  double x_range_min() const { return x_range_min_; }
  double x_range_max() const { return x_range_max_; }
  double y_margin() const { return y_margin_; }

  // Coordinates.
  axisMap& x_map() { return x_map_; }
  axisMap& y_map() { return y_map_; }
  const axisMap& x_map() const { return x_map_; }
  const axisMap& y_map() const { return y_map_; }
  void pixel_to_data(int px, int py, double* x, double* y) const;
  // 1 when left <= px <= right and top <= py <= bottom (the frame included).
  int in_plot_area(int px, int py) const;
  // A data value in page units of scale (used for symbols).
  double page_x(double x, const paper& scale) const;
  double page_y(double y, const paper& scale) const;

  int plot_left() const { return left_; }
  int plot_top() const { return top_; }
  int plot_right() const { return right_; }
  int plot_bottom() const { return bottom_; }
  int plot_mode() const { return mode_; }
  // Whether the plot area was set (a graph never placed clips nothing).
  bool placed() const { return placed_; }

  // The trace list; the graph owns its entries.
  // A new entry with a copy of trace.
  tracePlusClass* add_trace(const traceClass* trace);
  // A copy of entry, or entry itself when it is the average entry.
  tracePlusClass* add_trace_copy(tracePlusClass* entry);
  // A new entry from the data, in colour index colour.
  tracePlusClass* add_xy_pairs(const xyPair* pairs, int32_t n, int32_t colour);
  tracePlusClass* add_xy_arrays(const double* x, const double* y, int32_t n, int32_t colour);
  // Removes and deletes the entry whose own copy is trace; returns trace,
  // or null when no entry has it.
  traceClass* remove_trace(traceClass* trace);
  int32_t trace_count() const;
  // Null (reported) for an index outside the list.
  tracePlusClass* trace_entry(int32_t index);
  // The entry's active trace, or null.
  traceClass* trace(int32_t index);
  // The active traces in list order through the list's one scan; null at
  // the end (the scan then ends). end_trace_scan ends it early.
  traceClass* first_trace();
  traceClass* next_trace();
  void end_trace_scan();
  // The use-for-scaling flag of the entry whose active trace is trace.
  void set_use_for_scaling(const traceClass* trace, uint8_t flag);

  // Marker 0 or 1: its point, shown and set.
  void set_marker(int index, double x, double y);
  // Marker 0 or 1; null (reported) for another index.
  graphMarker* marker(int index);

  // The entries in list order, for the painter's walk (the list's own scan
  // stays free for first_trace and next_trace).
  r_list<tracePlusClass>& entries() { return entries_; }

  // Averages the traces that take part in scaling into the average entry's
  // own copy on a 0.5 ms grid over the span they share. False, with a
  // message, when there is nothing to average.
  bool compute_average();
  traceClass* average_trace() { return average_; }
  int32_t averaged_count() const { return averaged_count_; }

  // Gridlines (0 at construction).
  uint8_t x_major_grid = 0;
  uint8_t x_minor_grid = 0;
  uint8_t y_major_grid = 0;
  uint8_t y_minor_grid = 0;
  // 1: autoscale takes the extents of filtered traces.
  uint8_t use_filtered_extents = 0;

  graphMarker xhair{0};
  graphMarker marker1{1};
  graphMarker marker2{1};

  // Extremes of the last solid line drawn (the painter keeps them).
  double max_y = -1e20;
  double max_y_x = 0.0;
  double min_y = 1e20;
  double min_y_x = 0.0;

  // The entry that shows the average (the owning window designates it and
  // adds it to the list); null when none.
  tracePlusClass* average_entry = nullptr;

 private:
  void place_pixels(int left, int right, int top, int bottom, int mode);
  void place_box(double x, double y, double width, double height);
  // Appends entry (owned); null when the list refuses it (entry deleted).
  tracePlusClass* append_entry(tracePlusClass* entry);

  r_list<tracePlusClass> entries_{"nameless"};
  axisMap x_map_;
  axisMap y_map_;
  double y_margin_ = 0.0;
  double x_range_min_ = 0.0;
  double x_range_max_ = 100.0;
  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t right_ = 0;
  int32_t bottom_ = 0;
  int32_t mode_ = 9;
  bool placed_ = false;
  int32_t averaged_count_ = 0;
  traceClass* average_ = nullptr;
};

#endif
