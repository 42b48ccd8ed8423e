#include "desktop/winlib/tests/memory_bitmap.h"

#include <cstring>

memoryBitmap::memoryBitmap(int width_px, int height_px) : width_px_(width_px), height_px_(height_px) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_px;
  info.bmiHeader.biHeight = -height_px;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  bits_ = static_cast<uint32_t*>(memory);
  clear();
}

memoryBitmap::~memoryBitmap() {
  if (bitmap_) DeleteObject(bitmap_);
}

void memoryBitmap::clear() {
  GdiFlush();
  if (bits_) std::memset(bits_, 0xFF, static_cast<size_t>(width_px_) * height_px_ * 4);
}

COLORREF memoryBitmap::at(int x, int y) const {
  GdiFlush();
  if (!bits_ || x < 0 || y < 0 || x >= width_px_ || y >= height_px_) return CLR_INVALID;
  uint32_t p = bits_[static_cast<size_t>(y) * width_px_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int memoryBitmap::count(COLORREF colour, const RECT& area) const {
  int n = 0;
  for (int y = area.top; y < area.bottom; y++)
    for (int x = area.left; x < area.right; x++)
      if (at(x, y) == colour) n++;
  return n;
}
