// A memory page that stands in for the printer while it lives: the print
// dialog answers with a device context on it and every document call is
// accepted (and counted), so a window's Print command draws its page there.
// One made while another lives stands in front of it until it goes.
#ifndef DESKTOP_WINLIB_TESTS_MEMORY_PRINTER_H
#define DESKTOP_WINLIB_TESTS_MEMORY_PRINTER_H

#include <windows.h>

#include "desktop/winlib/tests/memory_bitmap.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"

class memoryPrinter {
 public:
  // A white page of these pixels that says it is this many millimetres.
  memoryPrinter(int width_px, int height_px, int width_mm, int height_mm);
  ~memoryPrinter();
  memoryPrinter(const memoryPrinter&) = delete;
  memoryPrinter& operator=(const memoryPrinter&) = delete;

  COLORREF at(int x, int y) const { return page_.at(x, y); }
  // The pixels of a colour inside a rectangle.
  int count(COLORREF colour, const RECT& area) const { return page_.count(colour, area); }
  RECT whole() const { return page_.whole(); }

  // The document calls the printing made.
  int documents = 0;
  int pages_started = 0;
  int pages_ended = 0;

  static int caps(HDC dc, int index);
  static BOOL dialog(PRINTDLGA* record);

 private:
  static int start_doc(HDC, const DOCINFOA*);
  static int start_page(HDC);
  static int end_page(HDC);

  memoryBitmap page_;
  int width_mm_;
  int height_mm_;
  print_dialog_calls previous_{};
  memoryPrinter* outer_ = nullptr;  // the one this stands in front of
};

#endif
