#include "desktop/data/graph/graph.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/messages.h"

graphMarker::graphMarker(uint8_t shown_at_start) : shown(shown_at_start) {
  x_value.set_value(0.0);
  y_value.set_value(0.0);
}

void graphMarker::set_point(double x, double y) {
  x_value.set_value(x);
  y_value.set_value(y);
}

namespace {

// The displayed extent of a trace: its stored extent through its offsets and
// factors, ends in ascending order. An empty trace keeps the empty extent.
struct extent {
  double xmin = extent_low_start;
  double xmax = extent_high_start;
  double ymin = extent_low_start;
  double ymax = extent_high_start;

  bool empty() const { return !(xmin <= xmax) || !(ymin <= ymax); }
  void widen(const extent& other) {
    if (other.xmin < xmin) xmin = other.xmin;
    if (other.xmax > xmax) xmax = other.xmax;
    if (other.ymin < ymin) ymin = other.ymin;
    if (other.ymax > ymax) ymax = other.ymax;
  }
};

void ordered(double a, double b, double* low, double* high) {
  *low = a < b ? a : b;
  *high = a < b ? b : a;
}

extent displayed_extent(const traceClass& trace) {
  extent e;
  if (trace.get_count() <= 0) return e;
  ordered((trace.xmin() + trace.x_offset()) * trace.x_factor, (trace.xmax() + trace.x_offset()) * trace.x_factor,
          &e.xmin, &e.xmax);
  ordered((trace.ymin() + trace.y_offset()) * trace.y_factor, (trace.ymax() + trace.y_offset()) * trace.y_factor,
          &e.ymin, &e.ymax);
  return e;
}

bool range_ok(double min, double max, const char* caller) {
  if (std::isfinite(min) && std::isfinite(max) && std::isfinite(max - min)) return true;
  errormessage("*** graphClass::%s - RANGE IS NOT A NUMBER (%lg, %lg) ***", caller, min, max);
  return false;
}

// Ends the log level that compute_average opened, on every way out.
class logLevel {
 public:
  logLevel() = default;
  ~logLevel() { leave(); }
  void leave() {
    if (open_) log_leave();
    open_ = false;
  }
  logLevel(const logLevel&) = delete;
  logLevel& operator=(const logLevel&) = delete;

