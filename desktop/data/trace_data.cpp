#include "desktop/data/trace_data.h"

#include <algorithm>
#include <new>
#include <vector>

#include "desktop/winlib/messages/messages.h"
#include "desktop/data/bulk_storage.h"

namespace {

// Set when this thread's kept arrays are gone (at its end, before the
// program's static objects, which may still free traces, are destroyed).
thread_local bool point_arrays_gone = false;

// The point arrays of recently freed traces with their lengths, most recent
// last. An array may hold more points than a trace uses: a filter that
// shortens a trace by a few points takes one of the full length.
class pointArrays {
 public:
  ~pointArrays() {
    point_arrays_gone = true;
    for (const kept& k : kept_) free_point_array(k.pairs);
  }
  // An array of at least n points, its length in capacity: one of exactly n
  // when one is kept, else with slack the shortest kept one up to 1/16
  // longer, else a new one.
  xyPair* take(int32_t n, bool slack, int32_t& capacity) {
    size_t best = kept_.size();
    for (size_t i = kept_.size(); i-- > 0;) {
      const int32_t c = kept_[i].capacity;
      if (c == n) {
        best = i;
        break;
      }
      if (slack && c > n && c - n <= n / 16 && (best == kept_.size() || c < kept_[best].capacity)) best = i;
    }
    if (best == kept_.size()) {
      capacity = n;
      return allocate_point_array(n);
    }
    xyPair* pairs = kept_[best].pairs;
    capacity = kept_[best].capacity;
    kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(best));
    return pairs;
  }
  void give(xyPair* pairs, int32_t capacity) {
    if (kept_.size() == room) {
      free_point_array(kept_.front().pairs);
      kept_.erase(kept_.begin());
    }
    kept_.push_back(kept{pairs, capacity});
  }

 private:
  struct kept {
    xyPair* pairs;
    int32_t capacity;
  };
  // A filter chain frees up to four arrays of one or two lengths per trace.
  static constexpr size_t room = 4;
  std::vector<kept> kept_;
};

thread_local pointArrays freed_points;

void give_points(xyPair* pairs, int32_t capacity) {
  if (point_arrays_gone) {
    free_point_array(pairs);
  } else {
    freed_points.give(pairs, capacity);
  }
}

// An array for at least n points that a trace takes at once, with its
// length.
xyPair* pooled_points(int32_t n, int32_t& capacity) {
  if (point_arrays_gone) {
    capacity = n;
    return allocate_point_array(n);
  }
  return freed_points.take(n, true, capacity);
}

// The extent of n points, folded into the running values with the strict
// comparisons of compute_extent.
void fold_extent(const xyPair* points, int32_t n, double& xmin, double& xmax, double& ymin, double& ymax) {
  for (int32_t i = 0; i < n; i++) {
    const xyPair& p = points[i];
    if (p.x < xmin) xmin = p.x;
    if (p.x > xmax) xmax = p.x;
    if (p.y < ymin) ymin = p.y;
    if (p.y > ymax) ymax = p.y;
  }
}

}  // namespace

struct traceDataClass::lazyPoints {
  std::shared_ptr<const pointsSource> source;
  std::shared_ptr<xyPair[]> made;  // set by the first trace that reads them
};

xyPair* new_points(int32_t n) {
  int32_t capacity = n;
  return point_arrays_gone ? allocate_point_array(n) : freed_points.take(n, false, capacity);
}

axisClass::axisClass() : name_("unknown"), unit_("unknown") {}

traceDataClass::traceDataClass() : name_(""), legend_("") {}

traceDataClass::~traceDataClass() = default;

void traceDataClass::take_points(xyPair* pairs, int32_t n) { take_points(pairs, n, n); }

void traceDataClass::take_points(xyPair* pairs, int32_t n, int32_t capacity) {
  lazy_.reset();
  extent_known_ = true;
  if (pairs && pairs == points_ && n > 0) {
    count_ = n;
    return;
  }
  if (n > 0) {
    store_.reset(pairs, [capacity](xyPair* freed) { give_points(freed, capacity); });
  } else {
    if (pairs != points_) free_point_array(pairs);
    store_.reset();
  }
  points_ = store_.get();
  count_ = n > 0 ? n : 0;
}

