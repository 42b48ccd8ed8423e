#include "desktop/data/trace.h"

#include "desktop/winlib/messages/messages.h"

traceClass::traceClass(const traceClass* source) : label_("unknown") {
  set_name("");
  if (source) load(source);
}

traceClass::~traceClass() {
  clear();
  label_.set("");
}

const char* traceClass::type_tag() const {
  static const char tag[] = "TRC";
  return tag;
}

bool traceClass::load(const traceClass* source) {
  if (!source) {
    errormessage("*** traceClass::load (traceClass* is NULL) ***");
    return false;
  }
  copy_attributes(*source);
  return copy_data(*source);
}

void traceClass::copy_attributes(const traceClass& source) {
  if (&source == this) return;
  color = source.color;
  points_only = source.points_only;
  line_width = source.line_width;
  dash_period = source.dash_period;
  symbol = source.symbol;
  symbol_size = source.symbol_size;
  symbol_separation = source.symbol_separation;
  symbol_color = source.symbol_color;
  label_.assign(source.label_);
  set_name(source.name());
  set_legend_text(source.legend_text());
  set_x_units(source.x_units());
  set_y_units(source.y_units());
}

double traceClass::x(int32_t i) const { return (x_at(i) + x_offset_) * x_factor; }

double traceClass::last_x() const { return get_count() > 0 ? (last_stored_x() + x_offset_) * x_factor : 0.0; }

double traceClass::y(int32_t i) const { return (y_at(i) + y_offset_) * y_factor; }

xyPair* traceClass::displayed_points() const {
  int32_t n = get_count();
  if (n < 1) return nullptr;
  xyPair* pairs = new xyPair[n];
  const xyPair* stored = points();
  for (int32_t i = 0; i < n; i++) {
    pairs[i] = xyPair{(stored[i].x + x_offset_) * x_factor, (stored[i].y + y_offset_) * y_factor};
  }
  return pairs;
}

bool traceClass::set_points(int32_t colour, const xyPair* pairs, int32_t n) {
  color = colour;
  return set_xy_pairs(pairs, n);
}

bool traceClass::set_data(int32_t colour, const double* xs, const double* ys, int32_t n) {
  color = colour;
  return set_xy_arrays(xs, ys, n);
}

bool traceClass::set_y_values(int32_t colour, const double* ys, int32_t n) {
  color = colour;
  return traceDataClass::set_y_values(ys, n);
}

bool traceClass::replace_points(const xyPair* pairs, int32_t n) { return set_points(color, pairs, n); }
