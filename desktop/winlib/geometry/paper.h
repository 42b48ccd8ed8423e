// The scale record of a drawing surface: its size in pixels and in
// millimetres and the pixels per millimetre each way. Every desktop size is
// in millimetres; a length becomes a pixel through a record:
//   pixel x = int(x mm * x_px_per_mm) + x_origin   (truncated toward zero)
//   x mm    = (pixel x - x_origin) / x_px_per_mm
// and likewise for y. One record describes the screen, one the printer.
#ifndef DESKTOP_WINLIB_GEOMETRY_PAPER_H
#define DESKTOP_WINLIB_GEOMETRY_PAPER_H

#include <cstdint>

#include "desktop/winlib/platform_types.h"

class paper {
 public:
  paper();

  // Stores the four sizes and the pixels per millimetre; the origin is kept.
  // A size of 0 mm is refused with "*** paper::rescale MM SIZE INVALID :
  // (%lg, %lg) ZERO NOT ALLOWED ***" and the record keeps its values.
  bool rescale(double width_px, double height_px, double width_mm, double height_mm);
  void set_origin(int32_t x, int32_t y);

  // A client area of this many pixels at the pixels per millimetre of
  // screen: its size in millimetres, origin (0, 0). Refused (record
  // unchanged) when screen has no scale.
  bool set_from_pixels(double width_px, double height_px, const paper& screen);
  // A surface of this many millimetres at the pixels per millimetre of
  // printer, origin (0, 0). Refused (record unchanged) when printer has no
  // scale.
  bool set_for_printer(double width_mm, double height_mm, const paper& printer);

  // Windows only: the whole device (HORZRES, VERTRES, HORZSIZE, VERTSIZE),
  // origin (0, 0). A device that reports 0 mm is refused as by rescale.
  bool set_from_device(HDC dc);
  // The same for the device context of a window (released again).
  bool set_from_window_device(HWND window);
  // The window's client area at the screen record's pixels per millimetre
  // (or those of the record given), origin (0, 0). Returns this record.
  paper& set_from_window(HWND window);
  paper& set_from_window(HWND window, const paper& screen);
  // For printing a window at its on-screen size: the client area's size in
  // millimetres (as set_from_window) at the printer record's pixels per
  // millimetre (or those of the record given). Returns this record.
  paper& printer_for_window(HWND window);
  paper& printer_for_window(HWND window, const paper& printer);

  void copy_from(const paper& other);
  void copy_to(paper& other) const;

  // Lengths in pixels without the origin, then points with it. Values beyond
  // the integer range are held at its ends; NaN gives 0.
  int scale_x(double mm) const;
  int scale_y(double mm) const;
  int px_x(double mm) const;
  int px_y(double mm) const;
  // Pixel points back to millimetres (0 without a scale).
  double mm_x(double pixel) const;
  double mm_y(double pixel) const;

  double height_px = 0.0;
  double height_mm = 0.0;
  double y_px_per_mm = 0.0;
  double width_px = 0.0;
  double width_mm = 0.0;
  double x_px_per_mm = 0.0;
  int32_t x_origin;
  int32_t y_origin;
};

// Truncates toward zero as int() does, holding values beyond the integer
// range at its ends and giving 0 for NaN.
int truncate_to_int(double value);

// The screen record (filled at start-up) and the printer record (filled when
// printing is set up).
extern paper screen_paper;
extern paper printer_paper;

#endif