void traceDataClass::own_points() {
  int32_t capacity = 0;
  xyPair* pairs = pooled_points(count_, capacity);
  std::copy(points_, points_ + count_, pairs);
  store_.reset(pairs, [capacity](xyPair* freed) { give_points(freed, capacity); });
  points_ = pairs;
}

bool traceDataClass::set_xy_arrays(const double* x, const double* y, int32_t n) {
  if (n > 0 && (!x || !y)) {
    errormessage("*** traceDataClass::set_xy_arrays - NO DATA FOR %d POINTS ***", static_cast<int>(n));
    return false;
  }
  xyPair* pairs = n > 0 ? new_points(n) : nullptr;
  for (int32_t i = 0; i < n; i++) pairs[i] = xyPair{x[i], y[i]};
  take_points(pairs, n);
  compute_extent();
  return true;
}

bool traceDataClass::set_y_values(const double* y, int32_t n) {
  if (n > 0 && !y) {
    errormessage("*** traceDataClass::set_y_values - NO DATA FOR %d POINTS ***", static_cast<int>(n));
    return false;
  }
  int32_t capacity = 0;
  xyPair* pairs = n > 0 ? pooled_points(n, capacity) : nullptr;
  for (int32_t i = 0; i < n; i++) pairs[i] = xyPair{static_cast<double>(i), y[i]};
  take_points(pairs, n, capacity);
  compute_extent();
  return true;
}

bool traceDataClass::set_xy_pairs(const xyPair* source, int32_t n) {
  if (n > 0 && !source) {
    errormessage("*** traceDataClass::set_xy_pairs - NO DATA FOR %d POINTS ***", static_cast<int>(n));
    return false;
  }
  xyPair* pairs = n > 0 ? new_points(n) : nullptr;
  if (n > 0) std::copy(source, source + n, pairs);
  take_points(pairs, n);
  compute_extent();
  return true;
}

bool traceDataClass::adopt_xy_pairs(xyPair* pairs, int32_t n) {
  if (n > 0 && !pairs) {
    errormessage("*** traceDataClass::adopt_xy_pairs - NO DATA FOR %d POINTS ***", static_cast<int>(n));
    return false;
  }
  take_points(pairs, n);
  compute_extent();
  return true;
}

bool traceDataClass::set_source(std::shared_ptr<const pointsSource> source, int32_t n) {
  take_points(nullptr, 0);
  if (!source || n <= 0) {
    compute_extent();
    return true;
  }
  lazy_ = std::make_shared<lazyPoints>();
  lazy_->source = std::move(source);
  count_ = n;
  extent_known_ = false;
  return true;
}

void traceDataClass::make_points() const {
  if (!lazy_->made) {
    int32_t capacity = 0;
    xyPair* pairs = pooled_points(count_, capacity);
    lazy_->source->fill(0, count_, pairs);
    std::shared_ptr<xyPair[]> made(pairs, [capacity](xyPair* freed) { give_points(freed, capacity); });
    // Copies that share the source take these when they first read theirs.
    if (lazy_.use_count() > 1) lazy_->made = made;
    store_ = std::move(made);
  } else {
    store_ = lazy_->made;
  }
  points_ = store_.get();
  lazy_.reset();
  if (!extent_known_) find_extent();
}

const xyPair* traceDataClass::read_points(std::vector<xyPair>& scratch) const {
  if (!lazy_) return points_;
  if (lazy_->made) return lazy_->made.get();
  scratch.resize(static_cast<size_t>(count_));
  lazy_->source->fill(0, count_, scratch.data());
  return scratch.data();
}

void traceDataClass::find_extent() const {
  xmin_ = ymin_ = extent_low_start;
  xmax_ = ymax_ = extent_high_start;
  if (!lazy_ || lazy_->made) {
    fold_extent(lazy_ ? lazy_->made.get() : points_, count_, xmin_, xmax_, ymin_, ymax_);
  } else {
    // A piece at a time, keeping none.
    constexpr int32_t piece = 512;
    xyPair points[piece];
    for (int32_t from = 0; from < count_; from += piece) {
      const int32_t n = std::min(piece, count_ - from);
      lazy_->source->fill(from, n, points);
      fold_extent(points, n, xmin_, xmax_, ymin_, ymax_);
    }
  }
  extent_known_ = true;
}

