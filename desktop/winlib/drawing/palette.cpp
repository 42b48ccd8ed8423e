#include "desktop/winlib/drawing/palette.h"

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/messages/quiet_report.h"

HBRUSH brush_table[brush_count] = {};
HPEN pen_table[pen_count] = {};

void make_palette() {
  if (brush_table[0]) return;
  for (int i = 0; i < colour_count; ++i) {
    brush_table[i] = CreateSolidBrush(colour_table[i]);
    pen_table[i] = CreatePen(PS_SOLID, 1, colour_table[i]);
    pen_table[dashed_pen_offset + i] = CreatePen(PS_DASH, 1, colour_table[i]);
  }
}

HPEN table_pen(int index) {
  if (index < 0 || index >= pen_count || !pen_table[index]) {
    report_error("### PEN INDEX %d NOT IN THE PEN TABLE ###", index);
    return nullptr;
  }
  return pen_table[index];
}

HBRUSH table_brush(int index) {
  if (index < 0 || index >= brush_count || !brush_table[index]) {
    report_error("### BRUSH INDEX %d NOT IN THE BRUSH TABLE ###", index);
    return nullptr;
  }
  return brush_table[index];
}
