// A white 32-bit bitmap in memory (top row first) whose pixels a test reads
// back: a window's drawing or a printed page lands on it.
#ifndef DESKTOP_WINLIB_TESTS_MEMORY_BITMAP_H
#define DESKTOP_WINLIB_TESTS_MEMORY_BITMAP_H

#include <windows.h>

#include <cstdint>

class memoryBitmap {
 public:
  memoryBitmap(int width_px, int height_px);
  ~memoryBitmap();
  memoryBitmap(const memoryBitmap&) = delete;
  memoryBitmap& operator=(const memoryBitmap&) = delete;

  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_px_; }
  int height() const { return height_px_; }
  // Paints every pixel white again.
  void clear();
  // The colour at (x, y), or CLR_INVALID outside the bitmap.
  COLORREF at(int x, int y) const;
  // The pixels of a colour inside a rectangle.
  int count(COLORREF colour, const RECT& area) const;
  RECT whole() const { return {0, 0, width_px_, height_px_}; }

 private:
  int width_px_;
  int height_px_;
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
};

#endif
