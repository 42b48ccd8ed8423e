#include "desktop/winlib/geometry/paper.h"

#include <cmath>
#include <limits>

#include "desktop/winlib/messages/quiet_report.h"

paper screen_paper;
paper printer_paper;

int truncate_to_int(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

paper::paper() : x_origin(-1), y_origin(-1) { set_origin(0, 0); }

bool paper::rescale(double width_px_value, double height_px_value, double width_mm_value,
                    double height_mm_value) {
  if (width_mm_value == 0.0 || height_mm_value == 0.0) {
    report_error("*** paper::rescale MM SIZE INVALID : (%lg, %lg) ZERO NOT ALLOWED ***", width_mm_value,
                 height_mm_value);
    return false;
  }
  width_px = width_px_value;
  height_px = height_px_value;
  width_mm = width_mm_value;
  height_mm = height_mm_value;
  x_px_per_mm = width_px / width_mm;
  y_px_per_mm = height_px / height_mm;
  return true;
}

void paper::set_origin(int32_t x, int32_t y) {
  x_origin = x;
  y_origin = y;
}

bool paper::set_from_pixels(double width_px_value, double height_px_value, const paper& screen) {
  if (screen.x_px_per_mm == 0.0 || screen.y_px_per_mm == 0.0) {
    report_error("*** paper::set_from_window SCREEN SCALE NOT SET ***");
    return false;
  }
  width_px = width_px_value;
  height_px = height_px_value;
  x_px_per_mm = screen.x_px_per_mm;
  y_px_per_mm = screen.y_px_per_mm;
  width_mm = width_px / x_px_per_mm;
  height_mm = height_px / y_px_per_mm;
  set_origin(0, 0);
  return true;
}

bool paper::set_for_printer(double width_mm_value, double height_mm_value, const paper& printer) {
  if (printer.x_px_per_mm == 0.0 || printer.y_px_per_mm == 0.0) {
    report_error("*** paper::printer_for_window PRINTER SCALE NOT SET ***");
    return false;
  }
  width_mm = width_mm_value;
  height_mm = height_mm_value;
  x_px_per_mm = printer.x_px_per_mm;
  y_px_per_mm = printer.y_px_per_mm;
  width_px = width_mm * x_px_per_mm;
  height_px = height_mm * y_px_per_mm;
  set_origin(0, 0);
  return true;
}

void paper::copy_from(const paper& other) { *this = other; }

void paper::copy_to(paper& other) const { other = *this; }

int paper::scale_x(double mm) const { return truncate_to_int(mm * x_px_per_mm); }

int paper::scale_y(double mm) const { return truncate_to_int(mm * y_px_per_mm); }

// The origin is added in double, so a length held at the integer range's end
// stays there instead of wrapping round.
int paper::px_x(double mm) const { return truncate_to_int(static_cast<double>(scale_x(mm)) + x_origin); }

int paper::px_y(double mm) const { return truncate_to_int(static_cast<double>(scale_y(mm)) + y_origin); }

double paper::mm_x(double pixel) const { return x_px_per_mm != 0.0 ? (pixel - x_origin) / x_px_per_mm : 0.0; }

double paper::mm_y(double pixel) const { return y_px_per_mm != 0.0 ? (pixel - y_origin) / y_px_per_mm : 0.0; }
