// traceClass: a trace with display attributes and a label. Graphs, filters
// and windows read and write the attributes directly, except the offsets,
// which go through their accessors.
#ifndef DESKTOP_DATA_TRACE_H
#define DESKTOP_DATA_TRACE_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/data/trace_data.h"

// Symbols drawn on a trace.
enum traceSymbol : int32_t {
  symbol_none = 0,
  symbol_plus = 1,
  symbol_diamond = 2,
  symbol_square = 3,
  symbol_circle = 4,
};

class traceClass : public traceDataClass {
 public:
  // The defaults; with a source, then load (source).
  explicit traceClass(const traceClass* source = nullptr);
  ~traceClass() override;

  // A constant three-letter tag per class (nothing compares them).
  virtual const char* type_tag() const;

  // copy_attributes (source), then copy_data (source). A null source is
  // reported and changes nothing.
  bool load(const traceClass* source);
  // Colour, points only, line width, dash, symbol and its size, separation
  // and colour, label, name, legend text and the two units. Offsets,
  // factors, the shown and use-for-scaling flags and axis names stay.
  void copy_attributes(const traceClass& source);

  // Displayed coordinates: (x + x offset) * x factor, likewise for y.
  double x(int32_t i) const;
  double y(int32_t i) const;
  // x of the last point (0.0 for an empty trace), without making points not
  // made yet.
  double last_x() const;
  // A new[] array of the count displayed pairs (null when empty); the caller
  // frees it with delete[].
  xyPair* displayed_points() const;

  // The colour index, then the matching data setter.
  bool set_points(int32_t colour, const xyPair* pairs, int32_t n);
  bool set_data(int32_t colour, const double* xs, const double* ys, int32_t n);
  bool set_y_values(int32_t colour, const double* ys, int32_t n);
  using traceDataClass::set_y_values;
  // set_points with the trace's own colour.
  bool replace_points(const xyPair* pairs, int32_t n);

  const char* label() const { return label_.text(); }
  void set_label(const char* text) { label_.set(text); }
  double x_offset() const { return x_offset_; }
  void set_x_offset(double value) { x_offset_ = value; }
  double y_offset() const { return y_offset_; }
  void set_y_offset(double value) { y_offset_ = value; }

  double x_factor = 1.0;
  double y_factor = 1.0;
  int32_t points_only = 0;  // non-zero: single pixels, no line
  int32_t line_width = 1;   // in steps of 0.5 mm
  int32_t dash_period = 0;  // 0 solid, else segments per dash and per gap
  int32_t color = 1;        // index into the program's colour and pen tables
  int32_t symbol = symbol_none;
  double symbol_size = 3.0;         // page units (mm)
  double symbol_separation = 10.0;  // x distance between symbols
  int32_t symbol_color = 0;
  uint8_t shown = 1;
  uint8_t use_for_scaling = 1;

 private:
  double x_offset_ = 0.0;
  double y_offset_ = 0.0;
  byteObjectClass label_;
};

#endif
