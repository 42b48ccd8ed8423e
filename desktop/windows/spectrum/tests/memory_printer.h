// A memory page that stands in for the printer while it lives: the print
// dialog answers with a device context on it and every document call is
// accepted, so a window's Print command draws its page there.
#ifndef MEMORY_PRINTER_H
#define MEMORY_PRINTER_H

#include <windows.h>

#include <cstdint>

#include "print_dialog_ui.h"

class memoryPrinter {
 public:
  // A white page of these pixels that says it is this many millimetres.
  memoryPrinter(int width_px, int height_px, int width_mm, int height_mm);
  ~memoryPrinter();
  memoryPrinter(const memoryPrinter&) = delete;
  memoryPrinter& operator=(const memoryPrinter&) = delete;

  COLORREF at(int x, int y) const;
  // The pixels of a colour inside a rectangle.
  int count(COLORREF colour, const RECT& area) const;
  RECT whole() const { return {0, 0, width_px_, height_px_}; }

  static int caps(HDC dc, int index);
  static BOOL dialog(PRINTDLGA* record);

 private:
  int width_px_;
  int height_px_;
  int width_mm_;
  int height_mm_;
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  print_dialog_calls previous_{};
};

#endif
