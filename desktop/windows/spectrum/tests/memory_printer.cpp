#include "memory_printer.h"

#include <cstring>

namespace {

memoryPrinter* current = nullptr;
HBITMAP current_bitmap = nullptr;

int accept_call(HDC) { return 1; }
int accept_doc(HDC, const DOCINFOA*) { return 1; }

}  // namespace

memoryPrinter::memoryPrinter(int width_px, int height_px, int width_mm, int height_mm)
    : width_px_(width_px), height_px_(height_px), width_mm_(width_mm), height_mm_(height_mm) {
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
  if (bits_) std::memset(bits_, 0xFF, static_cast<size_t>(width_px) * height_px * 4);
  current = this;
  current_bitmap = bitmap_;
  previous_ = print_dialog_ui_install(
      print_dialog_calls{dialog, nullptr, accept_doc, accept_call, accept_call, accept_call, accept_call, caps});
}

memoryPrinter::~memoryPrinter() {
  print_dialog_ui_install(previous_);
  current = nullptr;
  if (bitmap_) DeleteObject(bitmap_);
}

COLORREF memoryPrinter::at(int x, int y) const {
  GdiFlush();
  if (!bits_ || x < 0 || y < 0 || x >= width_px_ || y >= height_px_) return CLR_INVALID;
  uint32_t p = bits_[y * width_px_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int memoryPrinter::count(COLORREF colour, const RECT& area) const {
  int n = 0;
  for (int y = area.top; y < area.bottom; y++)
    for (int x = area.left; x < area.right; x++)
      if (at(x, y) == colour) n++;
  return n;
}

int memoryPrinter::caps(HDC, int index) {
  if (!current) return 0;
  switch (index) {
    case HORZRES: return current->width_px_;
    case VERTRES: return current->height_px_;
    case HORZSIZE: return current->width_mm_;
    case VERTSIZE: return current->height_mm_;
    default: return 0;
  }
}

BOOL memoryPrinter::dialog(PRINTDLGA* record) {
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, current_bitmap);
  record->hDC = dc;
  return TRUE;
}