bool traceDataClass::copy_data(const traceDataClass& other) {
  if (&other == this) return true;
  // The points are shared until either trace changes them, and a source
  // until either makes them.
  lazy_ = other.count_ > 0 ? other.lazy_ : nullptr;
  store_ = other.count_ > 0 ? other.store_ : nullptr;
  points_ = store_.get();
  count_ = points_ || lazy_ ? other.count_ : 0;
  extent_known_ = other.extent_known_;
  xmin_ = other.xmin_;
  xmax_ = other.xmax_;
  ymin_ = other.ymin_;
  ymax_ = other.ymax_;
  name_.assign(other.name_);
  return true;
}

bool traceDataClass::append_point(double x, double y) {
  if (lazy_) make_points();
  xyPair* pairs = new_points(count_ + 1);
  if (count_ > 0) std::copy(points_, points_ + count_, pairs);
  pairs[count_] = xyPair{x, y};
  take_points(pairs, count_ + 1);
  compute_extent();
  return true;
}

void traceDataClass::compute_extent() {
  if (lazy_) {
    extent_known_ = false;
    return;
  }
  find_extent();
}

bool traceDataClass::change_y_only(const double* y, int32_t n) {
  if (n != count_) {
    errormessage("traceDataClass::change_y_only *** DATA COUNT NOT THE SAME (is %d, not %d) ***", static_cast<int>(n),
                 static_cast<int>(count_));
    return false;
  }
  if (n > 0 && !y) {
    errormessage("*** traceDataClass::change_y_only - NO DATA FOR %d POINTS ***", static_cast<int>(n));
    return false;
  }
  xyPair* own = points();
  for (int32_t i = 0; i < n; i++) own[i].y = y[i];
  return true;
}

void traceDataClass::set_linear_axis(int axis, double start, double step) {
  if (count_ < 1) return;
  xyPair* own = points();
  for (int32_t i = 0; i < count_; i++) {
    double v = start + i * step;
    if (axis == 1) {
      own[i].y = v;
    } else {
      own[i].x = v;
    }
  }
  double last = start + (count_ - 1) * step;
  double low = std::min(start, last);
  double high = std::max(start, last);
  if (axis == 1) {
    ymin_ = low;
    ymax_ = high;
  } else {
    xmin_ = low;
    xmax_ = high;
  }
}

void traceDataClass::sortup() { infomessage("traceDataClass::sortup:  ROUTINE NOT IMPLEMENTED YET"); }

void traceDataClass::clear() { take_points(nullptr, 0); }

bool traceDataClass::index_ok(int32_t i, const char* caller) const {
  if (i >= 0 && i < count_) return true;
  errormessage("### traceDataClass::%s - INDEX %d OUTSIDE %d POINTS ###", caller, static_cast<int>(i),
               static_cast<int>(count_));
  return false;
}

double traceDataClass::x_at(int32_t i) const { return index_ok(i, "x_at") ? points()[i].x : 0.0; }

double traceDataClass::y_at(int32_t i) const { return index_ok(i, "y_at") ? points()[i].y : 0.0; }

xyPair* traceDataClass::get_point(xyPair* pair, int32_t i) const {
  if (pair && index_ok(i, "get_point")) *pair = points()[i];
  return pair;
}

double traceDataClass::last_stored_x() const {
  if (count_ < 1) return 0.0;
  if (!lazy_ || lazy_->made) return (lazy_ ? lazy_->made.get() : points_)[count_ - 1].x;
  xyPair last{};
  lazy_->source->fill(count_ - 1, 1, &last);
  return last.x;
}

int32_t traceDataClass::nearest_index(double t) const { return nearest_point_index(points(), count_, t); }

// A binary search for the first point at or after t; on ascending x it
// gives what a walk from the first point would.
int32_t nearest_point_index(const xyPair* points, int32_t n, double t) {
  if (n <= 0) return -1;
  int32_t low = 0;
  int32_t high = n;
  while (low < high) {
    int32_t mid = low + (high - low) / 2;
    if (points[mid].x < t) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (low == n) return n - 1;  // every point lies below t
  if (points[low].x == t) return low;
  if (low == 0) return -1;  // t lies before the first point (or is NaN)
  double d_low = t - points[low - 1].x;
  double d_high = points[low].x - t;
  return d_high <= d_low ? low : low - 1;
}

void traceDataClass::set_name(const char* text) {
  name_.set(text);
  legend_.set(text);
}