 private:
  bool open_ = true;
};

unsigned long log_address(const void* p) { return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace

graphClass::graphClass() : average_(new traceClass) { average_->set_legend_text("AVERAGE"); }

graphClass::~graphClass() {
  delete_list_items(&entries_);
  delete average_;
}

// ---- placement ----------------------------------------------------------------

void graphClass::place_pixels(int left, int right, int top, int bottom, int mode) {
  x_map_.set_pixels(left, right);
  y_map_.set_pixels(bottom, top);
  left_ = left;
  right_ = right;
  top_ = top;
  bottom_ = bottom;
  mode_ = mode;
  placed_ = true;
}

void graphClass::place_box(double x, double y, double width, double height) {
  ref_x = box_x = x;
  ref_y = box_y = y;
  box_width = width;
  box_height = height;
}

void graphClass::set_plot_area_pixels(int left, int right, int top, int bottom, const paper& scale, int mode) {
  double x_per = scale.x_px_per_mm != 0.0 ? scale.x_px_per_mm : 1.0;
  double y_per = scale.y_px_per_mm != 0.0 ? scale.y_px_per_mm : 1.0;
  place_box((left - scale.x_origin) / x_per, (top - scale.y_origin) / y_per,
            (right - left + 1 - scale.x_origin) / x_per, (bottom - top + 1 - scale.y_origin) / y_per);
  place_pixels(left, right, top, bottom, mode);
}

void graphClass::set_plot_area(double x0, double x1, double y0, double y1, const paper& scale, int mode) {
  place_box(x0, y0, x1 - x0, y1 - y0);
  place_pixels(scale.px_x(x0), scale.px_x(x1), scale.px_y(y0), scale.px_y(y1), mode);
}

// ---- ranges and scaling ---------------------------------------------------------

void graphClass::set_x_range(double min, double max) {
  if (!range_ok(min, max, "set_x_range")) return;
  widen_zero_range(min, max);
  x_map_.set_data(min, max);
  x_range_min_ = min;
  x_range_max_ = max;
}

void graphClass::set_y_range(double min, double max) {
  if (!range_ok(min, max, "set_y_range")) return;
  widen_zero_range(min, max);
  y_margin_ = (max - min) * 0.02;
  y_map_.set_data(min - y_margin_, max + y_margin_);
}

void graphClass::set_ranges(double x0, double x1, double y0, double y1) {
  set_x_range(x0, x1);
  set_y_range(y0, y1);
}

// The displayed extents of the entries whose active trace takes part in
// scaling: the active trace's when the entry has no filter on or the graph
// scales to filtered traces, else the unfiltered copy's. When none takes
// part, the last entry's own copy. Empty traces add nothing; when nothing is
// left the ranges stay.
void graphClass::autoscale() {
  if (!entries_.tail()) return;
  extent all;
  bool taken = false;
  for (r_list<tracePlusClass>::element* e = entries_.head(); e; e = e->next) {
    tracePlusClass* entry = e->payload;
    if (!entry || !entry->use_for_scaling()) continue;
    const traceClass* trace = !entry->any_filter() || use_filtered_extents ? entry->active_trace() : entry->own_trace();
    all.widen(displayed_extent(*trace));
    taken = true;
  }
  if (!taken && entries_.tail()->payload) all = displayed_extent(*entries_.tail()->payload->own_trace());
  if (all.empty()) return;
  set_x_range(all.xmin, all.xmax);
  set_y_range(all.ymin, all.ymax);
}

// ---- coordinates ----------------------------------------------------------------

void graphClass::pixel_to_data(int px, int py, double* x, double* y) const {
  if (x) *x = x_map_.to_data(px);
  if (y) *y = y_map_.to_data(py);
}

int graphClass::in_plot_area(int px, int py) const {
  return px >= left_ && px <= right_ && py >= top_ && py <= bottom_ ? 1 : 0;
}

double graphClass::page_x(double x, const paper& scale) const {
  return scale.x_px_per_mm != 0.0 ? (x_map_.to_pixel(x) - scale.x_origin) / scale.x_px_per_mm : 0.0;
}

double graphClass::page_y(double y, const paper& scale) const {
  return scale.y_px_per_mm != 0.0 ? (y_map_.to_pixel(y) - scale.y_origin) / scale.y_px_per_mm : 0.0;
}

// ---- trace list ---------------------------------------------------------------

tracePlusClass* graphClass::append_entry(tracePlusClass* entry) {
  if (!entries_.add(entry)) {
    delete entry;
    return nullptr;
  }
  return entry;
}

tracePlusClass* graphClass::add_trace(const traceClass* trace) {
  if (!trace) {
    errormessage("*** graphClass::add_trace - TRACE IS NULL ***");
    return nullptr;
  }
  return append_entry(new tracePlusClass(trace));
}

tracePlusClass* graphClass::add_trace_copy(tracePlusClass* entry) {
  if (!entry) {
    errormessage("*** graphClass::add_trace_copy - ENTRY IS NULL ***");
    return nullptr;
  }
  if (entry == average_entry) return entries_.add(entry) ? entry : nullptr;
  return append_entry(new tracePlusClass(*entry));
}

// The entry is made without a source: the data have no trace that outlives
// the call.
tracePlusClass* graphClass::add_xy_pairs(const xyPair* pairs, int32_t n, int32_t colour) {
  tracePlusClass* entry = new tracePlusClass(nullptr);
  entry->own_trace()->set_points(colour, pairs, n);
  return append_entry(entry);
}

tracePlusClass* graphClass::add_xy_arrays(const double* x, const double* y, int32_t n, int32_t colour) {
  tracePlusClass* entry = new tracePlusClass(nullptr);
  entry->own_trace()->set_data(colour, x, y, n);
  return append_entry(entry);
}

// The trace returned has been deleted with its entry: it only tells that an
// entry held it.
traceClass* graphClass::remove_trace(traceClass* trace) {
  if (!trace) return nullptr;
  for (r_list<tracePlusClass>::element* e = entries_.head(); e; e = e->next) {
    tracePlusClass* entry = e->payload;
    if (!entry || entry->own_trace() != trace) continue;
    if (!entries_.remove_lep(e, 1)) return nullptr;
    if (entry == average_entry) average_entry = nullptr;
    delete entry;
    return trace;
  }
  return nullptr;
}

int32_t graphClass::trace_count() const { return entries_.count(); }

tracePlusClass* graphClass::trace_entry(int32_t index) {
  if (index >= 0) {
    int32_t i = 0;
    for (r_list<tracePlusClass>::element* e = entries_.head(); e; e = e->next, ++i) {
      if (i == index) return e->payload;
    }
  }
  errormessage("### r_list::get(%d) [%s] ### INDEX IS OUT OF RANGE", static_cast<int>(index), entries_.name());
  return nullptr;
}

traceClass* graphClass::trace(int32_t index) {
  tracePlusClass* entry = trace_entry(index);
  return entry ? entry->active_trace() : nullptr;
}

traceClass* graphClass::first_trace() {
  tracePlusClass* entry = entries_.first();
  return entry ? entry->active_trace() : nullptr;
}

traceClass* graphClass::next_trace() {
  tracePlusClass* entry = entries_.next();
  return entry ? entry->active_trace() : nullptr;
}

void graphClass::end_trace_scan() { entries_.scan_end(); }

void graphClass::set_use_for_scaling(const traceClass* trace, uint8_t flag) {
  for (r_list<tracePlusClass>::element* e = entries_.head(); e; e = e->next) {
    if (e->payload && e->payload->active_trace() == trace) {
      e->payload->set_use_for_scaling(flag);
      return;
    }
  }
}

// ---- markers --------------------------------------------------------------------

graphMarker* graphClass::marker(int index) {
  if (index == 0) return &marker1;
  if (index == 1) return &marker2;
  errormessage("*** graphClass - MARKER %d DOES NOT EXIST ***", index);
  return nullptr;
}

void graphClass::set_marker(int index, double x, double y) {
  graphMarker* m = marker(index);
  if (!m) return;
  m->set_point(x, y);
  m->shown = 1;
  m->set = 1;
}

// ---- average --------------------------------------------------------------------

// Every trace other than the average entry's that takes part in scaling is
// averaged over the span all of them cover, on a grid of 0.5 from its start
// to the last point below its end. A grid time t is looked up in each trace
// at its stored x (t / x factor - x offset); a trace that does not cover
// that x adds nothing there, and each point is the mean of the traces that
// do. Failures before the grid is built keep the previous average.
bool graphClass::compute_average() {
  log_enter("ENTRY - graphClass::compute_average(#%8.8lx)", log_address(average_));
  logLevel level;
  if (!average_entry) {
    errormessage("*** NO AVERAGE TRACE FOUND ***");
    return false;
  }
  if (trace_count() < 2) {
    errormessage("*** NOT ENOUGH TRACES TO AVERAGE ***");
    return false;
  }
  std::vector<const traceClass*> taken;
  double lo = -1e100;
  double hi = 1e100;
  for (r_list<tracePlusClass>::element* e = entries_.head(); e; e = e->next) {
    tracePlusClass* entry = e->payload;
    if (!entry || entry == average_entry || !entry->use_for_scaling()) continue;
    const traceClass* trace = entry->active_trace();
    extent span = displayed_extent(*trace);
    if (span.xmin > lo) lo = span.xmin;
    if (span.xmax < hi) hi = span.xmax;
    taken.push_back(trace);
  }
  if (taken.empty()) {
    errormessage("*** NO TRACES TO AVERAGE ***");
    return false;
  }
  if (!(hi - lo >= 1.0)) {
    errormessage("*** TIME VALUES OF THE CURRENT TRACES DO NOT OVERLAP ***");
    return false;
  }
  double steps = (hi - lo) / average_grid_step;
  if (!(steps <= average_grid_limit)) {
    errormessage("*** AVERAGE CALCULATION, TIME SPAN TOO LONG (%lg TO %lg) ***", lo, hi);
    return false;
  }
  // Grid points lo + k * step below hi.
  int32_t room = static_cast<int32_t>(std::floor(steps));
  if (lo + room * average_grid_step < hi) ++room;

  traceClass* target = average_entry->own_trace();
  target->clear();
  target->set_label("");
  xyPair* points = new xyPair[room];
  int32_t stored = 0;
  for (int32_t k = 0; k < room; k++) {
    double t = lo + k * average_grid_step;
    double sum = 0.0;
    int32_t contributors = 0;
    for (const traceClass* trace : taken) {
      if (trace->x_factor == 0.0) continue;
      double x = t / trace->x_factor - trace->x_offset();
      if (x < trace->xmin() || x > trace->xmax()) continue;
      int32_t i = trace->nearest_index(x);
      if (i < 0) continue;
      sum += trace->y(i);
      ++contributors;
    }
    if (contributors == 0) continue;
    points[stored++] = xyPair{t, sum / contributors};
  }
  target->adopt_xy_pairs(points, stored);
  if (average_entry->active_trace() != target) average_entry->rebuild();
  averaged_count_ = static_cast<int32_t>(taken.size());
  level.leave();
  log_message("EXIT - graphClass::compute_average(#%8.8lx #%8.8lx)", log_address(average_),
              log_address(average_entry));
  return true;
}
