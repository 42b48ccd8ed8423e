// traceDataClass: a named series of (x, y) points with its extent and the
// names and units of its two axes. The model itself is unit-free; the
// program keeps time in milliseconds on x and microvolts on y.
//
// After every operation that replaces points the extent describes exactly
// the stored points; an empty trace has the start values of the search
// (xmin = ymin = 1e31, xmax = ymax = -1e31). The points belong to the trace:
// a copy shares them until either is changed, and the first change (the
// writable points(), a setter) gives the changing trace its own.
//
// A trace may be given a source of its points instead (set_source): they
// are made when first read, once for the trace and the copies that share
// the source, so that a trace nothing reads costs only its source. Its
// extent is computed when first asked, from the source when the points are
// not made yet (without keeping them).
#ifndef DESKTOP_DATA_TRACE_DATA_H
#define DESKTOP_DATA_TRACE_DATA_H

#include <cstdint>
#include <memory>
#include <vector>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/containers/list_payload.h"

// One stored point. Arrays of points are contiguous (x, y) double pairs.
struct xyPair {
  double x;
  double y;
};

// Start values of the extent search, and so the extent of an empty trace.
constexpr double extent_low_start = 1e31;
constexpr double extent_high_start = -1e31;

// The name and unit of one axis, both "unknown" until set.
class axisClass {
 public:
  axisClass();

  void set_name(const char* text) { name_.set(text); }
  void set_unit(const char* text) { unit_.set(text); }
  const char* name() const { return name_.text(); }
  const char* unit() const { return unit_.text(); }

 private:
  byteObjectClass name_;
  byteObjectClass unit_;
};

// An array of n points (n > 0), the caller's to free with free_point_array
// (bulk_storage.h) or to hand to a trace. It is taken, when one of that length is kept, from the
// arrays of this thread's recently freed traces: filters replace a trace's
// points by new ones of the same length again and again, and a fresh large
// array costs the first touch of every page of it each time.
xyPair* new_points(int32_t n);

// What makes a trace's points: fill writes points [from, from + n) of the
// trace into out, the same values however the range is cut.
class pointsSource {
 public:
  virtual ~pointsSource() = default;
  virtual void fill(int32_t from, int32_t n, xyPair* out) const = 0;
};

// The index of the point nearest t among n points in ascending x, as
// traceDataClass::nearest_index.
int32_t nearest_point_index(const xyPair* points, int32_t n, double t);

class traceDataClass : public listPayload {
 public:
  traceDataClass();
  ~traceDataClass() override;
  traceDataClass(const traceDataClass&) = delete;
  traceDataClass& operator=(const traceDataClass&) = delete;

  // Setters: each frees the points, takes n new ones and computes the
  // extent. n of 0 or less leaves the trace empty. A null array with n > 0
  // is refused with a message and changes nothing.
  bool set_xy_arrays(const double* x, const double* y, int32_t n);
  bool set_y_values(const double* y, int32_t n);  // x of point i is i
  bool set_xy_pairs(const xyPair* pairs, int32_t n);
  // Takes ownership of pairs (allocated with new[]) without copying.
  bool adopt_xy_pairs(xyPair* pairs, int32_t n);
  // n points that source makes when they are first read (n of 0 or less, or
  // no source, leaves the trace empty).
  bool set_source(std::shared_ptr<const pointsSource> source, int32_t n);
  // The other trace's extent, count, name and a copy of its points.
  bool copy_data(const traceDataClass& other);
  bool append_point(double x, double y);

  // Recomputes the extent over the points: a value replaces a minimum only
  // when strictly smaller, a maximum only when strictly larger. For points
  // not made yet it is computed when first asked.
  void compute_extent();

  // Replaces the y values in place when n equals the count (the extent is
  // left as it was); otherwise reports and changes nothing.
  bool change_y_only(const double* y, int32_t n);

  // axis 1 sets every y to start + i * step, any other axis every x; the
  // extent of that axis then spans the first and the last stored point.
  void set_linear_axis(int axis, double start, double step);

  // Not implemented: shows a notice and changes nothing.
  void sortup();

  // Frees the points; the extent is left as it was.
  void clear();

  int32_t get_count() const { return count_; }
  // Point i; an index outside the points is reported and gives 0.0 (or, for
  // get_point, leaves the pair untouched).
  double x_at(int32_t i) const;
  double y_at(int32_t i) const;
  xyPair* get_point(xyPair* pair, int32_t i) const;
  // The x of the last point (0.0 for an empty trace), without making
  // points not made yet.
  double last_stored_x() const;
  // The stored pairs, null when there are none (filters work on them). The
  // writable ones are the trace's own: shared points are copied first, so
  // read through a const trace where nothing is written.
  const xyPair* points() const {
    if (lazy_) make_points();
    return points_;
  }
  xyPair* points() {
    if (lazy_) make_points();
    if (shared()) own_points();
    return points_;
  }
  // Whether the points are still to be made from a source.
  bool points_pending() const { return lazy_ != nullptr; }
  // The points to read once: the trace's own when made, else made into
  // scratch (which keeps its room for the next reading) and not kept.
  const xyPair* read_points(std::vector<xyPair>& scratch) const;

  // The index of the point nearest t, a tie going to the later point; -1
  // for an empty trace or a t before the first point, the last index for a
  // t after the last point. The points are taken to be in ascending x.
  int32_t nearest_index(double t) const;

  double xmin() const { return extent().xmin_; }
  double xmax() const { return extent().xmax_; }
  double ymin() const { return extent().ymin_; }
  double ymax() const { return extent().ymax_; }

  // The name, also copied into the legend text.
  void set_name(const char* text);
  const char* name() const { return name_.text(); }
  void set_legend_text(const char* text) { legend_.set(text); }
  const char* legend_text() const { return legend_.text(); }
  void append_legend_text(const char* text) { legend_.append(text); }

  void set_x_units(const char* text) { x_axis.set_unit(text); }
  void set_y_units(const char* text) { y_axis.set_unit(text); }
  const char* x_units() const { return x_axis.unit(); }
  const char* y_units() const { return y_axis.unit(); }

  axisClass x_axis;
  axisClass y_axis;

 private:
  // Frees the points and takes pairs (owned) as the new ones.
  void take_points(xyPair* pairs, int32_t n);
  // The same for an array of capacity points (at least n), which is passed
  // on at that length when the trace frees it.
  void take_points(xyPair* pairs, int32_t n, int32_t capacity);
  // Whether another trace holds the same points; own_points copies them.
  bool shared() const { return store_.use_count() > 1; }
  void own_points();
  bool index_ok(int32_t i, const char* caller) const;
  // Makes the points from the source (or takes those a copy made).
  void make_points() const;
  // The trace with its extent computed.
  const traceDataClass& extent() const {
    if (!extent_known_) find_extent();
    return *this;
  }
  void find_extent() const;

  struct lazyPoints;  // a source with the points once made, shared by copies

  byteObjectClass name_;
  byteObjectClass legend_;
  mutable double xmin_ = extent_low_start;
  mutable double xmax_ = extent_high_start;
  mutable double ymin_ = extent_low_start;
  mutable double ymax_ = extent_high_start;
  mutable bool extent_known_ = true;
  int32_t count_ = 0;
  mutable std::shared_ptr<xyPair[]> store_;  // owns points_, shared by copies
  mutable xyPair* points_ = nullptr;
  mutable std::shared_ptr<lazyPoints> lazy_;  // until the points are made
};

#endif
