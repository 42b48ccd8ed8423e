#include "handheld/ui/colour_brushes.h"

namespace {

const COLORREF kBrushColours[COLOUR_BRUSH_COUNT] = {
    0x0000FF, 0x00FFFF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x000000, 0x808080, 0xFFFFFF,
};

}  // namespace

HBRUSH brushes[COLOUR_BRUSH_COUNT];

void create_colour_brushes() {
  for (int i = 0; i < COLOUR_BRUSH_COUNT; ++i) {
    if (brushes[i] == nullptr) brushes[i] = CreateSolidBrush(kBrushColours[i]);
  }
}

void delete_colour_brushes() {
  for (HBRUSH& brush : brushes) {
    if (brush != nullptr) DeleteObject(brush);
    brush = nullptr;
  }
}

HBRUSH message_brush(int kind) {
  if (kind >= 0 && kind < COLOUR_BRUSH_COUNT && brushes[kind] != nullptr) return brushes[kind];
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}
