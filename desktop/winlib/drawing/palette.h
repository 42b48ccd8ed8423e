// The brushes and pens of the colour table (colours.h), made once at
// start-up (register_window_classes) and never deleted by their users.
#ifndef DESKTOP_WINLIB_DRAWING_PALETTE_H
#define DESKTOP_WINLIB_DRAWING_PALETTE_H

#include <windows.h>

constexpr int brush_count = 10;
constexpr int pen_count = 21;
// The dashed pen of colour c is pen_table[dashed_pen_offset + c].
constexpr int dashed_pen_offset = 11;

// One solid brush per colour index.
extern HBRUSH brush_table[brush_count];
// 0 to 9: solid pens of width 1 in colour i; 10: none; 11 to 20: dashed pens
// (PS_DASH) of width 1 in colour i - 11.
extern HPEN pen_table[pen_count];

// Makes the tables (once; a second call keeps the first tables).
void make_palette();

// A table entry; an index outside the table, or pen 10, is reported
// ("### PEN INDEX %d NOT IN THE PEN TABLE ###", "### BRUSH INDEX %d NOT IN
// THE BRUSH TABLE ###") and gives null.
HPEN table_pen(int index);
HBRUSH table_brush(int index);

#endif
